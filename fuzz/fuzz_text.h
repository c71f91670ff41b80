// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Fuzzer bytes as a text of 16-bit characters, two bytes each, low byte first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline std::u16string TextFromBytes(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    return text;
}

// Stops the fuzzer with a finding when a promise is broken.
#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) { \
            __builtin_trap(); \
        } \
    } while (false)
