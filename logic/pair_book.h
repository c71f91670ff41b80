// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The pair book: every accepted number with its complement, the two adding up
// to the maximal sum 9, 99, 999, ... whose digit count is the length of the
// longest text accepted so far, as typed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// What InputNumber did with a typed text, so that the window can follow.
enum class InputOutcome {
    Refused,   // value not above 0: nothing changed, the typed text is to be emptied
    TooLarge,  // value or length beyond what fits: nothing changed, the text is kept
    Appended,  // one entry and its complement appended
    Rebuilt,   // one entry appended, the maximal sum grew, every complement redone
};

constexpr bool IsAccepted(InputOutcome outcome)
{
    return outcome == InputOutcome::Appended || outcome == InputOutcome::Rebuilt;
}

class PairBook {
public:
    // Accepts a typed text as the next entry. Its value, rounded to the
    // nearest integer (halves to even), is stored as the entry's text; its
    // length, as typed, may raise the maximal sum, in which case every
    // complement is computed anew. A text that would not fit changes nothing.
    InputOutcome InputNumber(std::u16string_view typed);

    // Empties the book; the maximal sum starts again at 9 for one digit.
    void ClearAll();

    // One line per pair: "entry + complement = MaxSum" and CR LF; empty when
    // the book is.
    std::u16string OutputPairs() const;

    // Unset until the first entry after start.
    std::optional<std::size_t> MaxDigits() const { return maxDigits_; }
    std::int32_t MaxSum() const { return maxSum_; }

    const std::vector<std::u16string>& Entries() const { return entries_; }
    const std::vector<std::u16string>& Complements() const { return complements_; }

    // The largest number with the given count of digits, or empty when it
    // does not fit a 32-bit integer (ten digits or more).
    static std::optional<std::int32_t> MaxSumForDigits(std::size_t digits);

private:
    std::u16string ComplementOf(std::u16string_view entry, std::int32_t maxSum) const;
    // Every complement under the given maximal sum, for the entries and then
    // for one more that is about to be appended.
    std::vector<std::u16string> ComplementsFor(std::int32_t maxSum,
                                               std::u16string_view newEntry) const;

    std::vector<std::u16string> entries_;
    std::vector<std::u16string> complements_;
    std::optional<std::size_t> maxDigits_;
    std::int32_t maxSum_ = 0;
};

}  // namespace velmora
