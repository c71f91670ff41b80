// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Random command sequences run against the pair book and against a small
// reference model written here from the rules, compared after every step.
// A failure names its seed and step; VELMORA_SEED=N and VELMORA_STEPS=N run
// one sequence again.
#include <QTest>
#include <cfenv>
#include <charconv>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "logic/pair_book.h"
#include "tests/command_sequences.h"
#include "tests/text_conversion.h"

using namespace velmora;

namespace {

// The rules, as plainly as they can be written: a hand-made scanner in front
// of strtod, the floating-point unit's own rounding, printf's %G.
class ReferenceBook {
public:
    std::vector<std::string> entries;
    std::vector<std::string> complements;
    long maxDigits = -1;  // unset
    long maxSum = 0;

    enum class Outcome { Refused, TooLarge, Accepted };

    static double Value(const std::u16string& text)
    {
        std::size_t i = 0;
        while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
            ++i;
        }
        std::string number;
        auto digit = [&](std::size_t at) { return at < text.size() && text[at] >= u'0' && text[at] <= u'9'; };
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
            number += static_cast<char>(text[i++]);
        }
        bool anyDigit = false;
        while (digit(i)) {
            number += static_cast<char>(text[i++]);
            anyDigit = true;
        }
        if (i < text.size() && text[i] == u'.') {
            number += '.';
            ++i;
            while (digit(i)) {
                number += static_cast<char>(text[i++]);
                anyDigit = true;
            }
        }
        if (!anyDigit) {
            return 0.0;
        }
        if (i < text.size() && std::u16string_view(u"EeDd").find(text[i]) != std::u16string_view::npos) {
            std::size_t j = i + 1;
            std::string exponent = "e";
            if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
                exponent += static_cast<char>(text[j++]);
            }
            if (digit(j)) {
                while (digit(j)) {
                    exponent += static_cast<char>(text[j++]);
                }
                number += exponent;
            }
        }
        return std::strtod(number.c_str(), nullptr);
    }

    static std::string RealText(double value)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15G", value);
        return buffer;
    }

    Outcome Input(const std::u16string& typed)
    {
        const double value = Value(typed);
        if (!(value > 0.0)) {
            return Outcome::Refused;
        }
        const double rounded = std::nearbyint(value);
        if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
            return Outcome::TooLarge;
        }
        const auto length = static_cast<long>(typed.size());
        const bool grows = length > std::max(maxDigits, 0L);
        if (grows && length > 9) {
            return Outcome::TooLarge;
        }
        entries.push_back(std::to_string(static_cast<long>(rounded)));
        if (grows) {
            maxDigits = length;
            maxSum = 0;
            for (long i = 0; i < length; ++i) {
                maxSum = maxSum * 10 + 9;
            }
            complements.clear();
            for (const std::string& entry : entries) {
                complements.push_back(RealText(double(maxSum) - std::strtod(entry.c_str(), nullptr)));
            }
        } else {
            complements.push_back(RealText(double(maxSum) - rounded));
        }
        return Outcome::Accepted;
    }

    void Clear()
    {
        entries.clear();
        complements.clear();
        maxDigits = 1;
        maxSum = 9;
    }

    std::string Report() const
    {
        std::string report;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            report += entries[k] + " + " + complements[k] + " = " + std::to_string(maxSum) + "\r\n";
        }
        return report;
    }
};

