#include "core/InputRules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every character a keyboard or a paste could bring: Latin-1, the Windows-1252 extras and a few
// beyond them.
QString candidates() {
    QString out;
    for (char16_t c = 0x20; c <= 0xFF; ++c)
        out += QChar(c);
    return out + QStringLiteral("–—…“”‘’€ŠŒŽšœžŸĀ✓");
}

// The characters a rule accepts at the end of "A" + character (blanks are trimmed away).
std::string acceptedEndings(core::InputRule rule) {
    QString out;
    for (const QChar c : candidates())
        if (!c.isSpace() && rule(QStringLiteral("A") + c))
            out += c;
    std::sort(out.begin(), out.end());
    return out.toStdString();
}

const QString kNameChars = QStringLiteral("&',-.ABCDEFGHIJKLMNOPQRSTUVWXYZÁÉÍÑÓÚÜ");

std::string sorted(QString s) {
    std::sort(s.begin(), s.end());
    return s.toStdString();
}

TEST(CustomerBoxRules, ANameEndsOnlyInASpanishCapitalOrTheNamePunctuation) {
    EXPECT_EQ(acceptedEndings(core::endsWithNameChar), sorted(kNameChars));
    for (const char* name : {"PEÑA", "MUÑOZ", "NÚÑEZ", "O'", "O'HARA", "PEÑA & HIJOS S.A.C.",
                             "GARCÍA-", "DÍAZ,", "GÜEMES ", "PEÑA &"})
        EXPECT_TRUE(core::endsWithNameChar(QString::fromUtf8(name))) << name;
    for (const char* name : {"", "   ", "PEÑA 2", "peña", "PEÑA |", "JOSÉ#"})
        EXPECT_FALSE(core::endsWithNameChar(QString::fromUtf8(name))) << name;
}

TEST(CustomerBoxRules, AnAddressAlsoEndsInADigitHashSlashOrDegreeAndMayBeEmpty) {
    EXPECT_EQ(acceptedEndings(core::isAddressText),
              sorted(kNameChars + QStringLiteral("0123456789#/°")));
    for (const char* address : {"", "   ", "JR. UNIÓN N°", "AV. LIMA 123", "MZ. B LT. 4/",
                                "CALLE 5 #", "PSJE. O'HIGGINS-"})
        EXPECT_TRUE(core::isAddressText(QString::fromUtf8(address))) << address;
    for (const char* address : {"AV. LIMA –", "AV. LIMA *", "LOTE |", "av. lima"})
        EXPECT_FALSE(core::isAddressText(QString::fromUtf8(address))) << address;
}

}  // namespace
