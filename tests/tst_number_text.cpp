// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include <QLocale>
#include <QTest>
#include <clocale>
#include <cmath>
#include <limits>

#include "runtime/number_text.h"
#include "tests/text_conversion.h"

using namespace velmora;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
}

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void numericValue_data();
    void numericValue();
    void numericValueIgnoresLocale_data();
    void numericValueIgnoresLocale();
    void roundToInteger_data();
    void roundToInteger();
    void integerText_data();
    void integerText();
    void realText_data();
    void realText();
    void textLength_data();
    void textLength();
};

void TestNumberText::numericValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks only") << " \t " << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("plain") << "42" << 42.0;
    QTest::newRow("leading blanks") << "  42" << 42.0;
    QTest::newRow("leading tab") << "\t42" << 42.0;
    QTest::newRow("letters after digits") << "42abc" << 42.0;
    QTest::newRow("blank inside stops") << "1 000" << 1.0;
    QTest::newRow("leading zeros") << "0042" << 42.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("minus sign") << "-5" << -5.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("blank after sign") << "- 5" << 0.0;
    QTest::newRow("fraction") << "12.5" << 12.5;
    QTest::newRow("fraction only") << ".5" << 0.5;
    QTest::newRow("point after digits") << "5." << 5.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("second point stops") << "3.2.1" << 3.2;
    QTest::newRow("comma is no separator") << "12,5" << 12.0;
    QTest::newRow("exponent E") << "1E3" << 1000.0;
    QTest::newRow("exponent D") << "2.5D1" << 25.0;
    QTest::newRow("exponent lower, negative") << "1e-2" << 0.01;
    QTest::newRow("exponent lower d, plus") << "1d+2" << 100.0;
    QTest::newRow("exponent mark alone") << "1E" << 1.0;
    QTest::newRow("exponent sign alone") << "1E+" << 1.0;
    QTest::newRow("exponent then letter") << "7Ex" << 7.0;
    QTest::newRow("no mantissa before exponent") << "E5" << 0.0;
    QTest::newRow("exponent to overflow") << "1E400" << kInf;
    QTest::newRow("negative to overflow") << "-1E400" << -kInf;
    QTest::newRow("exponent to underflow") << "1E-400" << 0.0;
    QTest::newRow("huge exponent digits") << "5E99999999999999999999999" << kInf;
    QTest::newRow("leading fraction zeros underflow")
        << QString("0.%1" "1E+300").arg(QString(400, '0')) << 0.0;
    QTest::newRow("many integer digits overflow") << QString(400, '9') << kInf;
    QTest::newRow("hexadecimal prefix not read") << "&H10" << 0.0;
    QTest::newRow("no-break space not a blank") << QString::fromUtf16(u"\u00a042") << 0.0;
    QTest::newRow("full-width digits") << QString::fromUtf16(u"\uff14\uff12") << 0.0;
    QTest::newRow("Arabic-Indic digits") << QString::fromUtf16(u"\u0664\u0662") << 0.0;
    QTest::newRow("half above the range") << "2147483647.5" << 2147483647.5;
    // Correctly rounded, ties to even, at the edges of a double.
    QTest::newRow("tie between doubles to even") << "9007199254740993" << 9007199254740992.0;
    QTest::newRow("a digit far behind breaks the tie")
        << "9007199254740993." + QString(800, '0') + "1" << 9007199254740994.0;
    QTest::newRow("18 digits") << "123456789012345678" << 123456789012345678.0;
    QTest::newRow("16 digits, rounded once") << "952704908277896.1" << 952704908277896.125;
    QTest::newRow("largest double") << "1.7976931348623157E308" << 1.7976931348623157e308;
    QTest::newRow("beyond the largest double") << "1.8E308" << kInf;
    QTest::newRow("smallest subnormal") << "4.9406564584124654E-324" << 4.9406564584124654e-324;
    QTest::newRow("just above half the smallest") << "2.4703282292062328E-324" << 4.9406564584124654e-324;
    QTest::newRow("just below half the smallest") << "2.4703282292062327E-324" << 0.0;
    QTest::newRow("embedded NUL stops") << QString::fromUtf16(u"4\u00002", 3) << 4.0;
}

void TestNumberText::numericValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const double actual = NumericValue(U16(text));
    // Exactly, not QCOMPARE's nearly equal: the reading rounds correctly.
    QVERIFY2(actual == value, qPrintable(QString::number(actual, 'g', 17)));
    QCOMPARE(std::signbit(actual), std::signbit(value));
}

void TestNumberText::numericValueIgnoresLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("separator");
    QTest::newRow("en_US") << "en_US" << ".";
    QTest::newRow("bg_BG") << "bg_BG" << ",";
}

