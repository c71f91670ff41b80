// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The window scenarios of window_scenarios.txt, read into steps and checks
// for a window test to play on its own edition's window. Standard C++ only,
// so that every edition's tests can read them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenarios {

struct Line {
    std::string verb;          // type, press, key, pick, copy, field, selected, entries, ...
    std::u16string argument;   // the rest of the line, unquoted
    int number = 0;            // its line in the file, for a failure's message
};

struct Scenario {
    std::u16string name;
    std::vector<Line> lines;
};

inline std::u16string FromUtf8(std::string_view utf8)
{
    std::u16string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const int extra = byte < 0x80 ? 0 : byte < 0xe0 ? 1 : byte < 0xf0 ? 2 : 3;
        char32_t c = extra == 0 ? byte : byte & (0x3f >> extra);
        for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < utf8.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3f);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (c >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xd800 + ((c - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xdc00 + ((c - 0x10000) & 0x3ff)));
        } else {
            text.push_back(static_cast<char16_t>(c));
        }
    }
    return text;
}

// The scenarios of the file's text, in their order.
inline std::vector<Scenario> Read(std::string_view file)
{
    std::vector<Scenario> all;
    int number = 0;
    while (!file.empty()) {
        const std::size_t end = file.find('\n');
        std::string_view line = file.substr(0, end);
        file = end == std::string_view::npos ? std::string_view{} : file.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t blank = line.find(' ');
        Line parsed{std::string(line.substr(0, blank)), {}, number};
        std::string_view argument = blank == std::string_view::npos ? "" : line.substr(blank + 1);
        if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
            argument = argument.substr(1, argument.size() - 2);
        }
        parsed.argument = FromUtf8(argument);
        if (parsed.verb == "scenario") {
            all.push_back({parsed.argument, {}});
        } else if (!all.empty()) {
            all.back().lines.push_back(std::move(parsed));
        }
    }
    return all;
}

// The parts of a list argument: "57 92" for entries, "a; b" for lines.
inline std::vector<std::u16string> Split(std::u16string_view argument, std::u16string_view separator)
{
    std::vector<std::u16string> parts;
    while (!argument.empty()) {
        const std::size_t at = argument.find(separator);
        parts.emplace_back(argument.substr(0, at));
        argument = at == std::u16string_view::npos ? std::u16string_view{}
                                                   : argument.substr(at + separator.size());
    }
    return parts;
}

// The text of a report or clipboard check: each line ended by the given line end.
inline std::u16string Lines(std::u16string_view argument, std::u16string_view lineEnd)
{
    std::u16string text;
    for (const std::u16string& line : Split(argument, u"; ")) {
        text += line;
        text += lineEnd;
    }
    return text;
}

}  // namespace scenarios
