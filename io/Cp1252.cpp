#include "io/Cp1252.h"
#include <cstdint>

namespace keldo::io {

namespace {
// Code points of bytes 0x80..0x9F. The five bytes Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same value, so
// every byte survives a trip through UTF-8 and back.
constexpr uint16_t faixa80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void anexarUtf8(std::string& saida, uint32_t cp) {
    if (cp < 0x80) {
        saida += static_cast<char>(cp);
    } else if (cp < 0x800) {
        saida += static_cast<char>(0xC0 | (cp >> 6));
        saida += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        saida += static_cast<char>(0xE0 | (cp >> 12));
        saida += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        saida += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char byteDe(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (faixa80[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}
} // namespace

std::string cp1252ParaUtf8(const std::string& texto) {
    std::string saida;
    saida.reserve(texto.size() * 2);
    for (unsigned char c : texto) {
        uint32_t cp = c;
        if (c >= 0x80 && c < 0xA0)
            cp = faixa80[c - 0x80];
        anexarUtf8(saida, cp);
    }
    return saida;
}

std::string utf8ParaCp1252(const std::string& texto) {
    std::string saida;
    saida.reserve(texto.size());
    for (size_t i = 0; i < texto.size();) {
        unsigned char c = static_cast<unsigned char>(texto[i]);
        uint32_t cp = 0;
        int extra = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            saida += '?';
            ++i;
            continue;
        }
        size_t j = i + 1;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= texto.size() || (static_cast<unsigned char>(texto[j]) & 0xC0) != 0x80) {
                cp = 0xFFFD;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(texto[j]) & 0x3F);
        }
        saida += byteDe(cp);
        i = j;
    }
    return saida;
}

} // namespace keldo::io
