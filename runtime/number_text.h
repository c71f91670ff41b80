// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Conversions between texts and numbers.
//
// Every number the program keeps is kept as a text and read back whenever it
// is computed with, so these few rules decide every result the program shows.
// Texts are sequences of 16-bit characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The value of the number a text begins with. Blanks (spaces, tabs) before
// it are skipped; then an optional sign, digits with an optional point and
// fraction, and an optional exponent written with E or D (1E3, 2.5D1, 1e-2).
// Reading stops at the first character that cannot continue the number. The
// separator is always the point, whatever the user's locale. A text that does
// not begin with a number has the value 0. A magnitude beyond the range of a
// double reads as an infinity, one too small for it as zero.
double NumericValue(std::u16string_view text);

// The nearest 32-bit integer, halves going to the even neighbour (2.5 gives
// 2, 3.5 gives 4). Empty when the rounded value lies outside the 32-bit range
// (2147483647.5 or more, below -2147483648.5) or the value is not finite.
std::optional<std::int32_t> RoundToInteger(double value);

// Decimal digits without leading zeros, a hyphen-minus before a negative value.
std::u16string IntegerText(std::int32_t value);

// A double in decimal with up to 15 significant digits and no trailing zeros:
// integral values print as their digits alone (957, -1), fractions use the
// given decimal separator (the user's locale's). Magnitudes of 1E15 or more,
// or below 1E-4, take the exponent form (1E+15, 1.5E-05).
std::u16string RealText(double value, char16_t decimalSeparator);

// The number of 16-bit characters, blanks and signs included.
std::size_t TextLength(std::u16string_view text);

}  // namespace velmora
