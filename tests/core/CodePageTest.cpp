#include "core/CodePage.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

namespace {

TEST(Windows1252, KeepsLatin1AndTheCodePagesOwnCharactersAndMarksTheRest) {
    EXPECT_EQ(core::toWindows1252(QStringLiteral("PEÑA & HIJOS S.A.C. – “ÚNICO” … 5€ N°")),
              QByteArray("PE\xD1"
                         "A & HIJOS S.A.C. \x96 \x93\xDA"
                         "NICO\x94 \x85 5\x80 N\xB0"));
    EXPECT_EQ(core::toWindows1252(QStringLiteral("‘’—™ŠœŸ")),
              QByteArray("\x91\x92\x97\x99\x8A\x9C\x9F"));
    // Outside the code page, one "?" per character, also for one beyond 16 bits.
    EXPECT_EQ(core::toWindows1252(QStringLiteral("Ā✓😀") + QChar(0x81)), QByteArray("????"));
}

// Against the system's own converter where Qt has one: the same byte for every character of the
// Basic Multilingual Plane that the code page holds, and "?" for each one it does not.
TEST(Windows1252, AgreesWithTheSystemConverterOverTheWholePlane) {
    QStringEncoder system("windows-1252");
    if (!system.isValid())
        GTEST_SKIP() << "Qt has no Windows-1252 converter here";
    int held = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString text{QChar(char16_t(c))};
        QStringEncoder one("windows-1252");
        const QByteArray expected = one.encode(text);
        const bool inPage = !one.hasError() && expected.size() == 1 && (c < 0x80 || c > 0x9F);
        const QByteArray got = core::toWindows1252(text);
        if (inPage) {
            ++held;
            EXPECT_EQ(got, expected) << "U+" << std::hex << unsigned(c);
        } else {
            EXPECT_EQ(got, QByteArray("?")) << "U+" << std::hex << unsigned(c);
        }
    }
    EXPECT_EQ(held, 128 + 96 + 27);
}

}  // namespace
