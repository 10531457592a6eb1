#pragma once

#include "calc/messages.h"

#include <filesystem>
#include <fstream>
#include <optional>

namespace prochnar {

// Opens a file to be read, once it is known to be a regular file: opening a
// pipe waits for a writer, and a device or a folder is no file to read. The
// fault when it is not opened: FileFault::NoSuchFile, NotAFile (its reason
// says what it is instead) or Unreadable, with the system's reason.
[[nodiscard]] std::optional<FileFaultAt> openInput(const std::filesystem::path& path, std::ifstream& stream);

} // namespace prochnar
