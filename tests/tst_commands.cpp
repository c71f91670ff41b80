// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// What each button does to the window's controls: a click touches only what
// changed, so that its cost does not grow with the book. An appending
// «Въведи» adds one item to each list; only a longer entry refills the hidden
// list.
#include <QTest>

#include "logic/commands.h"

using namespace velmora;

namespace {

// Counts what the commands do to the controls.
class RecordingControls final : public FormControls {
public:
    std::u16string typed;
    int comboItemsAdded = 0;
    int listItemsAdded = 0;
    int listRefills = 0;
    std::size_t listItemsRefilled = 0;
    int errorReports = 0;

    std::u16string ComboText() const override { return typed; }
    void SetComboText(std::u16string_view text) override { typed = text; }
    void SelectComboText() override {}
    void AddComboItem(std::u16string_view) override { ++comboItemsAdded; }
    void ClearComboItems() override {}
    void AddListItem(std::u16string_view) override { ++listItemsAdded; }
    void SetListItems(const std::vector<std::u16string>& texts) override
    {
        ++listRefills;
        listItemsRefilled += texts.size();
    }
    void SetReportText(std::u16string_view) override {}
    void ReportError(const ErrorReport&) override { ++errorReports; }
};

}  // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void enterTouchesOnlyWhatChanged_data();
    void enterTouchesOnlyWhatChanged();
};

void TestCommands::enterTouchesOnlyWhatChanged_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("comboItemsAdded");
    QTest::addColumn<int>("listItemsAdded");
    QTest::addColumn<int>("listRefills");
    QTest::addColumn<int>("errorReports");
    // After 1000 and 20 ... 1019 have been entered.
    QTest::newRow("appending") << "42" << 1 << 1 << 0 << 0;
    QTest::newRow("rebuilding") << "12345" << 1 << 0 << 1 << 0;
    QTest::newRow("refused") << "abc" << 0 << 0 << 0 << 0;
    QTest::newRow("too large") << "3E9" << 0 << 0 << 0 << 1;
}

void TestCommands::enterTouchesOnlyWhatChanged()
{
    QFETCH(QString, typed);
    RecordingControls controls;
    Commands commands(controls);
    for (int i = 0; i < 1000; ++i) {
        controls.typed = QString::number(i == 0 ? 1000 : 19 + i).toStdU16String();
        commands.Command1Click(kInputNumber);
    }
    controls.comboItemsAdded = controls.listItemsAdded = controls.listRefills = 0;
    controls.listItemsRefilled = 0;
    controls.typed = typed.toStdU16String();
    commands.Command1Click(kInputNumber);

    QTEST(controls.comboItemsAdded, "comboItemsAdded");
    QTEST(controls.listItemsAdded, "listItemsAdded");
    QTEST(controls.listRefills, "listRefills");
    QTEST(controls.errorReports, "errorReports");
    if (controls.listRefills > 0) {
        QCOMPARE(controls.listItemsRefilled, std::size_t{1001});
    }
}

QTEST_APPLESS_MAIN(TestCommands)
#include "tst_commands.moc"
