#pragma once

// The sales tax (IGV) at a rate in percent, as the IGV row in force gives it (18 for 18 %), and
// the split of an amount that includes it. The figures are binary quotients: format them with
// the helpers of core::fmt, which round them once.
namespace core {

class IgvRate {
public:
    explicit IgvRate(double percent) : percent_(percent) {}

    double percent() const { return percent_; }
    // The rate as a fraction of the taxable base: 0.18.
    double fraction() const { return percent_ / 100; }
    // The taxable base of an amount that includes the tax: amount / 1.18.
    double base(double amount) const { return amount / ((100 + percent_) / 100); }
    // The tax an amount includes: amount - amount / 1.18.
    double taxIn(double amount) const { return amount - base(amount); }

private:
    double percent_;
};

}  // namespace core
