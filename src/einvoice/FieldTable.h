#pragma once

#include <QString>
#include <functional>
#include <vector>

// A tax file's line as a list of fields, each a function of the figures it is written from, so
// a field changes in one place.
namespace einvoice::fields {

template <typename Values>
using Field = std::function<QString(const Values&)>;

template <typename Values>
Field<Values> lit(const char* text) {
    return [s = QString::fromLatin1(text)](const Values&) { return s; };
}

// Every field followed by "|".
template <typename Values>
QString join(const std::vector<Field<Values>>& fields, const Values& values) {
    QString out;
    for (const auto& f : fields)
        out += f(values) + QLatin1Char('|');
    return out;
}

}  // namespace einvoice::fields
