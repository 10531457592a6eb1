#pragma once

// Helpers of the document tests: where the documents are, reading files, the
// data files as tables of texts, and a strict UTF-8 check.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace prochnar::test_data {

// The documents as the build places them beside the program.
inline std::filesystem::path documentPath(std::string_view name)
{
    return std::filesystem::path(PROCHNAR_DOCUMENTS_DIR) / name;
}

// The data files the documents are made from.
inline std::filesystem::path sourcePath(std::string_view name)
{
    return std::filesystem::path(PROCHNAR_DATA_DIR) / "sources" / name;
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, std::string_view contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

inline std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.emplace_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

inline std::vector<std::string> lines(std::string_view text)
{
    std::vector<std::string> result = split(text, '\n');
    if (!result.empty() && result.back().empty()) {
        result.pop_back();
    }
    return result;
}

// The rows of a data file below its header, each as its field texts.
inline std::vector<std::vector<std::string>> csvRows(const std::filesystem::path& path)
{
    std::vector<std::vector<std::string>> rows;
    const std::vector<std::string> all = lines(readFile(path));
    for (std::size_t i = 1; i < all.size(); ++i) {
        rows.push_back(split(all[i], ','));
    }
    return rows;
}

inline std::string withComma(std::string text)
{
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

// The offset of the first byte that is not well-formed UTF-8 (overlong forms,
// surrogates and code points past U+10FFFF included), or npos.
inline std::size_t firstInvalidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1Fu;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0Fu;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07u;
            minimum = 0x10000;
        } else {
            return i;
        }
        if (i + length > text.size()) {
            return i;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return i;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

} // namespace prochnar::test_data
