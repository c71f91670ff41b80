// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include "runtime/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include <fast_float/fast_float.h>
// GCC 14 at -O3 reports a false out-of-bounds index inside {fmt} 10's
// integer writer once it is inlined into the float writer.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
#include <fmt/compile.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

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

// The number's pieces as the plain ASCII text that the reading library
// takes: digits, point, fraction, exponent. An exponent of absurd length is
// saturated far beyond any double's range rather than overflowing.
std::string PlainNumber(const NumberSpans& number)
{
    std::string plain;
    plain.reserve(number.integerDigits.size() + number.fractionDigits.size() + 16);
    plain.append(number.integerDigits.begin(), number.integerDigits.end());
    if (!number.fractionDigits.empty()) {
        plain.push_back('.');
        plain.append(number.fractionDigits.begin(), number.fractionDigits.end());
    }
    if (!number.exponentDigits.empty()) {
        constexpr std::int64_t limit = std::int64_t{1} << 40;
        std::int64_t exponent = 0;
        for (const char16_t c : number.exponentDigits) {
            exponent = std::min(limit, exponent * 10 + (c - u'0'));
        }
        plain.push_back('e');
        plain += std::to_string(number.negativeExponent ? -exponent : exponent);
    }
    return plain;
}

}  // namespace

double NumericValue(std::u16string_view text)
{
    const std::optional<NumberSpans> number = ScanNumber(text);
    if (!number) {
        return 0.0;
    }
    // Correctly rounded: an infinity beyond the largest double, zero below
    // half the smallest.
    const std::string plain = PlainNumber(*number);
    double magnitude = 0.0;
    fast_float::from_chars(plain.data(), plain.data() + plain.size(), magnitude);
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
    std::array<char, 32> buffer{};
    std::string_view written;
    if (std::fabs(value) < 1e15 && std::trunc(value) == value) {
        // The common case, integral values, quickly: their digits alone.
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       static_cast<std::int64_t>(value)).ptr;
        written = std::string_view(buffer.data(), std::size_t(end - buffer.data()));
    } else if (!std::isfinite(value)) {
        return std::isnan(value) ? u"NAN" : value < 0 ? u"-INF" : u"INF";
    } else {
        // The C library's %.15G, the same in every build and locale.
        const auto result = fmt::format_to_n(buffer.data(), buffer.size(), FMT_COMPILE("{:.15G}"), value);
        written = std::string_view(buffer.data(), result.size);
    }
    std::u16string text;
    text.reserve(written.size());
    for (const char c : written) {
        text.push_back(c == '.' ? decimalSeparator : static_cast<char16_t>(c));
    }
    return text;
}

std::size_t TextLength(std::u16string_view text) { return text.size(); }

}  // namespace velmora
