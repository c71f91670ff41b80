// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <new>

#include "logic/pair_book.h"
#include "tests/text_conversion.h"

using namespace velmora;

Q_DECLARE_METATYPE(velmora::InputOutcome)

namespace {

// While not negative, the count of allocations that succeed before one fails.
std::atomic<long> allocationsBeforeFailure{-1};

}  // namespace

void* operator new(std::size_t size)
{
    if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
// Kept out of line: inlined, GCC 14 would see free() on memory from operator
// new at every delete in the program and warn of a mismatch.
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

// Everything the book holds, for comparing a book before and after a command.
struct Snapshot {
    QStringList entries;
    QStringList complements;
    int maxDigits;  // -1 while unset
    int maxSum;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const PairBook& book)
{
    return {Q(book.Entries()), Q(book.Complements()),
            book.MaxDigits() ? static_cast<int>(*book.MaxDigits()) : -1, book.MaxSum()};
}

char* toString(const Snapshot& s)
{
    return qstrdup(QString("entries [%1] complements [%2] MaxDigits %3 MaxSum %4")
                       .arg(s.entries.join(' '), s.complements.join(' '))
                       .arg(s.maxDigits)
                       .arg(s.maxSum)
                       .toUtf8());
}

PairBook BookWith(const QStringList& typed)
{
    PairBook book;
    for (const QString& text : typed) {
        book.InputNumber(U16(text));
    }
    return book;
}

}  // namespace

class TestPairBook : public QObject {
    Q_OBJECT
private slots:
    void startsEmpty();
    void sequence_data();
    void sequence();
    void refusedChangesNothing_data();
    void refusedChangesNothing();
    void tooLargeChangesNothing_data();
    void tooLargeChangesNothing();
    void pastedTextsChangeNothing_data();
    void pastedTextsChangeNothing();
    void maxSumForDigits_data();
    void maxSumForDigits();
    void clearAll();
    void firstEntry_data();
    void firstEntry();
    void outOfMemoryChangesNothing_data();
    void outOfMemoryChangesNothing();
    void report_data();
    void report();
    void fortyThousandEntries();
};

void TestPairBook::startsEmpty()
{
    const PairBook book;
    QCOMPARE(Take(book), (Snapshot{{}, {}, -1, 0}));
    QCOMPARE(Q(book.OutputPairs()), QString());
}

