#include "core/InputRules.h"

#include <algorithm>

namespace core {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isLetter(QChar c) {
    return c >= u'A' && c <= u'Z';
}

bool isNameChar(QChar c) {
    static const QString kOthers = QStringLiteral("ÑÁÉÍÓÚÜ'.,&-");
    return isLetter(c) || kOthers.contains(c);
}

bool isAddressChar(QChar c) {
    static const QString kOthers = QStringLiteral("#/°");
    return isNameChar(c) || isDigit(c) || kOthers.contains(c);
}

template <typename Accepts>
bool lastCharacter(const QString& text, Accepts accepts) {
    const QString t = text.trimmed();
    return !t.isEmpty() && accepts(t.back());
}

template <typename Accepts>
bool everyCharacter(const QString& text, Accepts accepts) {
    const QString t = text.trimmed();
    return std::all_of(t.cbegin(), t.cend(), accepts);
}

}  // namespace

bool endsWithDigit(const QString& text) {
    return lastCharacter(text, isDigit);
}

bool endsWithDigitOrPoint(const QString& text) {
    return lastCharacter(text, [](QChar c) { return isDigit(c) || c == u'.'; });
}

bool isDigitsOnly(const QString& text) {
    return everyCharacter(text, isDigit);
}

bool isPriceText(const QString& text) {
    return everyCharacter(text, [](QChar c) { return isDigit(c) || c == u',' || c == u'.'; });
}

bool isAmountText(const QString& text) {
    return isPriceText(text) && text.count(u',') + text.count(u'.') <= 1;
}

bool endsWithLetter(const QString& text) {
    static const QString kSpanish = QStringLiteral("ÑÁÉÍÓÚÜ");
    return lastCharacter(text, [](QChar c) { return isLetter(c) || kSpanish.contains(c); });
}

bool endsWithNameChar(const QString& text) {
    return lastCharacter(text, isNameChar);
}

bool isAddressText(const QString& text) {
    return text.trimmed().isEmpty() || lastCharacter(text, isAddressChar);
}

bool endsWithDocumentChar(const QString& text) {
    return lastCharacter(
        text, [](QChar c) { return isLetter(c) || isDigit(c) || c == u'-' || c == u'/'; });
}

QString withDecimalPoints(QString text) {
    return text.replace(u',', u'.');
}

}  // namespace core
