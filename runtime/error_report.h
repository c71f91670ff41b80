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
// the typed text stays for correction. True of every text that gets it: one
// of ten or more characters whatever its value (0000000042), and one whose
// value is too large however short (3E9). Nine plain digits always fit, so
// the advice leaves the limit of the value out.
constexpr ErrorReport kTooLargeReport{
    u"Velmora",
    u"Числото е твърде голямо или записът му е твърде дълъг. То не е въведено.\n\n"
    u"Напишете число с най-много девет знака. Въведените досега числа са запазени.",
    u"Добре",
};

}  // namespace velmora
