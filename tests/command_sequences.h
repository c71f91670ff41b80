// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Random sequences of what a user does: mostly a number typed and entered,
// now and then the report, a clearing, or the program started anew. Starts
// and clearings come often enough that each sequence reaches every state a
// pair book can be in, the state at start included, many times over. The
// same seed gives the same sequence in every build.
#pragma once

#include <cstdint>
#include <string>

#include "tests/awkward_inputs.h"

struct Command {
    enum Kind { Start, Clear, Report, Enter };
    Kind kind;
    std::u16string typed;  // for Enter
};

// The sequences the model test checks and every build replays alike.
inline constexpr std::uint64_t kSequenceCount = 100;
inline constexpr int kStepsPerSequence = 10000;

class CommandSequence {
public:
    explicit CommandSequence(std::uint64_t seed) : inputs_(seed) {}

    Command Next()
    {
        const int roll = inputs_.Below(100);
        if (roll < 2) {
            return {Command::Start, {}};
        }
        if (roll < 4) {
            return {Command::Clear, {}};
        }
        if (roll < 9) {
            return {Command::Report, {}};
        }
        return {Command::Enter, inputs_.Next()};
    }

private:
    AwkwardInputs inputs_;
};
