// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// One digest of everything the program's logic answers along the model
// test's command sequences: each outcome, each report, and the number rules
// on each typed text. Every build (GCC with libstdc++, Clang with libc++,
// MinGW for Windows, Emscripten for the web) must print the same digest as
// the one kept in behaviour_digest.txt; a difference means that a build
// behaves differently.
//
//   behaviour_digest [EXPECTED]   prints the digest; with EXPECTED, fails
//                                 unless the two agree
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "logic/pair_book.h"
#include "runtime/number_text.h"
#include "tests/command_sequences.h"

using namespace velmora;

namespace {

// 64-bit FNV-1a.
class Digest {
public:
    void Add(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            value_ = (value_ ^ bytes[i]) * 0x100000001b3;
        }
    }
    void Add(std::u16string_view text)
    {
        Add(std::uint64_t{text.size()});
        for (const char16_t c : text) {
            Add(std::uint16_t{c});
        }
    }
    template <typename Number>
        requires std::is_arithmetic_v<Number>
    void Add(Number number)
    {
        unsigned char bytes[sizeof number];
        std::memcpy(bytes, &number, sizeof number);
        Add(bytes, sizeof number);
    }
    std::uint64_t Value() const { return value_; }

private:
    std::uint64_t value_ = 0xcbf29ce484222325;
};

// The number rules on one text: its value, rounded value and real texts.
void AddNumberRules(Digest& digest, std::u16string_view typed)
{
    const double value = NumericValue(typed);
    digest.Add(value);
    const std::optional<std::int32_t> rounded = RoundToInteger(value);
    digest.Add(rounded.value_or(0));
    digest.Add(rounded.has_value());
    if (std::isfinite(value)) {
        digest.Add(RealText(value, u','));
        digest.Add(RealText(value / 7.0, u'.'));  // fractions, which entries never have
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Digest digest;
    for (std::uint64_t seed = 1; seed <= kSequenceCount; ++seed) {
        CommandSequence commands(seed);
        PairBook book;
        for (int step = 0; step < kStepsPerSequence; ++step) {
            const Command command = commands.Next();
            switch (command.kind) {
            case Command::Start:
                book = PairBook();
                break;
            case Command::Clear:
                book.ClearAll();
                break;
            case Command::Report:
                digest.Add(book.OutputPairs());
                break;
            case Command::Enter:
                digest.Add(static_cast<int>(book.InputNumber(command.typed)));
                AddNumberRules(digest, command.typed);
                break;
            }
            digest.Add(book.MaxSum());
            digest.Add(std::uint64_t{book.MaxDigits().value_or(0)});
            digest.Add(std::uint64_t{book.Entries().size()});
        }
        digest.Add(book.OutputPairs());
    }

    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest.Value()));
    std::printf("%s\n", text);
    if (argc > 1 && std::string_view(argv[1]) != text) {
        std::fprintf(stderr,
                     "behaviour_digest: this build answers differently: %s, expected %s.\n"
                     "If the program's behaviour was changed on purpose, keep the new digest in "
                     "tests/behaviour_digest.txt.\n",
                     text, argv[1]);
        return 1;
    }
    return 0;
}