void TestPairBook::sequence_data()
{
    using O = InputOutcome;
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QList<InputOutcome>>("outcomes");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("complements");
    QTest::addColumn<int>("maxDigits");
    QTest::addColumn<int>("maxSum");

    QTest::newRow("first entry rebuilds")
        << QStringList{"42"} << QList{O::Rebuilt} << QStringList{"42"} << QStringList{"57"} << 2
        << 99;
    QTest::newRow("shorter entry appends")
        << QStringList{"42", "7"} << QList{O::Rebuilt, O::Appended} << QStringList{"42", "7"}
        << QStringList{"57", "92"} << 2 << 99;
    QTest::newRow("longer entry redoes all")
        << QStringList{"42", "7", "123"} << QList{O::Rebuilt, O::Appended, O::Rebuilt}
        << QStringList{"42", "7", "123"} << QStringList{"957", "992", "876"} << 3 << 999;
    QTest::newRow("equal length appends")
        << QStringList{"42", "99", "10"} << QList{O::Rebuilt, O::Appended, O::Appended}
        << QStringList{"42", "99", "10"} << QStringList{"57", "0", "89"} << 2 << 99;
    QTest::newRow("typed length counts, not stored")
        << QStringList{"0042"} << QList{O::Rebuilt} << QStringList{"42"} << QStringList{"9957"}
        << 4 << 9999;
    QTest::newRow("blanks count in the length")
        << QStringList{"  7"} << QList{O::Rebuilt} << QStringList{"7"} << QStringList{"992"} << 3
        << 999;
    QTest::newRow("appended from the rounded entry")
        << QStringList{"0042", "12.5"} << QList{O::Rebuilt, O::Appended}
        << QStringList{"42", "12"} << QStringList{"9957", "9987"} << 4 << 9999;
    QTest::newRow("rebuild agrees with append")
        << QStringList{"0042", "12.5", "12345"} << QList{O::Rebuilt, O::Appended, O::Rebuilt}
        << QStringList{"42", "12", "12345"} << QStringList{"99957", "99987", "87654"} << 5
        << 99999;
    QTest::newRow("0.4 stored as 0")
        << QStringList{"0.4"} << QList{O::Rebuilt} << QStringList{"0"} << QStringList{"999"}
        << 3 << 999;
    QTest::newRow("halves to even")
        << QStringList{"2.5", "3.5"} << QList{O::Rebuilt, O::Appended}
        << QStringList{"2", "4"} << QStringList{"997", "995"} << 3 << 999;
    QTest::newRow("value beyond its length")
        << QStringList{"1E5"} << QList{O::Rebuilt} << QStringList{"100000"}
        << QStringList{"-99001"} << 3 << 999;
    QTest::newRow("large value in few characters")
        << QStringList{"2E9"} << QList{O::Rebuilt} << QStringList{"2000000000"}
        << QStringList{"-1999999001"} << 3 << 999;
    QTest::newRow("nine characters fit")
        << QStringList{"100000000"} << QList{O::Rebuilt} << QStringList{"100000000"}
        << QStringList{"899999999"} << 9 << 999999999;
    QTest::newRow("same text twice")
        << QStringList{"42", "42"} << QList{O::Rebuilt, O::Appended}
        << QStringList{"42", "42"} << QStringList{"57", "57"} << 2 << 99;
    QTest::newRow("refusal in between")
        << QStringList{"42", "abc", "7"} << QList{O::Rebuilt, O::Refused, O::Appended}
        << QStringList{"42", "7"} << QStringList{"57", "92"} << 2 << 99;
}

void TestPairBook::sequence()
{
    QFETCH(QStringList, typed);
    QFETCH(QList<InputOutcome>, outcomes);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, complements);
    QFETCH(int, maxDigits);
    QFETCH(int, maxSum);

    PairBook book;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        QCOMPARE(book.InputNumber(U16(typed[i])), outcomes[i]);
        QCOMPARE(book.Complements().size(), book.Entries().size());
    }
    QCOMPARE(Take(book), (Snapshot{entries, complements, maxDigits, maxSum}));
}

void TestPairBook::refusedChangesNothing_data()
{
    QTest::addColumn<QString>("typed");
    for (const char* text : {"", "   ", "0", "0.0", "-5", "-0.1", "+0", "0E5", ".", "abc",
                             "1E-400", "-3E9", "-1E400"}) {
        QTest::newRow(*text ? text : "empty") << QString(text);
    }
}

void TestPairBook::refusedChangesNothing()
{
    QFETCH(QString, typed);
    PairBook book = BookWith({"42", "7"});
    const Snapshot before = Take(book);
    QCOMPARE(book.InputNumber(U16(typed)), InputOutcome::Refused);
    QCOMPARE(Take(book), before);
}

void TestPairBook::tooLargeChangesNothing_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");

    QTest::newRow("upper half") << QStringList{"42", "7"} << "2147483647.5";
    QTest::newRow("value overflows in few characters") << QStringList{"42", "7"} << "3E9";
    QTest::newRow("infinite value") << QStringList{"42", "7"} << "1E400";
    QTest::newRow("ten characters") << QStringList{"42", "7"} << "0000000001";
    QTest::newRow("ten digits") << QStringList{"42", "7"} << "1234567890";
    QTest::newRow("ten characters with blanks") << QStringList{"42"} << "        42";
    QTest::newRow("ten characters at nine digits") << QStringList{"100000000"} << "1000000000";
    QTest::newRow("ten characters at start") << QStringList{} << "1234567890";
    QTest::newRow("a megabyte of digits") << QStringList{"42"} << QString(1 << 20, '7');
}

