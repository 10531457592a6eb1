#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace prochnar {

// Why an output may not be written where it was asked for, checked before
// anything is opened for writing: the target is one of the inputs (the same
// file after links, "..", or a second name), or it exists and is not a
// regular file (a folder, a device, a pipe: standard output is the way to
// write to those). None when it may be written.
enum class OutputRefusal { SameAsInput, NotRegular };
[[nodiscard]] std::optional<OutputRefusal> refuseOutput(const std::filesystem::path& target,
                                                        std::span<const std::filesystem::path> inputs);

// An output that cannot be written, with the system's reason where it gave one.
class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file written whole or not at all: the bytes go to a new file in the
// target's folder, which commit() renames over the target once they are all
// written and on the disk. Until then the old target stays as it was; an
// output never committed is removed. A target replaced keeps its permission
// bits; a new one gets 0666 less the umask.
class SafeOutput {
public:
    // Throws OutputError when the new file cannot be made.
    explicit SafeOutput(std::filesystem::path target);
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;
    SafeOutput(SafeOutput&&) = delete;
    SafeOutput& operator=(SafeOutput&&) = delete;

    [[nodiscard]] std::ostream& stream() { return stream_; }
    // The new file's name, for a writer that opens and writes it by name
    // itself; stream() is then closed, and commit() trusts the writer to
    // have written it whole.
    [[nodiscard]] const std::filesystem::path& byName();
    // Puts the new file in place of the target; throws OutputError (and
    // leaves the target as it was) when the bytes could not all be written.
    void commit();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::ofstream stream_;
    bool committed_ = false;
    bool byName_ = false;
};

} // namespace prochnar
