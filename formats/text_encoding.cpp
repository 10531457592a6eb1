#include "formats/text_encoding.h"

#include <array>
#include <cstring>

namespace prochnar {

namespace {

// The code points of bytes 0x80 to 0xFF in windows-1251 (0x98 has none).
constexpr std::array<std::uint16_t, 128> kWindows1251{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Every code point of windows-1251 lies below U+10000: one to three bytes.
void appendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

Utf8Sequence utf8Sequence(std::string_view bytes, std::size_t pos, std::size_t& length)
{
    const auto lead = static_cast<std::uint8_t>(bytes[pos]);
    // The second byte's range is narrower after four leads: E0 (no overlong
    // three-byte form), ED (no surrogate), F0 (no overlong four-byte form)
    // and F4 (nothing beyond U+10FFFF).
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead < 0x80) {
        length = 1;
        return Utf8Sequence::Valid;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return Utf8Sequence::Invalid;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (pos + i == bytes.size()) {
            return Utf8Sequence::Truncated;
        }
        const auto byte = static_cast<std::uint8_t>(bytes[pos + i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) {
            return Utf8Sequence::Invalid;
        }
    }
    return Utf8Sequence::Valid;
}

Utf8Prefix utf8Prefix(std::string_view bytes)
{
    std::size_t pos = 0;
    std::size_t length = 1;
    while (pos < bytes.size()) {
        std::uint64_t eight = 0;
        while (pos + sizeof eight <= bytes.size()) {
            std::memcpy(&eight, bytes.data() + pos, sizeof eight);
            if ((eight & 0x8080808080808080ULL) != 0) {
                break;
            }
            pos += sizeof eight;
        }
        if (pos == bytes.size()) {
            break;
        }
        // Cyrillic letters are two bytes each, C2 to DF, then 80 to BF, and
        // come in words: read on while they do.
        const auto twoBytes = [&bytes](std::size_t at) {
            const auto lead = static_cast<std::uint8_t>(bytes[at]);
            return lead >= 0xC2 && lead <= 0xDF && at + 1 < bytes.size() &&
                   (static_cast<std::uint8_t>(bytes[at + 1]) & 0xC0) == 0x80;
        };
        if (twoBytes(pos)) {
            do {
                pos += 2;
            } while (pos < bytes.size() && twoBytes(pos));
            continue;
        }
        const Utf8Sequence sequence = utf8Sequence(bytes, pos, length);
        if (sequence != Utf8Sequence::Valid) {
            return {.valid = pos, .invalid = sequence == Utf8Sequence::Invalid};
        }
        pos += length;
    }
    return {.valid = pos, .invalid = false};
}

bool isUtf8(std::string_view bytes) { return utf8Prefix(bytes).valid == bytes.size(); }

std::size_t utf8Characters(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<std::uint8_t>(c) & 0xC0U) != 0x80U ? 1 : 0;
    }
    return count;
}

std::uint32_t windows1251CodePoint(unsigned char byte) { return byte < 0x80 ? byte : kWindows1251.at(byte - 0x80U); }

void appendWindows1251AsUtf8(std::string& out, std::string_view bytes)
{
    out.reserve(out.size() + bytes.size() * 2);
    for (const char c : bytes) {
        appendUtf8(out, windows1251CodePoint(static_cast<unsigned char>(c)));
    }
}

std::string decodeText(std::string_view bytes)
{
    if (isUtf8(bytes)) {
        return std::string(bytes.starts_with(kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : bytes);
    }
    std::string text;
    appendWindows1251AsUtf8(text, bytes);
    return text;
}

} // namespace prochnar
