// Windows-1252 <-> UTF-8 over the whole code page: every byte reaches UTF-8 and
// comes back unchanged, and every character the page holds comes back as itself.
#include "io/Cp1252.h"
#include <gtest/gtest.h>
#include <set>

using keldo::io::cp1252ParaUtf8;
using keldo::io::utf8ParaCp1252;

namespace {
// The UTF-8 encoding of one code point below U+10000.
std::string utf8De(uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}
} // namespace

TEST(Cp1252, TodoByteIdaEVolta) {
    std::set<std::string> vistos;
    std::string todos;
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = cp1252ParaUtf8(byte);
        EXPECT_EQ(utf8ParaCp1252(utf8), byte);
        EXPECT_TRUE(vistos.insert(utf8).second) << "two bytes share one character";
        todos += byte;
    }
    EXPECT_EQ(utf8ParaCp1252(cp1252ParaUtf8(todos)), todos);
}

TEST(Cp1252, CaracteresDaPaginaEmUtf8) {
    // Characters whose byte differs from their code point, and the ends of the Latin-1 half.
    const struct {
        uint32_t cp;
        unsigned char byte;
    } casos[] = {{0x20AC, 0x80}, {0x201A, 0x82}, {0x0178, 0x9F}, {0x017E, 0x9E}, {0x00A0, 0xA0},
                 {0x00E3, 0xE3}, {0x00E7, 0xE7}, {0x00FF, 0xFF}, {0x007F, 0x7F}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.cp);
        EXPECT_EQ(utf8ParaCp1252(utf8De(c.cp)), std::string(1, static_cast<char>(c.byte)));
        EXPECT_EQ(cp1252ParaUtf8(std::string(1, static_cast<char>(c.byte))), utf8De(c.cp));
    }
    EXPECT_EQ(cp1252ParaUtf8("Gera\xE7\xE3o \xFF"), "Geração ÿ");
    EXPECT_EQ(utf8ParaCp1252("Geração ÿ"), "Gera\xE7\xE3o \xFF");
}

TEST(Cp1252, ForaDaPaginaViraInterrogacao) {
    EXPECT_EQ(utf8ParaCp1252(utf8De(0x0080)), "?");     // a C1 control the page gives to the euro
    EXPECT_EQ(utf8ParaCp1252(utf8De(0x0100)), "?");     // Latin Extended-A
    EXPECT_EQ(utf8ParaCp1252(utf8De(0xFFFD)), "?");     // the replacement character
    EXPECT_EQ(utf8ParaCp1252("\xF0\x9F\x98\x80"), "?"); // four bytes, beyond the BMP
    EXPECT_EQ(utf8ParaCp1252("a\xC3"), "a?");           // cut short at the end
    EXPECT_EQ(utf8ParaCp1252("\xC3"
                             "b"),
              "?b");                        // cut short before a plain byte
    EXPECT_EQ(utf8ParaCp1252("\xBF"), "?"); // a lone continuation byte
}
