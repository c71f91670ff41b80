#include "runtime/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <span>

#include "runtime/exact_decimal.h"

namespace velmora {
namespace {

// Significant digits of a real text.
constexpr int kSignificantDigits = 15;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsExponentMark(char16_t c) { return c == u'E' || c == u'e' || c == u'D' || c == u'd'; }

// The pieces of a number found at the start of a text, as spans into it.
struct NumberSpans {
    bool negative = false;
    std::u16string_view integerDigits;
    std::u16string_view fractionDigits;
    bool negativeExponent = false;
    std::u16string_view exponentDigits;
};

std::u16string_view TakeDigits(std::u16string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

// Splits the number a text begins with into its pieces; empty when the text
// does not begin with one.
std::optional<NumberSpans> ScanNumber(std::u16string_view text)
{
    NumberSpans number;
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        number.negative = text[pos] == u'-';
        ++pos;
    }
    number.integerDigits = TakeDigits(text, pos);
    if (pos < text.size() && text[pos] == u'.') {
        ++pos;
        number.fractionDigits = TakeDigits(text, pos);
    }
    if (number.integerDigits.empty() && number.fractionDigits.empty()) {
        return std::nullopt;
    }
    // An exponent mark counts only when digits follow it (and its sign).
    if (pos < text.size() && IsExponentMark(text[pos])) {
        std::size_t exponentPos = pos + 1;
        bool negativeExponent = false;
        if (exponentPos < text.size() && (text[exponentPos] == u'+' || text[exponentPos] == u'-')) {
            negativeExponent = text[exponentPos] == u'-';
            ++exponentPos;
        }
        const std::u16string_view digits = TakeDigits(text, exponentPos);
        if (!digits.empty()) {
            number.negativeExponent = negativeExponent;
            number.exponentDigits = digits;
        }
    }
    return number;
}

// The exponent's value, saturated far beyond any double's range instead of
// overflowing for absurdly long exponents.
std::int64_t ExponentOf(const NumberSpans& number)
{
    constexpr std::int64_t limit = std::int64_t{1} << 40;
    std::int64_t exponent = 0;
    for (const char16_t c : number.exponentDigits) {
        exponent = std::min(limit, exponent * 10 + (c - u'0'));
    }
    return number.negativeExponent ? -exponent : exponent;
}

// The usual numbers in one exact step: up to 15 significant digits and a
// power of ten up to 22 are both exact doubles, so one multiplication or
// division of the two rounds correctly. Empty for the others.
std::optional<double> QuickMagnitude(const NumberSpans& number, std::int64_t exponent)
{
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr int kMaxDigits = 15;
    constexpr std::int64_t kMaxPower = 22;
    std::uint64_t mantissa = 0;
    int significant = 0;
    for (const std::u16string_view part : {number.integerDigits, number.fractionDigits}) {
        for (const char16_t c : part) {
            if (mantissa != 0 || c != u'0') {
                if (++significant > kMaxDigits) {
                    return std::nullopt;
                }
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - u'0');
            }
        }
    }
    const std::int64_t power = exponent - static_cast<std::int64_t>(number.fractionDigits.size());
    if (power < -kMaxPower || power > kMaxPower) {
        return mantissa == 0 ? std::optional<double>(0.0) : std::nullopt;
    }
    const auto value = static_cast<double>(mantissa);
    return power >= 0 ? value * kPowersOfTen[power] : value / kPowersOfTen[-power];
}

}  // namespace

double NumericValue(std::u16string_view text)
{
    const std::optional<NumberSpans> number = ScanNumber(text);
    if (!number) {
        return 0.0;
    }
    const std::int64_t exponent = ExponentOf(*number);
    std::optional<double> magnitude = QuickMagnitude(*number, exponent);
    if (!magnitude) {
        magnitude = ExactDecimal::FromDigits(number->integerDigits, number->fractionDigits,
                                             exponent).ToDouble();
    }
    return number->negative ? -*magnitude : *magnitude;
}
std::optional<std::int32_t> RoundToInteger(double value)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // Exact for every double: below 2^52 the difference to the floor is
    // representable, above it every double is already an integer.
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) {
        rounded = floor + 1.0;
    }
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (rounded < lowest || rounded > highest) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::u16string IntegerText(std::int32_t value)
{
    std::array<char, 16> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::u16string(buffer.data(), result.ptr);
}

std::u16string RealText(double value, char16_t decimalSeparator)
{
    if (value == 0.0) {
        return u"0";  // also for -0.0, which must not print a sign
    }
    std::u16string text;
    if (std::fabs(value) < 1e15 && std::trunc(value) == value) {
        // Integral values below 1E15 print as their digits alone.
        std::array<char, 24> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                          static_cast<std::int64_t>(value));
        text.assign(buffer.data(), result.ptr);
        return text;
    }
    if (value < 0) {
        text.push_back(u'-');
    }
    if (!std::isfinite(value)) {
        text += std::isnan(value) ? u"NAN" : u"INF";
        return text;
    }
    ExactDecimal decimal = ExactDecimal::FromDouble(value);
    decimal.RoundToSignificant(kSignificantDigits);
    const std::span<const std::uint8_t> digits = decimal.Digits();
    const auto digit = [&](int i) -> char16_t {
        return i < static_cast<int>(digits.size()) ? static_cast<char16_t>(u'0' + digits[std::size_t(i)])
                                                   : u'0';
    };
    const int count = static_cast<int>(digits.size());
    const int exponent = decimal.Point() - 1;  // of the first digit
    if (exponent < -4 || exponent >= kSignificantDigits) {
        // 1.5E-05, 1E+15: one digit before the separator, at least two in the exponent.
        text.push_back(digit(0));
        if (count > 1) {
            text.push_back(decimalSeparator);
            for (int i = 1; i < count; ++i) {
                text.push_back(digit(i));
            }
        }
        text.push_back(u'E');
        text.push_back(exponent < 0 ? u'-' : u'+');
        const std::string power = std::to_string(std::abs(exponent));
        if (power.size() < 2) {
            text.push_back(u'0');
        }
        text.append(power.begin(), power.end());
    } else if (exponent < 0) {
        text += u'0';
        text.push_back(decimalSeparator);
        text.append(static_cast<std::size_t>(-exponent - 1), u'0');
        for (int i = 0; i < count; ++i) {
            text.push_back(digit(i));
        }
    } else {
        for (int i = 0; i <= exponent; ++i) {
            text.push_back(digit(i));
        }
        if (count > exponent + 1) {
            text.push_back(decimalSeparator);
            for (int i = exponent + 1; i < count; ++i) {
                text.push_back(digit(i));
            }
        }
    }
    return text;
}

std::size_t TextLength(std::u16string_view text) { return text.size(); }

}  // namespace velmora
