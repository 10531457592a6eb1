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
        return refuse(FileFault::NoSuchFile, systemErrorText(ENOENT));
    }
    if (error) {
        return refuse(FileFault::Unreadable, systemErrorText(error.value()));
    }
    switch (status.type()) {
    case fs::file_type::regular:
        break;
    case fs::file_type::directory:
        return refuse(FileFault::NotAFile, notAFileText(NotAFile::Folder));
    case fs::file_type::fifo:
        return refuse(FileFault::NotAFile, notAFileText(NotAFile::Pipe));
    case fs::file_type::socket:
        return refuse(FileFault::NotAFile, notAFileText(NotAFile::Socket));
    default:
        return refuse(FileFault::NotAFile, notAFileText(NotAFile::Device));
    }
    stream.open(path, std::ios::binary);
    if (!stream) {
        return refuse(FileFault::Unreadable, systemErrorText(errno));
    }
    return std::nullopt;
}

} // namespace prochnar