void TestPairBook::tooLargeChangesNothing()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    PairBook book = BookWith(before);
    const Snapshot snapshot = Take(book);
    const std::u16string report = book.OutputPairs();
    QCOMPARE(book.InputNumber(U16(typed)), InputOutcome::TooLarge);
    QCOMPARE(Take(book), snapshot);
    QVERIFY(book.OutputPairs() == report);
}

void TestPairBook::pastedTextsChangeNothing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<InputOutcome>("outcome");
    const auto text = [](std::u16string_view units) {
        return QString::fromUtf16(units.data(), qsizetype(units.size()));
    };
    using O = InputOutcome;
    QTest::newRow("a megabyte of letters") << QString(1 << 20, 'x') << O::Refused;
    QTest::newRow("a megabyte of blanks, then 7") << QString((1 << 20) - 1, ' ') + "7" << O::TooLarge;
    QTest::newRow("a megabyte of digits") << QString(1 << 20, '9') << O::TooLarge;
    QTest::newRow("control characters") << text(u"\x01\x02\x1b\x7f") << O::Refused;
    QTest::newRow("line feed first") << text(u"\n42") << O::Refused;
    QTest::newRow("embedded NUL first") << text(std::u16string_view(u"\0" u"42", 3)) << O::Refused;
    QTest::newRow("lone high surrogate") << text(u"\xd800" u"42") << O::Refused;
    QTest::newRow("lone low surrogate") << text(u"\xdc00") << O::Refused;
    QTest::newRow("right-to-left mark") << text(u"\u200f42") << O::Refused;
    QTest::newRow("full-width digits") << text(u"\uff14\uff12") << O::Refused;
    QTest::newRow("Arabic-Indic digits") << text(u"\u0664\u0662") << O::Refused;
    QTest::newRow("Eastern Arabic-Indic digits") << text(u"\u06f4\u06f2") << O::Refused;
    QTest::newRow("Devanagari digits") << text(u"\u096a\u0968") << O::Refused;
}

// Texts pasted from anywhere: refused or rejected, and the book as it was.
void TestPairBook::pastedTextsChangeNothing()
{
    QFETCH(QString, typed);
    QFETCH(InputOutcome, outcome);
    PairBook book = BookWith({"42", "7"});
    const Snapshot before = Take(book);
    QCOMPARE(book.InputNumber(U16(typed)), outcome);
    QCOMPARE(Take(book), before);
}

void TestPairBook::maxSumForDigits_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("sum");  // -1: does not fit
    QTest::newRow("none") << 0 << -1;
    QTest::newRow("1") << 1 << 9;
    QTest::newRow("2") << 2 << 99;
    QTest::newRow("9") << 9 << 999999999;
    QTest::newRow("10") << 10 << -1;
    QTest::newRow("a million") << 1000000 << -1;
}

void TestPairBook::maxSumForDigits()
{
    QFETCH(int, digits);
    QFETCH(int, sum);
    const auto actual = PairBook::MaxSumForDigits(static_cast<std::size_t>(digits));
    QCOMPARE(actual.value_or(-1), sum);
}

void TestPairBook::clearAll()
{
    PairBook book = BookWith({"42", "7", "123"});
    book.ClearAll();
    QCOMPARE(Take(book), (Snapshot{{}, {}, 1, 9}));
    QCOMPARE(Q(book.OutputPairs()), QString());

    // One digit does not grow the sum of one digit, yet pairs as from start.
    QCOMPARE(book.InputNumber(u"5"), InputOutcome::Appended);
    QCOMPARE(book.InputNumber(u"42"), InputOutcome::Rebuilt);
    QCOMPARE(Take(book), (Snapshot{{"5", "42"}, {"94", "57"}, 2, 99}));
}

void TestPairBook::firstEntry_data()
{
    using O = InputOutcome;
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<InputOutcome>("outcome");
    QTest::addColumn<QString>("complement");
    QTest::addColumn<int>("maxSum");
    for (const bool cleared : {false, true}) {
        const char* when = cleared ? "after Изчисти" : "at start";
        QTest::addRow("one character %s", when) << cleared << "7" << (cleared ? O::Appended : O::Rebuilt) << "2" << 9;
        QTest::addRow("two characters %s", when) << cleared << "42" << O::Rebuilt << "57" << 99;
        QTest::addRow("nine characters %s", when) << cleared << "100000000" << O::Rebuilt << "899999999" << 999999999;
        QTest::addRow("ten characters %s", when) << cleared << "1000000000" << O::TooLarge << "" << (cleared ? 9 : 0);
    }
}

