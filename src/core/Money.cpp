#include "core/Money.h"

#include "core/Decimal.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace core {

namespace {

__extension__ typedef __int128 Wide;

constexpr int kPlaces = 4;
constexpr Wide kWideLimit = (Wide(1) << 126);

Wide powerOfTen(int exponent) {
    Wide p = 1;
    for (int i = 0; i < exponent; ++i) {
        p *= 10;
    }
    return p;
}

// n / d rounded to the nearest integer, ties away from zero; d > 0.
Wide roundedQuotient(Wide n, Wide d) {
    const Wide q = n / d;
    const Wide r = n % d;
    const Wide twice = (r < 0 ? -r : r) * 2;
    if (twice >= d) {
        return n < 0 ? q - 1 : q + 1;
    }
    return q;
}

Wide checkedProduct(Wide a, Wide b) {
    if (a != 0 && (b > kWideLimit / (a < 0 ? -a : a) || b < -kWideLimit / (a < 0 ? -a : a))) {
        throw std::overflow_error("amount out of range");
    }
    return a * b;
}

qint64 narrowed(Wide value) {
    if (value > std::numeric_limits<qint64>::max() || value < std::numeric_limits<qint64>::min()) {
        throw std::overflow_error("amount out of range");
    }
    return static_cast<qint64>(value);
}

std::optional<qint64> unitsOf(const decimal::Digits& d) {
    bool ok = false;
    const qint64 magnitude = decimal::scaledMagnitude(d, kPlaces).toLongLong(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return d.negative ? -magnitude : magnitude;
}

// A finite factor as mantissa * 10^exponent, from its 15 significant digits.
struct Factor {
    Wide mantissa;
    int exponent;
};

Factor factorOf(double value) {
    if (!std::isfinite(value)) {
        throw std::range_error("factor is not a number");
    }
    decimal::Digits d = decimal::ofDouble(value);
    while (d.digits.size() > 1 && d.digits.endsWith(u'0')) {
        d.digits.chop(1);
    }
    const Wide mantissa = d.digits.toLongLong();
    return {d.negative ? -mantissa : mantissa, d.point - static_cast<int>(d.digits.size())};
}

// n * 10^exponent rounded to an integer.
Wide scaled(Wide n, int exponent) {
    if (n == 0) {
        return 0;
    }
    if (exponent > 37) {
        throw std::overflow_error("amount out of range");
    }
    if (exponent >= 0) {
        return checkedProduct(n, powerOfTen(exponent));
    }
    if (-exponent > 37) {
        return 0;
    }
    return roundedQuotient(n, powerOfTen(-exponent));
}

}  // namespace

std::optional<Money> Money::parse(const QString& typed) {
    QString text = typed.trimmed();
    text.replace(u',', u'.');
    decimal::Digits d;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        d.negative = text.startsWith(u'-');
        text.remove(0, 1);
    }
    const qsizetype dot = text.indexOf(u'.');
    const QString whole = dot < 0 ? text : text.left(dot);
    const QString fraction = dot < 0 ? QString() : text.mid(dot + 1);
    d.digits = whole + fraction;
    const bool digitsOnly = std::all_of(d.digits.cbegin(), d.digits.cend(),
                                        [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (d.digits.isEmpty() || !digitsOnly) {
        return std::nullopt;
    }
    d.point = static_cast<int>(whole.size());
    const std::optional<qint64> units = unitsOf(d);
    return units ? std::optional(Money(*units)) : std::nullopt;
}

Money Money::fromDouble(double value) {
    if (!std::isfinite(value)) {
        throw std::range_error("amount is not a number");
    }
    const std::optional<qint64> units = unitsOf(decimal::ofDouble(value));
    if (!units) {
        throw std::overflow_error("amount out of range");
    }
    return Money(*units);
}

Money Money::roundedToCents() const {
    return Money(narrowed(roundedQuotient(raw_, 100) * 100));
}

Money Money::times(double factor) const {
    const Factor f = factorOf(factor);
    return Money(narrowed(scaled(checkedProduct(raw_, f.mantissa), f.exponent)));
}

Money Money::dividedBy(double divisor) const {
    Factor f = factorOf(divisor);
    if (f.mantissa == 0) {
        throw std::domain_error("division by zero");
    }
    Wide n = raw_;
    if (f.mantissa < 0) {
        n = -n;
        f.mantissa = -f.mantissa;
    }
    // raw / (m * 10^e) = raw * 10^-e / m; beyond 10^22 the quotient is below half a unit.
    if (f.exponent > 22) {
        return Money();
    }
    const Wide numerator = f.exponent <= 0 ? scaled(n, -f.exponent) : n;
    const Wide denominator = f.exponent <= 0 ? f.mantissa : f.mantissa * powerOfTen(f.exponent);
    return Money(narrowed(roundedQuotient(numerator, denominator)));
}

}  // namespace core
