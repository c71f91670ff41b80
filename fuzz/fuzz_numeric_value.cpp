// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Any text through the numeric reading and the text forms of numbers.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_text.h"
#include "runtime/number_text.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string text = TextFromBytes(data, size);
    const double value = NumericValue(text);
    FUZZ_CHECK(!std::isnan(value));

    // Blanks before a text and a letter after it change nothing.
    FUZZ_CHECK(NumericValue(u" \t" + text) == value);
    FUZZ_CHECK(NumericValue(text + u"x") == value);

    if (const auto rounded = RoundToInteger(value)) {
        FUZZ_CHECK(std::fabs(value - *rounded) <= 0.5);
        if (std::fabs(value - *rounded) == 0.5) {
            FUZZ_CHECK(*rounded % 2 == 0);  // halves go to the even neighbour
        }
        FUZZ_CHECK(NumericValue(IntegerText(*rounded)) == *rounded);
    } else {
        FUZZ_CHECK(!(std::fabs(value) < 2147483647.5));
    }

    // A real text reads back to the value it was written from.
    if (std::isfinite(value)) {
        const std::u16string written = RealText(value, u'.');
        const double back = NumericValue(written);
        FUZZ_CHECK(std::fabs(back - value) <= std::fabs(value) * 1e-14);
        FUZZ_CHECK(written.find(u' ') == std::u16string::npos);
    }

    // Texts of digits, points, signs and exponent marks only are read as
    // the C library reads them, correctly rounded; and the real text is the
    // C library's %.15G. (The fuzzer runs in the C locale.)
    std::string plain;
    for (std::size_t i = 0; i < size; ++i) {
        plain.push_back("0123456789.eE+-"[data[i] % 15]);
    }
    const double read = NumericValue(std::u16string(plain.begin(), plain.end()));
    const double expected = std::strtod(plain.c_str(), nullptr);
    FUZZ_CHECK(std::memcmp(&read, &expected, sizeof read) == 0);
    if (read != 0.0) {
        char written[64];
        std::snprintf(written, sizeof written, "%.15G", read);
        const std::u16string realText = RealText(read, u'.');
        FUZZ_CHECK(std::string(realText.begin(), realText.end()) == written);
    }
    return 0;
}
