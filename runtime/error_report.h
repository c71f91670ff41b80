// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The program's own reports of errors a user can cause, in the words the user
// reads. Each front end shows them in its toolkit's message box.
#pragma once

#include <string_view>

namespace velmora {

struct ErrorReport {
    std::u16string_view title;
    std::u16string_view text;
    std::u16string_view dismiss;  // caption of the one button that closes it
};

// A typed number whose value or length does not fit. Nothing was entered, and
// the typed text stays for correction.
constexpr ErrorReport kTooLargeReport{
    u"Velmora",
    u"Числото е твърде голямо и не е въведено.\n\n"
    u"Въведете най-много девет знака, със стойност, по-малка от 2147483647.5. "
    u"Въведените досега числа са запазени.",
    u"Добре",
};

}  // namespace velmora
