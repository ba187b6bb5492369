#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

namespace core {

// An exact amount of soles in ten-thousandths (four decimals), like a SQL `money`.
class Money {
public:
    static constexpr qint64 kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromRaw(qint64 tenThousandths) { return Money(tenThousandths); }
    constexpr qint64 raw() const { return raw_; }

    // Typed text: blanks trimmed, "," taken as ".", optional sign, at most four decimals kept
    // (more are rounded to the nearest, ties away from zero). Empty or malformed text gives nullopt.
    static std::optional<Money> parse(const QString& typed);
    // Rounded to the nearest ten-thousandth, ties away from zero, from the value's 15
    // significant digits (2.675 is 2.675, not 2.67499...). NaN or infinity throws
    // std::range_error, a value beyond the range std::overflow_error.
    static Money fromDouble(double value);
    double toDouble() const { return static_cast<double>(raw_) / kScale; }

    // Rounded to whole cents (two decimals), ties away from zero.
    Money roundedToCents() const;
    // Multiplied by a binary factor (a rate, 1.18), rounded to the nearest ten-thousandth.
    // The factor counts as its 15 significant digits and the product is exact integer
    // arithmetic. A result beyond the range throws std::overflow_error, a zero divisor
    // std::domain_error, a non-finite factor std::range_error.
    Money times(double factor) const;
    Money dividedBy(double divisor) const;

    constexpr Money operator+(Money o) const { return Money(raw_ + o.raw_); }
    constexpr Money operator-(Money o) const { return Money(raw_ - o.raw_); }
    constexpr Money operator-() const { return Money(-raw_); }
    constexpr Money operator*(qint64 quantity) const { return Money(raw_ * quantity); }
    Money& operator+=(Money o) {
        raw_ += o.raw_;
        return *this;
    }
    Money& operator-=(Money o) {
        raw_ -= o.raw_;
        return *this;
    }
    constexpr auto operator<=>(const Money&) const = default;
    constexpr bool isZero() const { return raw_ == 0; }

private:
    constexpr explicit Money(qint64 raw) : raw_(raw) {}
    qint64 raw_ = 0;
};

}  // namespace core
