// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include "logic/pair_book.h"

#include <limits>
#include <utility>

#include "runtime/number_text.h"

namespace velmora {
namespace {

constexpr std::u16string_view kPlus = u" + ";
constexpr std::u16string_view kEquals = u" = ";
constexpr std::u16string_view kLineEnd = u"\r\n";

}  // namespace

std::optional<std::int32_t> PairBook::MaxSumForDigits(std::size_t digits)
{
    if (digits == 0) {
        return std::nullopt;
    }
    std::int32_t sum = 9;
    for (std::size_t i = 1; i < digits; ++i) {
        if (sum > (std::numeric_limits<std::int32_t>::max() - 9) / 10) {
            return std::nullopt;
        }
        sum = sum * 10 + 9;
    }
    return sum;
}

InputOutcome PairBook::InputNumber(std::u16string_view typed)
{
    const double value = NumericValue(typed);
    if (!(value > 0.0)) {
        return InputOutcome::Refused;
    }
    const std::optional<std::int32_t> entry = RoundToInteger(value);
    if (!entry) {
        return InputOutcome::TooLarge;
    }
    const std::size_t length = TextLength(typed);
    const bool grows = length > maxDigits_.value_or(0);
    const std::optional<std::int32_t> newMaxSum = grows ? MaxSumForDigits(length) : maxSum_;
    if (!newMaxSum) {
        return InputOutcome::TooLarge;
    }

    // Everything that can be refused has been. The book changes only where
    // nothing can fail any more: should memory run out, it stays as it was.
    std::u16string entryText = IntegerText(*entry);
    if (grows) {
        std::vector<std::u16string> complements = ComplementsFor(*newMaxSum, entryText);
        entries_.push_back(std::move(entryText));
        complements_ = std::move(complements);
        maxDigits_ = length;
        maxSum_ = *newMaxSum;
        return InputOutcome::Rebuilt;
    }
    std::u16string complement = ComplementOf(entryText, maxSum_);
    entries_.push_back(std::move(entryText));
    try {
        complements_.push_back(std::move(complement));
    } catch (...) {
        entries_.pop_back();
        throw;
    }
    return InputOutcome::Appended;
}

void PairBook::ClearAll()
{
    maxDigits_ = 1;
    entries_.clear();
    complements_.clear();
    maxSum_ = 9;
}

std::u16string PairBook::OutputPairs() const
{
    const std::u16string sum = IntegerText(maxSum_);
    const std::size_t fixedPerLine = kPlus.size() + kEquals.size() + sum.size() + kLineEnd.size();
    std::size_t total = 0;
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        total += entries_[k].size() + complements_[k].size() + fixedPerLine;
    }
    std::u16string report;
    report.reserve(total);
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        report.append(entries_[k])
            .append(kPlus)
            .append(complements_[k])
            .append(kEquals)
            .append(sum)
            .append(kLineEnd);
    }
    return report;
}

// A complement is always read back from the stored, rounded entry, whether it
// is appended alone or redone with all the others, so the two ways agree.
// Entries are whole numbers, so their complements are too: no complement is
// ever written with a decimal separator.
std::u16string PairBook::ComplementOf(std::u16string_view entry, std::int32_t maxSum) const
{
    return RealText(static_cast<double>(maxSum) - NumericValue(entry), u'.');
}

std::vector<std::u16string> PairBook::ComplementsFor(std::int32_t maxSum,
                                                     std::u16string_view newEntry) const
{
    std::vector<std::u16string> complements;
    complements.reserve(entries_.size() + 1);
    for (const std::u16string& entry : entries_) {
        complements.push_back(ComplementOf(entry, maxSum));
    }
    complements.push_back(ComplementOf(newEntry, maxSum));
    return complements;
}

}  // namespace velmora
