// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include "logic/commands.h"

namespace velmora {

Commands::Commands(FormControls& controls) : controls_(controls) {}

void Commands::Command1Click(int index)
{
    switch (index) {
    case kInputNumber: InputNumber(); break;
    case kClearAll: ClearAll(); break;
    case kOutputPairs: OutputPairs(); break;
    default: break;
    }
}

void Commands::InputNumber()
{
    const InputOutcome outcome = book_.InputNumber(controls_.ComboText());
    switch (outcome) {
    case InputOutcome::Refused:
        controls_.SetComboText(u"");
        break;
    case InputOutcome::TooLarge:
        controls_.ReportError(kTooLargeReport);
        break;
    case InputOutcome::Appended:
        controls_.AddComboItem(book_.Entries().back());
        controls_.AddListItem(book_.Complements().back());
        controls_.SetComboText(u"");
        break;
    case InputOutcome::Rebuilt:
        controls_.AddComboItem(book_.Entries().back());
        controls_.SetListItems(book_.Complements());
        controls_.SetComboText(u"");
        break;
    }
    // Ready for the next number, or for correcting the one that did not fit.
    controls_.SelectComboText();
}

void Commands::ClearAll()
{
    book_.ClearAll();
    controls_.ClearComboItems();
    controls_.SetComboText(u"");
    controls_.SetListItems({});
    controls_.SetReportText(u"");
}

void Commands::OutputPairs() { controls_.SetReportText(book_.OutputPairs()); }

}  // namespace velmora
