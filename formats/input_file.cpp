#include "formats/input_file.h"

#include <cerrno>
#include <system_error>

namespace prochnar {

std::optional<FileFaultAt> openInput(const std::filesystem::path& path, std::ifstream& stream)
{
    namespace fs = std::filesystem;
    const auto refuse = [](FileFault fault, std::string reason) {
        FileFaultAt at = fileFaultAt(fault, 0);
        at.reason = std::move(reason);
        return at;
    };
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return refuse(FileFault::NoSuchFile, error.message());
    }
    if (error) {
        return refuse(FileFault::Unreadable, error.message());
    }
    switch (status.type()) {
    case fs::file_type::regular:
        break;
    case fs::file_type::directory:
        return refuse(FileFault::NotAFile, "a folder");
    case fs::file_type::fifo:
        return refuse(FileFault::NotAFile, "a pipe (give it on standard input)");
    case fs::file_type::socket:
        return refuse(FileFault::NotAFile, "a socket");
    default:
        return refuse(FileFault::NotAFile, "a device");
    }
    stream.open(path, std::ios::binary);
    if (!stream) {
        return refuse(FileFault::Unreadable, std::generic_category().message(errno));
    }
    return std::nullopt;
}

} // namespace prochnar
