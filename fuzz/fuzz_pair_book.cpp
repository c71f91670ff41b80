// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Any sequence of commands on the pair book. Each command is one byte: 0
// clears, 1 reports, anything else enters a text whose length in characters
// is the next byte, its characters following, two bytes each.
#include <charconv>
#include <cstdint>
#include <string_view>
#include <tuple>

#include "fuzz/fuzz_text.h"
#include "logic/pair_book.h"

using namespace velmora;

namespace {

// Every report line reads "a + b = s" with a + b = s.
void CheckReport(const PairBook& book)
{
    const std::u16string report = book.OutputPairs();
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < report.size()) {
        const std::size_t end = report.find(u"\r\n", start);
        FUZZ_CHECK(end != std::u16string::npos);
        std::string line(report.begin() + std::ptrdiff_t(start), report.begin() + std::ptrdiff_t(end));
        long long a = 0, b = 0, sum = 0;
        const char* p = line.data();
        const char* last = p + line.size();
        auto r = std::from_chars(p, last, a);
        FUZZ_CHECK(r.ec == std::errc{} && std::string_view(r.ptr, 3) == " + ");
        r = std::from_chars(r.ptr + 3, last, b);
        FUZZ_CHECK(r.ec == std::errc{} && std::string_view(r.ptr, 3) == " = ");
        r = std::from_chars(r.ptr + 3, last, sum);
        FUZZ_CHECK(r.ec == std::errc{} && r.ptr == last && a + b == sum && sum == book.MaxSum());
        start = end + 2;
        ++lines;
    }
    FUZZ_CHECK(lines == book.Entries().size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PairBook book;
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t command = data[at++];
        if (command == 0) {
            book.ClearAll();
        } else if (command == 1) {
            CheckReport(book);
        } else {
            const std::size_t length = at < size ? data[at++] : 0;
            const std::size_t bytes = std::min(length * 2, size - at);
            const std::u16string typed = TextFromBytes(data + at, bytes);
            at += bytes;
            const auto before = std::make_tuple(book.Entries(), book.Complements(), book.MaxDigits(), book.MaxSum());
            const InputOutcome outcome = book.InputNumber(typed);
            if (!IsAccepted(outcome)) {
                FUZZ_CHECK(before == std::make_tuple(book.Entries(), book.Complements(), book.MaxDigits(), book.MaxSum()));
            }
        }
        FUZZ_CHECK(book.Entries().size() == book.Complements().size());
        if (book.MaxDigits()) {
            FUZZ_CHECK(*book.MaxDigits() <= 9);
            FUZZ_CHECK(PairBook::MaxSumForDigits(*book.MaxDigits()) == book.MaxSum());
        }
    }
    CheckReport(book);
    return 0;
}
