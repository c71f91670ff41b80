// An exact decimal number, for converting between decimal texts and doubles
// with plain integer arithmetic: correctly rounded both ways, the same on
// every compiler, standard library and locale.
//
// The number is 0.d1 d2 d3 ... times 10 to the power Point(), with up to
// kMaxDigits significant digits. Every double's exact decimal value fits;
// a longer text keeps its first kMaxDigits digits and remembers whether any
// digit after them was not zero, which is all that correct rounding needs.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace velmora {

class ExactDecimal {
public:
    static constexpr int kMaxDigits = 800;

    // The number whose decimal digits are those of `integer` followed by
    // those of `fraction` (characters '0' to '9'), times 10 to `exponent`.
    static ExactDecimal FromDigits(std::u16string_view integer, std::u16string_view fraction,
                                   std::int64_t exponent);

    // The exact decimal value of a finite double's magnitude.
    static ExactDecimal FromDouble(double value);

    // The nearest double, ties to even; an infinity beyond the largest
    // double, 0 below half the smallest one.
    double ToDouble() const;

    // Rounds to `count` significant digits, ties to even.
    void RoundToSignificant(int count);

    // The significant digits (values 0 to 9, no trailing zeros); none for 0.
    std::span<const std::uint8_t> Digits() const { return {digits_.data(), std::size_t(count_)}; }
    // Where the decimal point stands: the value is 0.Digits() x 10^Point().
    int Point() const { return point_; }

private:
    void Append(std::uint8_t digit);
    void Trim();
    void Shift(int bits);  // multiplies by 2^bits; a negative count divides
    void ShiftLeft(int bits);
    void ShiftRight(int bits);
    bool RoundsUpAt(int count) const;
    void RoundUpAt(int count);
    std::uint64_t RoundedInteger() const;

    std::array<std::uint8_t, kMaxDigits> digits_{};
    int count_ = 0;
    int point_ = 0;
    bool truncated_ = false;  // a digit beyond kMaxDigits was not zero
};

}  // namespace velmora
