#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace prochnar {

// The text encodings the program reads: UTF-8, with or without a byte-order
// mark, and windows-1251, the code page of Russian texts written on older
// systems. One place decides what is UTF-8, so that a form file, a table and
// a document are told apart by the same rules. Nothing here reads the
// process locale.

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class Utf8Sequence {
    Valid,     // a well-formed sequence
    Truncated, // a well-formed start that the end of the bytes cuts off
    Invalid,   // a byte no well-formed sequence has there
};

// Whether a well-formed UTF-8 sequence starts at bytes[pos] (pos below the
// size): no overlong forms, no surrogates, nothing beyond U+10FFFF. For a
// valid one, its length in bytes goes to length.
[[nodiscard]] Utf8Sequence utf8Sequence(std::string_view bytes, std::size_t pos, std::size_t& length);

// How far the bytes are UTF-8: the position of the first invalid sequence,
// else of a truncated one at the end, else the size; whether what stops
// there is invalid (not merely cut off). ASCII is skipped eight bytes at a
// time, as most of a table is ASCII.
struct Utf8Prefix {
    std::size_t valid = 0;
    bool invalid = false;
};
[[nodiscard]] Utf8Prefix utf8Prefix(std::string_view bytes);

// Whether the bytes are UTF-8 throughout, to their end.
[[nodiscard]] bool isUtf8(std::string_view bytes);

// The number of characters in UTF-8 text (what a column counts).
[[nodiscard]] std::size_t utf8Characters(std::string_view text);

// The code point of a byte in windows-1251 (U+FFFD for 0x98, which has none).
[[nodiscard]] std::uint32_t windows1251CodePoint(unsigned char byte);

// Appends windows-1251 bytes to out as UTF-8.
void appendWindows1251AsUtf8(std::string& out, std::string_view bytes);

// A whole text in UTF-8: as UTF-8 (a leading byte-order mark dropped) when
// the bytes are UTF-8 to their end, otherwise every byte as windows-1251.
[[nodiscard]] std::string decodeText(std::string_view bytes);

} // namespace prochnar
