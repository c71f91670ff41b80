// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The pair book alone, at 1,000, 32,767 and 100,000 entries.
#include <benchmark/benchmark.h>

#include <string>

#include "logic/pair_book.h"

using velmora::PairBook;

namespace {

// A book of `count` entries of up to four digits, with a maximal sum of four
// digits: a text of up to four characters appends, a longer one rebuilds.
PairBook BookOf(std::int64_t count)
{
    PairBook book;
    book.InputNumber(u"1000");
    for (std::int64_t i = 1; i < count; ++i) {
        const std::string digits = std::to_string(1 + i % 9999);
        book.InputNumber(std::u16string(digits.begin(), digits.end()));
    }
    return book;
}

// Appending is constant time amortized over the lists' growth: measured over
// a tenth of the book's size in appends, then the book is made anew.
void InputWithoutRebuild(benchmark::State& state)
{
    PairBook book = BookOf(state.range(0));
    std::int64_t appended = 0;
    for (auto _ : state) {
        book.InputNumber(u"4242");
        if (++appended == state.range(0) / 10) {
            state.PauseTiming();
            book = BookOf(state.range(0));
            appended = 0;
            state.ResumeTiming();
        }
    }
}

// Times `command` on a fresh copy of a filled book each time; the copying
// and freeing stay outside the timing.
template <typename Command>
void OnFreshCopies(benchmark::State& state, Command command)
{
    const PairBook filled = BookOf(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        PairBook book = filled;
        state.ResumeTiming();
        command(book);
        benchmark::DoNotOptimize(book);
        state.PauseTiming();
        book = PairBook();
        state.ResumeTiming();
    }
}

void InputWithRebuild(benchmark::State& state)
{
    OnFreshCopies(state, [](PairBook& book) { book.InputNumber(u"424242"); });
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void OutputPairs(benchmark::State& state)
{
    const PairBook book = BookOf(state.range(0));
    std::size_t length = 0;
    for (auto _ : state) {
        const std::u16string report = book.OutputPairs();
        length = report.size();
        benchmark::DoNotOptimize(report.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * length * sizeof(char16_t)));
}

void ClearAll(benchmark::State& state)
{
    OnFreshCopies(state, [](PairBook& book) { book.ClearAll(); });
}

}  // namespace

#define AT_EACH_SIZE Arg(1000)->Arg(32767)->Arg(100000)->Unit(benchmark::kMicrosecond)
BENCHMARK(InputWithoutRebuild)->AT_EACH_SIZE;
BENCHMARK(InputWithRebuild)->AT_EACH_SIZE;
BENCHMARK(OutputPairs)->AT_EACH_SIZE;
BENCHMARK(ClearAll)->AT_EACH_SIZE;

BENCHMARK_MAIN();
