#include "core/AmountInWords.h"

#include <gtest/gtest.h>

using core::Imprime_Soles;

namespace {

struct Case {
    const char* amount;
    const char* words;
};

void expectAll(const std::initializer_list<Case>& cases) {
    for (const Case& c : cases)
        EXPECT_EQ(Imprime_Soles(QString::fromLatin1(c.amount)), QString::fromLatin1(c.words))
            << "amount " << c.amount;
}

}  // namespace

TEST(AmountInWords, WholeAmountsEndInUno) {
    expectAll({
        {"0.50", "CERO CON 50/100 SOLES"},
        {"1", "UNO CON 00/100 SOLES"},
        {"21", "VEINTIUNO CON 00/100 SOLES"},
        {"31", "TREINTA Y UNO CON 00/100 SOLES"},
        {"101", "CIENTO UNO CON 00/100 SOLES"},
        {"1001", "MIL UNO CON 00/100 SOLES"},
        {"21001", "VEINTIUN MIL UNO CON 00/100 SOLES"},
        {"1000001", "UN MILLON UNO CON 00/100 SOLES"},
    });
}

TEST(AmountInWords, UnitsBeforeMilAndMillonesDropTheirO) {
    expectAll({
        {"1000", "MIL CON 00/100 SOLES"},
        {"21000", "VEINTIUN MIL CON 00/100 SOLES"},
        {"31000", "TREINTA Y UN MIL CON 00/100 SOLES"},
        {"101000", "CIENTO UN MIL CON 00/100 SOLES"},
        {"1000000", "UN MILLON CON 00/100 SOLES"},
        {"21000000", "VEINTIUN MILLONES CON 00/100 SOLES"},
        {"121000000", "CIENTO VEINTIUN MILLONES CON 00/100 SOLES"},
        {"1021000", "UN MILLON VEINTIUN MIL CON 00/100 SOLES"},
        {"1000000000", ""},  // a billion is beyond a receipt
    });
}

TEST(AmountInWords, TensAndHundreds) {
    expectAll({
        {"15", "QUINCE CON 00/100 SOLES"},
        {"16", "DIECISEIS CON 00/100 SOLES"},
        {"22", "VEINTIDOS CON 00/100 SOLES"},
        {"29", "VEINTINUEVE CON 00/100 SOLES"},
        {"30", "TREINTA CON 00/100 SOLES"},
        {"99", "NOVENTA Y NUEVE CON 00/100 SOLES"},
        {"100", "CIEN CON 00/100 SOLES"},
        {"115", "CIENTO QUINCE CON 00/100 SOLES"},
        {"118", "CIENTO DIECIOCHO CON 00/100 SOLES"},
        {"500", "QUINIENTOS CON 00/100 SOLES"},
        {"700", "SETECIENTOS CON 00/100 SOLES"},
        {"900", "NOVECIENTOS CON 00/100 SOLES"},
        {"999", "NOVECIENTOS NOVENTA Y NUEVE CON 00/100 SOLES"},
        {"1100", "MIL CIEN CON 00/100 SOLES"},
        {"100000", "CIEN MIL CON 00/100 SOLES"},
        {"200100", "DOSCIENTOS MIL CIEN CON 00/100 SOLES"},
        {"2500000.75", "DOS MILLONES QUINIENTOS MIL CON 75/100 SOLES"},
        {"999999999.99",
         "NOVECIENTOS NOVENTA Y NUEVE MILLONES NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS "
         "NOVENTA Y NUEVE CON 99/100 SOLES"},
    });
}

TEST(AmountInWords, DecimalsRoundToCentsTiesAwayFromZero) {
    expectAll({
        {"25.5", "VEINTICINCO CON 50/100 SOLES"},
        {"4.5918", "CUATRO CON 59/100 SOLES"},
        {"10.62", "DIEZ CON 62/100 SOLES"},
        {"8.9916", "OCHO CON 99/100 SOLES"},
        {"4.595", "CUATRO CON 60/100 SOLES"},
        {"4.5949", "CUATRO CON 59/100 SOLES"},
        {"0.005", "CERO CON 01/100 SOLES"},
        {"0.004", "CERO CON 00/100 SOLES"},
        {"0.999", "UNO CON 00/100 SOLES"},
        {"20.995", "VEINTIUNO CON 00/100 SOLES"},
        {"0.05", "CERO CON 05/100 SOLES"},
        {"-1.5", "MENOS UNO CON 50/100 SOLES"},
        {"-0.001", "CERO CON 00/100 SOLES"},
        {"999999999.995", ""},  // rounds up to a billion
    });
}

TEST(AmountInWords, ReadsTheAmountTextLoosely) {
    expectAll({
        {" 30 ", "TREINTA CON 00/100 SOLES"},
        {"007", "SIETE CON 00/100 SOLES"},
        {".5", "CERO CON 50/100 SOLES"},
        {"5.", "CINCO CON 00/100 SOLES"},
    });
}

TEST(AmountInWords, MalformedTextGivesNothing) {
    for (const char* text : {"", " ", "-", ".", "1,5", "1.2.3", "12a", "1E5", "--1", "+1"})
        EXPECT_TRUE(Imprime_Soles(QString::fromLatin1(text)).isEmpty()) << "text " << text;
    EXPECT_TRUE(Imprime_Soles(QStringLiteral("\u0661\u0662")).isEmpty());  // non-ASCII digits
}
