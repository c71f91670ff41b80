#include "runtime/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace velmora {
namespace {

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

// Where the first significant digit stands relative to the point, shifted by
// the exponent: positive for magnitudes of 1 or more. Saturates instead of
// overflowing for absurdly long texts. Decides which way a number beyond the
// range of a double goes: to an infinity or to zero.
std::int64_t DecimalMagnitude(const NumberSpans& number)
{
    constexpr std::int64_t limit = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    const auto firstNonZero = number.integerDigits.find_first_not_of(u'0');
    if (firstNonZero != std::u16string_view::npos) {
        magnitude = static_cast<std::int64_t>(number.integerDigits.size() - firstNonZero);
    } else {
        const auto firstFraction = number.fractionDigits.find_first_not_of(u'0');
        magnitude = -static_cast<std::int64_t>(firstFraction == std::u16string_view::npos
                                                   ? number.fractionDigits.size()
                                                   : firstFraction);
    }
    std::int64_t exponent = 0;
    for (const char16_t c : number.exponentDigits) {
        exponent = std::min(limit, exponent * 10 + (c - u'0'));
    }
    return magnitude + (number.negativeExponent ? -exponent : exponent);
}

}  // namespace

double NumericValue(std::u16string_view text)
{
    const std::optional<NumberSpans> number = ScanNumber(text);
    if (!number) {
        return 0.0;
    }
    // from_chars reads plain ASCII in the C locale's form: rewrite the number
    // as digits, point and 'e', whatever marks the text used. Short numbers,
    // the usual ones, are rewritten on the stack.
    const std::size_t length = number->integerDigits.size() + number->fractionDigits.size()
                               + number->exponentDigits.size() + 4;
    std::array<char, 64> shortBuffer;
    std::string longBuffer;
    char* const start = length <= shortBuffer.size() ? shortBuffer.data()
                                                     : (longBuffer.resize(length), longBuffer.data());
    char* out = start;
    auto append = [&out](std::u16string_view digits) {
        for (const char16_t c : digits) {
            *out++ = static_cast<char>(c);
        }
    };
    if (number->integerDigits.empty()) {
        *out++ = '0';
    }
    append(number->integerDigits);
    if (!number->fractionDigits.empty()) {
        *out++ = '.';
        append(number->fractionDigits);
    }
    if (!number->exponentDigits.empty()) {
        *out++ = 'e';
        *out++ = number->negativeExponent ? '-' : '+';
        append(number->exponentDigits);
    }

    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(start, out, magnitude, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        magnitude = DecimalMagnitude(*number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc{}) {
        magnitude = 0.0;  // cannot happen for the form built above
    }
    return number->negative ? -magnitude : magnitude;
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
    std::array<char, 64> buffer{};
    std::to_chars_result result;
    // Integral values below 1E15 print as their digits whatever the way;
    // the integer way is the quick one.
    if (std::fabs(value) < 1e15 && std::trunc(value) == value) {
        result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                               static_cast<std::int64_t>(value));
    } else {
        result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::general, 15);
    }
    std::u16string text(static_cast<std::size_t>(result.ptr - buffer.data()), u'\0');
    std::transform(buffer.data(), result.ptr, text.begin(), [decimalSeparator](char c) -> char16_t {
        switch (c) {
        case '.': return decimalSeparator;
        case 'e': return u'E';
        default: return static_cast<char16_t>(c);
        }
    });
    return text;
}

std::size_t TextLength(std::u16string_view text) { return text.size(); }

}  // namespace velmora
