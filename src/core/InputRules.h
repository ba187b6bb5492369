#pragma once

#include <QString>

// What an input box accepts after each change. A rule returns false when the box must be
// emptied (and keep the focus). Rules that look at the last character also refuse a text that
// is empty after trimming. Only the ASCII digits "0" to "9" count as digits; letters are "A" to
// "Z" and, in customer names and addresses, the upper-case letters of Spanish.
namespace core {

using InputRule = bool (*)(const QString& text);

// Trimmed text not empty and ending in a digit (quantities, sale numbers, codes).
bool endsWithDigit(const QString& text);
// Trimmed text not empty and ending in a digit or "." (prices typed with a point).
bool endsWithDigitOrPoint(const QString& text);
// Every character of the trimmed text a digit; empty is accepted.
bool isDigitsOnly(const QString& text);
// Every character of the trimmed text a digit, "," or "."; empty is accepted (prices, rates).
bool isPriceText(const QString& text);
// Every character of the trimmed text a digit, with at most one "," or "." among them; empty is
// accepted (an amount).
bool isAmountText(const QString& text);
// Trimmed text not empty and ending in a letter: "A" to "Z" or an upper-case letter of Spanish
// ("Ñ", "Á", "É", "Í", "Ó", "Ú", "Ü"): people's given names.
bool endsWithLetter(const QString& text);
// Trimmed text not empty and ending in a character of a name: "A" to "Z", "Ñ", "Á", "É", "Í",
// "Ó", "Ú", "Ü", or one of ' . , & - (customer names: PEÑA, O'HARA, PEÑA & HIJOS S.A.C.).
bool endsWithNameChar(const QString& text);
// Trimmed text empty, or ending in a character of a name, a digit, "#", "/" or "°" (addresses).
bool isAddressText(const QString& text);
// Trimmed text not empty and ending in "-", "/", a digit or a letter "A" to "Z" (document
// numbers).
bool endsWithDocumentChar(const QString& text);

// A typed price with its commas taken as decimal points, as the box shows it before use.
QString withDecimalPoints(QString text);

}  // namespace core