// The first entry of a book, at start or after Изчисти: either way the
// maximal sum has the entry's own length.
void TestPairBook::firstEntry()
{
    QFETCH(bool, cleared);
    QFETCH(QString, typed);
    QFETCH(InputOutcome, outcome);
    QFETCH(QString, complement);
    QFETCH(int, maxSum);
    PairBook book;
    if (cleared) {
        book.InputNumber(u"123");
        book.ClearAll();
    }
    QCOMPARE(book.InputNumber(U16(typed)), outcome);
    QCOMPARE(Q(book.Complements()), complement.isEmpty() ? QStringList() : QStringList{complement});
    QCOMPARE(book.MaxSum(), maxSum);
}

void TestPairBook::outOfMemoryChangesNothing_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::newRow("first entry") << QStringList{} << "123456789";
    QTest::newRow("appending") << QStringList{"123456789"} << "12345678";
    QTest::newRow("rebuilding") << QStringList{"42", "7"} << "12345678";
}

// Memory running out at any allocation of an entering leaves the book as it
// was: every allocation in turn is made to fail, until one entering passes.
void TestPairBook::outOfMemoryChangesNothing()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    const std::u16string text = U16(typed);
    long failing = 0;
    for (;; ++failing) {
        PairBook book = BookWith(before);
        const Snapshot snapshot = Take(book);
        bool ranOut = false;
        allocationsBeforeFailure = failing;
        try {
            book.InputNumber(text);
        } catch (const std::bad_alloc&) {
            ranOut = true;
        }
        allocationsBeforeFailure = -1;
        if (!ranOut) {
            break;
        }
        QCOMPARE(Take(book), snapshot);
    }
    QVERIFY(failing >= 2);  // entries and complements both allocate
}

void TestPairBook::report_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("report");
    QTest::newRow("empty") << QStringList{} << "";
    QTest::newRow("one number") << QStringList{"42"} << "42 + 57 = 99\r\n";
    QTest::newRow("three numbers") << QStringList{"42", "7", "123"}
                                   << "42 + 957 = 999\r\n7 + 992 = 999\r\n123 + 876 = 999\r\n";
    QTest::newRow("rounded entry adds up")
        << QStringList{"0042", "12.5"} << "42 + 9957 = 9999\r\n12 + 9987 = 9999\r\n";
    QTest::newRow("negative complement") << QStringList{"1E5"} << "100000 + -99001 = 999\r\n";
}

void TestPairBook::report()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, report);
    QCOMPARE(Q(BookWith(typed).OutputPairs()), report);
}

void TestPairBook::fortyThousandEntries()
{
    PairBook book;
    constexpr int count = 40000;
    for (int i = 1; i <= count; ++i) {
        book.InputNumber(U16(QString::number(i)));
    }
    QCOMPARE(book.Entries().size(), std::size_t{count});
    QCOMPARE(book.Complements().size(), std::size_t{count});
    QCOMPARE(book.MaxSum(), 99999);
    QCOMPARE(Q(book.Complements().front()), QString("99998"));
    QCOMPARE(Q(book.Entries()[32767]), QString("32768"));
    QCOMPARE(Q(book.Complements()[32767]), QString("67231"));

    const QStringList lines = Q(book.OutputPairs()).split("\r\n");
    QCOMPARE(lines.size(), count + 1);  // every line ends with CR LF
    QCOMPARE(lines[32767], QString("32768 + 67231 = 99999"));
    QCOMPARE(lines[count - 1], QString("40000 + 59999 = 99999"));
    QCOMPARE(lines.back(), QString());
}

QTEST_APPLESS_MAIN(TestPairBook)
#include "tst_pair_book.moc"