std::string Ascii(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

bool Same(const std::u16string& text, const std::string& ascii)
{
    return std::equal(text.begin(), text.end(), ascii.begin(), ascii.end(),
                      [](char16_t a, char b) { return a == static_cast<unsigned char>(b); });
}

bool Same(const std::vector<std::u16string>& texts, const std::vector<std::string>& ascii)
{
    return std::equal(texts.begin(), texts.end(), ascii.begin(), ascii.end(),
                      [](const std::u16string& a, const std::string& b) { return Same(a, b); });
}

// What differs between the book and the model, if anything.
const char* Difference(const PairBook& book, const ReferenceBook& model, std::string& report)
{
    if (book.Entries().size() != book.Complements().size()) {
        return "the lists differ in length";
    }
    if (!Same(book.Entries(), model.entries)) {
        return "the entries differ";
    }
    if (!Same(book.Complements(), model.complements)) {
        return "the complements differ";
    }
    if (static_cast<long>(book.MaxDigits() ? *book.MaxDigits() : -1) != model.maxDigits) {
        return "MaxDigits differs";
    }
    if (book.MaxSum() != model.maxSum) {
        return "MaxSum differs";
    }
    report = Ascii(book.OutputPairs());
    if (report != model.Report()) {
        return "the report differs";
    }
    return nullptr;
}

// Every line reads "a + b = s" with a + b = s exactly.
bool LinesAddUp(std::string_view report)
{
    while (!report.empty()) {
        long long a = 0, b = 0, sum = 0;
        const char* p = report.data();
        const char* end = p + report.size();
        auto number = [&](long long& value, std::string_view after) {
            const auto [next, error] = std::from_chars(p, end, value);
            if (error != std::errc{} || std::string_view(next, std::size_t(end - next)).substr(0, after.size()) != after) {
                return false;
            }
            p = next + after.size();
            return true;
        };
        if (!number(a, " + ") || !number(b, " = ") || !number(sum, "\r\n") || a + b != sum) {
            return false;
        }
        report.remove_prefix(std::size_t(p - report.data()));
    }
    return true;
}

std::string Printable(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text.substr(0, 40)) {
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char escape[10];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
            out += escape;
        }
    }
    return text.size() > 40 ? out + "... (" + std::to_string(text.size()) + " characters)" : out;
}

}  // namespace

class TestModel : public QObject {
    Q_OBJECT
private slots:
    void randomSequences_data();
    void randomSequences();
};

void TestModel::randomSequences_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("steps");
    if (const char* seed = std::getenv("VELMORA_SEED")) {
        const char* steps = std::getenv("VELMORA_STEPS");
        QTest::newRow("replay") << quint64(std::strtoull(seed, nullptr, 10))
                                << (steps ? std::atoi(steps) : kStepsPerSequence);
        return;
    }
    for (quint64 seed = 1; seed <= kSequenceCount; ++seed) {
        QTest::addRow("seed %llu", seed) << seed << VELMORA_MODEL_STEPS;
    }
}

void TestModel::randomSequences()
{
    QFETCH(quint64, seed);
    QFETCH(int, steps);
    QCOMPARE(std::fegetround(), FE_TONEAREST);

    CommandSequence commands(seed);
    PairBook book;
    ReferenceBook model;
    std::string history;  // the steps since the last start or clear, for a failure's message
    std::string report;
    for (int step = 0; step < steps; ++step) {
        const char* failure = nullptr;
        const Command command = commands.Next();
        switch (command.kind) {
        case Command::Start:
            book = PairBook();
            model = ReferenceBook();
            history = "\n  (started)";
            break;
        case Command::Clear:
            book.ClearAll();
            model.Clear();
            history = "\n  Изчисти";
            break;
        case Command::Report:
            history += "\n  Изведи";
            break;
        case Command::Enter: {
            history += "\n  Въведи \"" + Printable(command.typed) + "\"";
            const auto before = std::make_tuple(book.Entries(), book.Complements(),
                                                book.MaxDigits(), book.MaxSum());
            const InputOutcome outcome = book.InputNumber(command.typed);
            switch (model.Input(command.typed)) {
            case ReferenceBook::Outcome::Refused:
                failure = outcome == InputOutcome::Refused ? nullptr : "not refused";
                break;
            case ReferenceBook::Outcome::TooLarge:
                failure = outcome == InputOutcome::TooLarge ? nullptr : "not rejected as too large";
                break;
            case ReferenceBook::Outcome::Accepted:
                failure = IsAccepted(outcome) ? nullptr : "not accepted";
                break;
            }
            if (!failure && !IsAccepted(outcome)
                && before != std::make_tuple(book.Entries(), book.Complements(), book.MaxDigits(),
                                             book.MaxSum())) {
                failure = "a rejected text changed the book";
            }
            break;
        }
        }
        if (!failure) {
            failure = Difference(book, model, report);
        }
        if (!failure && !LinesAddUp(report)) {
            failure = "a report line does not add up";
        }
        if (failure) {
            QFAIL(qPrintable(QString("%1 at seed %2, step %3, after:%4")
                                 .arg(failure).arg(seed).arg(step)
                                 .arg(QString::fromStdString(history))));
        }
    }
}

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
