// Any text through the numeric reading and the text forms of numbers.
#include <cmath>

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
    return 0;
}
