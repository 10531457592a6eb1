// The one decision of what is UTF-8: each edge of a well-formed sequence,
// the eight-byte ASCII skip at the borders of its words, and the fallback of
// a whole text to windows-1251.

#include "formats/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace prochnar {
namespace {

struct Case {
    std::string bytes;
    std::size_t valid; // how far the bytes are UTF-8
    bool invalid;      // what stops there is invalid, not merely cut off
    std::string text;  // decodeText, in UTF-8
};

TEST(TextEncoding, SequencesPrefixesAndDecodingAtTheirEdges)
{
    const std::string a7(7, 'a');
    const std::string a8(8, 'a');
    for (const auto& [bytes, valid, invalid, text] : std::initializer_list<Case>{
             {"", 0, false, ""},
             {"I\tJ\n0\t1,00 — φ\n", 18, false, "I\tJ\n0\t1,00 — φ\n"},
             {"\x7F\xC2\x80\xDF\xBF", 5, false, "\x7F\xC2\x80\xDF\xBF"}, // U+007F, U+0080, U+07FF
             {"\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80", 9, false,
              "\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"}, // U+0800, U+D7FF, U+E000
             {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", 8, false, "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"}, // U+10000, U+10FFFF
             {"\xEF\xBB\xBF\xD0\x9F", 5, false, "П"},                              // a byte-order mark is not text
             {"\xCF\xF0\xEE\xF7\xED\xE0\xF0", 0, true, "Прочнар"},                 // windows-1251
             {"\xA8\xB8 \xB9 \xAB\xBB \x96 \xB0\r\n", 0, true, "Ёё № «» – °\r\n"}, // two and three bytes in UTF-8
             {"\x80\x98\xFF", 0, true, "Ђ\xEF\xBF\xBDя"},         // the ends of the table, and 0x98 without a letter
             {"\xEF\xBB\xBF\xFF", 3, true, "п»їя"},               // a mark before a byte that is not UTF-8 is text
             {"I = 74,5\xFF", 8, true, "I = 74,5я"},              // one byte that UTF-8 does not allow
             {"\xDF", 0, false, "Я"},                             // a lead byte cut off at the end
             {"\xD0\xB0\xEB", 2, false, "Р°л"},                   // a valid pair, then a sequence cut off
             {"\xD0\xB0\xD0\xB1\xD0", 4, false, "Р°Р±Р"},         // a word's letters, then a lead byte cut off
             {"\xD0\xB0\xD0\xB1\xFF", 4, true, "Р°Р±я"},          // a word's letters, then a byte UTF-8 does not allow
             {"\xD0\xB0\xD0\xB1\xE2\x80\x94x", 8, false, "аб—x"}, // letters, then a dash of three bytes
             {"\xDF\x41", 0, true, "ЯA"},                         // a lead byte without its continuation
             {"\xC0\xAF", 0, true, "АЇ"},                         // an overlong "/"
             {"\xC1\xBF", 0, true, "Бї"},                         // an overlong U+007F
             {"\xE0\x9F\xBF", 0, true, "аџї"},                    // an overlong U+07FF
             {"\xE0\xA0", 0, false, "а\xC2\xA0"},                 // cut off after its second byte
             {"\xED\xA0\x80", 0, true, "н\xC2\xA0Ђ"},             // a surrogate
             {"\xE1\xC0\x80", 0, true, "бАЂ"},                    // a second byte above the continuations
             {"\xF0\x8F\xBF\xBF", 0, true, "рЏїї"},               // an overlong U+FFFF
             {"\xF0\x90\x80", 0, false, "рђЂ"},                   // four bytes cut off after three
             {"\xF0\x90\x80\x41", 0, true, "рђЂA"},               // a fourth byte that is not a continuation
             {"\xF4\x90\x80\x80", 0, true, "фђЂЂ"},               // beyond U+10FFFF
             {"\xF5\x80\x80\x80", 0, true, "хЂЂЂ"},               // a lead byte of no sequence
             {a7 + "\xFF", 7, true, a7 + "я"},                    // the skip stops short of a whole word
             {a8 + "\xFF", 8, true, a8 + "я"},                    // a whole word skipped, the next byte read
             {a8 + a8 + "\xD0", 16, false, a8 + a8 + "Р"},        // two words, then a sequence cut off
             {"abcdefg\xD0\x9F" + a8 + "\x80", 17, true, "abcdefgРџ" + a8 + "Ђ"}, // a letter across a word's end
         }) {
        const Utf8Prefix prefix = utf8Prefix(bytes);
        EXPECT_EQ(prefix.valid, valid) << bytes;
        EXPECT_EQ(prefix.invalid, invalid) << bytes;
        EXPECT_EQ(isUtf8(bytes), valid == bytes.size()) << bytes;
        EXPECT_EQ(decodeText(bytes), text) << bytes;
        if (valid < bytes.size()) { // windows-1251: a character a byte, whatever its length in UTF-8
            EXPECT_EQ(utf8Characters(text), bytes.size()) << bytes;
        }
    }
    // A chunk cut inside a letter: the letter's end beyond the cut is not read.
    const std::string letter = "ab\xD0\xB0";
    const Utf8Prefix cut = utf8Prefix(std::string_view(letter).substr(0, 3));
    EXPECT_EQ(cut.valid, 2U);
    EXPECT_FALSE(cut.invalid);
}

} // namespace
} // namespace prochnar
