// The commands behind the three buttons, against controls that record what
// is done to them.
#include <QTest>

#include "logic/commands.h"
#include "tests/text_conversion.h"

using namespace velmora;

namespace {

class RecordingControls final : public FormControls {
public:
    QStringList calls;
    std::u16string comboText;

    std::u16string ComboText() const override { return comboText; }
    void SetComboText(std::u16string_view text) override
    {
        comboText = text;
        calls << "SetComboText " + Q(comboText);
    }
    void SelectComboText() override { calls << "SelectComboText"; }
    void AddComboItem(std::u16string_view text) override
    {
        calls << "AddComboItem " + Q(std::u16string(text));
    }
    void ClearComboItems() override { calls << "ClearComboItems"; }
    void AddListItem(std::u16string_view text) override
    {
        calls << "AddListItem " + Q(std::u16string(text));
    }
    void SetListItems(const std::vector<std::u16string>& texts) override
    {
        calls << "SetListItems " + Q(texts).join(',');
    }
    void SetReportText(std::u16string_view text) override
    {
        calls << "SetReportText " + Q(std::u16string(text));
    }
    void ReportError(const ErrorReport& report) override
    {
        calls << "ReportError " + Q(std::u16string(report.title));
    }
};

}  // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void click_data();
    void click();
};

void TestCommands::click_data()
{
    QTest::addColumn<QStringList>("typedBefore");  // entered before the click
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("Въведи, first entry")
        << QStringList{} << "42" << 0
        << QStringList{"AddComboItem 42", "SetListItems 57", "SetComboText ",
                       "SelectComboText"};
    QTest::newRow("Въведи, shorter entry")
        << QStringList{"42"} << "7" << 0
        << QStringList{"AddComboItem 7", "AddListItem 92", "SetComboText ", "SelectComboText"};
    QTest::newRow("Въведи, refused")
        << QStringList{"42"} << "abc" << 0 << QStringList{"SetComboText ", "SelectComboText"};
    QTest::newRow("Въведи, too large keeps the text")
        << QStringList{"42"} << "1234567890" << 0
        << QStringList{"ReportError Velmora", "SelectComboText"};
    QTest::newRow("Изчисти")
        << QStringList{"42"} << "7" << 1
        << QStringList{"ClearComboItems", "SetComboText ", "SetListItems ", "SetReportText "};
    QTest::newRow("Изведи")
        << QStringList{"42", "7"} << "" << 2
        << QStringList{"SetReportText 42 + 57 = 99\r\n7 + 92 = 99\r\n"};
    QTest::newRow("Изведи, no entries") << QStringList{} << "" << 2
                                        << QStringList{"SetReportText "};
    QTest::newRow("no button 3") << QStringList{"42"} << "7" << 3 << QStringList{};
    QTest::newRow("no button -1") << QStringList{"42"} << "7" << -1 << QStringList{};
}

void TestCommands::click()
{
    QFETCH(QStringList, typedBefore);
    QFETCH(QString, typed);
    QFETCH(int, index);
    QFETCH(QStringList, calls);

    RecordingControls controls;
    Commands commands(controls, u',');
    for (const QString& text : typedBefore) {
        controls.comboText = U16(text);
        commands.Command1Click(kInputNumber);
    }
    controls.calls.clear();
    controls.comboText = U16(typed);
    commands.Command1Click(index);
    QCOMPARE(controls.calls, calls);
}

QTEST_APPLESS_MAIN(TestCommands)
#include "tst_commands.moc"
