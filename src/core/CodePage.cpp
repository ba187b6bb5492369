#include "core/CodePage.h"

#include <QList>
#include <array>

namespace core {

namespace {

// The characters of bytes 0x80 to 0x9F; 0 where the code page leaves the byte unassigned.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

char byteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] != 0 && kHighControls[i] == c)
            return char(0x80 + i);
    return '?';
}

}  // namespace

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const uint c : text.toUcs4())
        out += byteOf(c);
    return out;
}

}  // namespace core
