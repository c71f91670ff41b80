// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Random texts a user could type or paste into the number field, drawn from
// a grammar of the awkward ones: blanks, signs, leading zeros, fractions and
// exact halves, exponents, letters after digits, texts of nine and ten
// characters, values around the 32-bit limit, control characters, foreign
// digits, very long texts. The same seed gives the same texts, with any
// compiler and standard library.
#pragma once

#include <cstdint>
#include <random>
#include <string>

class AwkwardInputs {
public:
    explicit AwkwardInputs(std::uint64_t seed) : random_(seed) {}

    std::u16string Next()
    {
        switch (Below(20)) {
        case 0: return Special();
        case 1: return Long();
        case 2: return Foreign();
        default: return Composed();
        }
    }

    // 0 to n-1; spelled out rather than a standard distribution, whose
    // numbers differ between standard libraries.
    int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }

private:
    std::u16string Digits(int count)
    {
        std::u16string digits;
        for (int i = 0; i < count; ++i) {
            digits.push_back(static_cast<char16_t>(u'0' + Below(10)));
        }
        return digits;
    }

    // Blanks, sign, digits, fraction, exponent and a tail, each maybe.
    std::u16string Composed()
    {
        std::u16string text;
        for (int blanks = Below(6) < 4 ? 0 : Below(3) + 1; blanks > 0; --blanks) {
            text.push_back(Below(3) == 0 ? u'\t' : u' ');
        }
        if (const int sign = Below(10); sign == 0) {
            text.push_back(u'-');
        } else if (sign == 1) {
            text.push_back(u'+');
        }
        if (Below(6) == 0) {
            text.append(static_cast<std::size_t>(Below(4) + 1), u'0');  // leading zeros
        }
        text += Digits(Below(3) == 0 ? Below(11) : Below(4) + 1);
        if (const int fraction = Below(6); fraction == 0) {
            text += u".5";  // an exact half
        } else if (fraction == 1) {
            text.push_back(u'.');
            text += Digits(Below(4));
        }
        if (Below(12) == 0) {
            static constexpr char16_t marks[] = u"EeDd";
            text.push_back(marks[Below(4)]);
            if (const int sign = Below(3); sign > 0) {
                text.push_back(sign == 1 ? u'-' : u'+');
            }
            text += Digits(Below(3));
        }
        if (Below(10) == 0) {
            static const std::u16string tails[] = {u"abc", u" 12", u",5", u"x", u".", u"\r\n7"};
            text += tails[Below(6)];
        }
        return text;
    }

    std::u16string Special()
    {
        static const std::u16string specials[] = {
            u"",           u"   ",          u"\t",           u"0",          u"-0",
            u"0.4",        u"0.5",          u"1.5",          u"2.5",        u"3.5",
            u"100000000",  u"999999999",    u"0000000001",   u"1000000000", u"2147483647",
            u"2E9",        u"3E9",          u"2147483647.4", u"2147483647.5",
            u"-2147483648.5", u"1E400",     u"1E-400",       u"1E5",        u"12.5",
            u".",          u"+",            u"-",            u"E5",         u"0042",
        };
        return specials[Below(static_cast<int>(std::size(specials)))];
    }

    std::u16string Long()
    {
        const auto length = static_cast<std::size_t>(Below(3) == 0 ? 20000 : Below(60) + 10);
        switch (Below(3)) {
        case 0: return Digits(static_cast<int>(length));
        case 1: return std::u16string(length, u'a');
        default: return std::u16string(length - 1, u' ') + u'7';
        }
    }

    // Characters that are no digits to the reading, or no characters at all.
    std::u16string Foreign()
    {
        static const std::u16string foreign[] = {
            u"\uff14\uff12",          // full-width digits
            u"\u0664\u0662",          // Arabic-Indic digits
            u"\u200f42",              // right-to-left mark first
            u"42\u200f",              // right-to-left mark after
            std::u16string(u"4\u00002", 3),  // embedded NUL
            u"\xd800" u"42",          // lone high surrogate
            u"42\xdc00",              // lone low surrogate
            u"\x01\x02\x1b",          // control characters
            u"\u00a042",              // no-break space
            u"\U0001F600",            // a surrogate pair
        };
        return foreign[Below(static_cast<int>(std::size(foreign)))];
    }

    std::mt19937_64 random_;
};