// The reading always takes the point, whatever the user's locale; only the
// real text written back uses the locale's separator.
void TestNumberText::numericValueIgnoresLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, separator);
    const QLocale userLocale(locale);
    QCOMPARE(userLocale.decimalPoint(), separator);
    const QByteArray cName = (locale + ".UTF-8").toLatin1();
    const char* previous = std::setlocale(LC_ALL, cName.constData());  // may be absent
    QLocale::setDefault(userLocale);

    QCOMPARE(NumericValue(u"12.5"), 12.5);
    QCOMPARE(NumericValue(u"12,5"), 12.0);
    const char16_t mark = userLocale.decimalPoint().at(0).unicode();
    QCOMPARE(Q(RealText(9986.5, mark)), "9986" + separator + "5");
    QCOMPARE(Q(RealText(957.0, mark)), QString("957"));

    if (previous) {
        std::setlocale(LC_ALL, "C");
    }
    QLocale::setDefault(QLocale::c());
}

void TestNumberText::roundToInteger_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("rounded");

    QTest::newRow("0.5 to even 0") << 0.5 << true << 0;
    QTest::newRow("1.5 to even 2") << 1.5 << true << 2;
    QTest::newRow("2.5 to even 2") << 2.5 << true << 2;
    QTest::newRow("3.5 to even 4") << 3.5 << true << 4;
    QTest::newRow("12.5 to even 12") << 12.5 << true << 12;
    QTest::newRow("13.5 to even 14") << 13.5 << true << 14;
    QTest::newRow("-0.5 to even 0") << -0.5 << true << 0;
    QTest::newRow("-1.5 to even -2") << -1.5 << true << -2;
    QTest::newRow("-2.5 to even -2") << -2.5 << true << -2;
    QTest::newRow("0.4 down") << 0.4 << true << 0;
    QTest::newRow("0.6 up") << 0.6 << true << 1;
    QTest::newRow("just below a half") << 0.49999999999999994 << true << 0;
    QTest::newRow("largest") << 2147483647.0 << true << 2147483647;
    QTest::newRow("just below the upper half")
        << std::nextafter(2147483647.5, 0.0) << true << 2147483647;
    QTest::newRow("upper half overflows") << 2147483647.5 << false << 0;
    QTest::newRow("2^31 overflows") << 2147483648.0 << false << 0;
    QTest::newRow("lower half rounds to even lowest") << -2147483648.5 << true
                                                      << std::numeric_limits<int>::min();
    QTest::newRow("below the lower half overflows")
        << std::nextafter(-2147483648.5, -kInf) << false << 0;
    QTest::newRow("huge") << 1e300 << false << 0;
    QTest::newRow("infinity") << kInf << false << 0;
    QTest::newRow("minus infinity") << -kInf << false << 0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false << 0;
}

void TestNumberText::roundToInteger()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, rounded);
    const std::optional<std::int32_t> actual = RoundToInteger(value);
    QCOMPARE(actual.has_value(), fits);
    if (fits) {
        QCOMPARE(*actual, rounded);
    }
}

void TestNumberText::integerText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("42") << 42 << "42";
    QTest::newRow("-7") << -7 << "-7";
    QTest::newRow("0") << 0 << "0";
    QTest::newRow("largest") << std::numeric_limits<int>::max() << "2147483647";
    QTest::newRow("lowest") << std::numeric_limits<int>::min() << "-2147483648";
}

void TestNumberText::integerText()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(Q(IntegerText(value)), text);
}

void TestNumberText::realText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");

    QTest::newRow("integral") << 957.0 << "." << "957";
    QTest::newRow("negative integral") << -1.0 << "." << "-1";
    QTest::newRow("point") << 9986.5 << "." << "9986.5";
    QTest::newRow("comma") << 9986.5 << "," << "9986,5";
    QTest::newRow("zero") << 0.0 << "," << "0";
    QTest::newRow("negative zero") << -0.0 << "," << "0";
    QTest::newRow("fraction below one") << -0.25 << "," << "-0,25";
    QTest::newRow("15 significant digits") << 99.0 - 12.3 << "." << "86.7";
    QTest::newRow("a third") << 1.0 / 3.0 << "." << "0.333333333333333";
    QTest::newRow("a tie at the 16th digit to even") << 123456789012344.5 << "." << "123456789012344";
    QTest::newRow("sum of tenths") << 0.1 + 0.2 << "." << "0.3";
    QTest::newRow("largest sum") << 999999999.0 << "." << "999999999";
    QTest::newRow("negative complement") << 999.0 - 100000.0 << "." << "-99001";
    QTest::newRow("lowest complement") << 999999999.0 - 2147483647.0 << "." << "-1147483648";
    QTest::newRow("large takes exponent") << 1e15 << "." << "1E+15";
    QTest::newRow("small takes exponent") << 1.5e-5 << "," << "1,5E-05";
    QTest::newRow("smallest without exponent") << 0.0001 << "." << "0.0001";
}

void TestNumberText::realText()
{
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QCOMPARE(Q(RealText(value, separator.at(0).unicode())), text);
}

void TestNumberText::textLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("leading zeros count") << "0042" << 4;
    QTest::newRow("blanks count") << "  42" << 4;
    QTest::newRow("sign and fraction count") << "+12.5" << 5;
    QTest::newRow("surrogate pair is two") << QString::fromUtf16(u"\U0001F600") << 2;
}

void TestNumberText::textLength()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    QCOMPARE(TextLength(U16(text)), static_cast<std::size_t>(length));
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
