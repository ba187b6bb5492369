#pragma once

#include <QString>

namespace core {

// The amount of a receipt in words, as Peruvian receipts write it: "CIENTO DIECIOCHO CON 00/100
// SOLES", "UN MILLON VEINTIUN MIL UNO CON 50/100 SOLES". Upper case, without accents.
//
// `amount` is the amount text of a total ("118", "25.5", "4.5918"): blanks around it, an optional
// "-" sign and any number of decimals after a "."; the amount is rounded to whole cents, ties away
// from zero (4.595 reads as 4.60). A negative amount reads "MENOS ...". Text that is not such a
// number, or an amount of a billion soles or more, gives an empty text.
QString Imprime_Soles(const QString& amount);

}  // namespace core
