#include "formats/safe_output.h"

#include "calc/messages.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace prochnar {

std::optional<OutputRefusal> refuseOutput(const std::filesystem::path& target,
                                          std::span<const std::filesystem::path> inputs)
{
    struct stat output {};
    if (::stat(target.c_str(), &output) != 0) {
        return std::nullopt; // a new file
    }
    for (const auto& input : inputs) {
        struct stat read {};
        if (::stat(input.c_str(), &read) == 0 && read.st_dev == output.st_dev && read.st_ino == output.st_ino) {
            return OutputRefusal::SameAsInput;
        }
    }
    if (!S_ISREG(output.st_mode)) {
        return OutputRefusal::NotRegular;
    }
    return std::nullopt;
}

SafeOutput::SafeOutput(std::filesystem::path target) : target_{std::move(target)}
{
    const std::filesystem::path folder = target_.has_parent_path() ? target_.parent_path() : ".";
    std::string name = (folder / ("." + target_.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) {
        throw OutputError(notWrittenText(errno));
    }
    ::close(descriptor);
    temporary_ = name;
    stream_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!stream_) {
        const int error = errno;
        std::filesystem::remove(temporary_);
        throw OutputError(notWrittenText(error));
    }
}

SafeOutput::~SafeOutput()
{
    if (!committed_) {
        stream_.close();
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

const std::filesystem::path& SafeOutput::byName()
{
    stream_.close();
    byName_ = true;
    return temporary_;
}

void SafeOutput::commit()
{
    if (!byName_) {
        stream_.flush();
        const bool written = static_cast<bool>(stream_);
        stream_.close();
        if (!written || stream_.fail()) {
            throw OutputError(notWrittenText(0));
        }
    }
    // A file replaced keeps its permissions; a new one gets those any new
    // file would (mkstemp made it readable by its owner alone). Whatever was
    // asked before, a device or a pipe is never replaced by a file.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(target_.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) {
            throw OutputError(notWrittenText(kNotRegularOutput));
        }
        mode = old.st_mode & 0777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::chmod(temporary_.c_str(), mode);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        throw OutputError(notWrittenText(errno));
    }
    committed_ = true;
}

} // namespace prochnar
