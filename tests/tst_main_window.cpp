// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The Qt window driven through its real widgets. Every expected figure is
// the window's design as drawn up for it, written out here, not read from the tables
// the window is built from.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <map>

#include "tests/command_sequences.h"
#include "tests/scenarios.h"
#include "tests/text_conversion.h"
#include "window/qt/main_window.h"

using namespace velmora;

namespace {

const QString kTaskStatement = QString::fromUtf16(
    u"Да се реализира проект, представящ междупредметни връзки Математика и Информатика.\n"
    u"Тема на проекта: Velmora.\n"
    u"Чрез обект комбинирано поле да се въведат 5-10 броя естествени числа от интервала "
    u"[10..10010].  За всяко отделно въведено число автоматично да се генерира друго "
    u"естествено число, така че всяка двойка числа - въведено и генерирано да имат равни "
    u"максимални суми.\n"
    u"Да се използват група командни бутони:\n"
    u"за извеждане на двойките числа с равни максимални суми;\n"
    u"за изчистване на всички въведени данни и генерирани резултати.\n");

const std::vector<scenarios::Scenario>& Scenarios()
{
    static const std::vector<scenarios::Scenario> all = scenarios::Read(
#include "tests/window_scenarios.inc"
    );
    return all;
}

// Pixels much lighter or darker in one picture than in the other.
int ChangedPixels(const QImage& before, const QImage& after)
{
    int changed = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            changed += std::abs(QColor(after.pixel(x, y)).lightness()
                                - QColor(before.pixel(x, y)).lightness()) >= 50;
        }
    }
    return changed;
}

const QString kQuotation = QString::fromUtf16(
    u"Неприятното в това да си първият, направил нещо по \n"
    u"правилния начин, е, че никой не оценява колко трудно е \n"
    u"било. \n");

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowFrame();
    void controls_data();
    void controls();
    void zoom_data() { controls_data(); }
    void zoom();
    void texts();
    void font();
    void tabOrder();
    void keyboardOnly();
    void noDefaultButton();
    void accessibleNames();
    void legibleUnderDarkTheme();

    void scenarios_data();
    void scenarios();
    void pastedTexts_data();
    void pastedTexts();
    void randomSequences_data();
    void randomSequences();

private:
    template <typename T> T* Find(const char* name)
    {
        T* widget = window->findChild<T*>(QLatin1String(name));
        if (!widget) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    QComboBox* Combo() { return Find<QComboBox>("Combo1"); }
    QPlainTextEdit* Report() { return Find<QPlainTextEdit>("Text1_0"); }
    QStringList Complements()
    {
        return static_cast<QStringListModel*>(Find<QListView>("List1")->model())->stringList();
    }
    QStringList Entries()
    {
        QStringList entries;
        for (int i = 0; i < Combo()->count(); ++i) {
            entries << Combo()->itemText(i);
        }
        return entries;
    }
    void Type(const QString& text)
    {
        Combo()->lineEdit()->clear();
        QTest::keyClicks(Combo()->lineEdit(), text);
    }
    void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    // The control with the focus; the combo's line edit stands for the combo.
    QString Focused()
    {
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty()) {
            focus = focus->parentWidget();
        }
        return focus ? focus->objectName() : QString();
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    void Enter(const QString& text)
    {
        Type(text);
        Click("Command1_0");
    }

    std::unique_ptr<MainWindow> window;
    QList<ErrorReport> reports;
};

void TestMainWindow::init()
{
    reports.clear();
    window = std::make_unique<MainWindow>();
    window->SetErrorDisplay([this](QWidget*, const ErrorReport& report) { reports << report; });
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestMainWindow::cleanup() { window.reset(); }

void TestMainWindow::windowFrame()
{
    QCOMPARE(window->windowTitle(),
             QString::fromUtf16(u"https://velmora.example Математика - двойки числа с равни суми"));
    QCOMPARE(window->size(), QSize(461, 315));
    QCOMPARE(window->minimumSize(), QSize(461, 315));
    const QImage image = window->grab().toImage();
    QCOMPARE(image.pixelColor(4, 100), QColor(192, 192, 255));
    QCOMPARE(image.pixelColor(455, 170), QColor(192, 192, 255));
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
}

void TestMainWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");  // pixels at 96 dpi: twips / 15
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QColor>("background");  // invalid: the platform's own
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("accessibleName");  // as screen readers read it

    QTest::newRow("Label1(0)") << "Label1_0" << QRect(64, 0, 329, 25) << true
                               << QColor(255, 192, 128) << "Velmora" << "Velmora";
    QTest::newRow("Label1(1)") << "Label1_1" << QRect(40, 40, 89, 25) << true
                               << QColor(255, 192, 128) << QString::fromUtf16(u"Числа")
                               << QString::fromUtf16(u"Числа");
    QTest::newRow("Combo1") << "Combo1" << QRect(40, 64, 89, 27) << true << QColor() << ""
                            << QString::fromUtf16(u"Числа");
    QTest::newRow("Command1(0)") << "Command1_0" << QRect(160, 64, 97, 25) << true
                                 << QColor(0, 255, 0) << QString::fromUtf16(u"Въведи")
                                 << QString::fromUtf16(u"Въведи");
    QTest::newRow("Command1(2)") << "Command1_2" << QRect(160, 104, 97, 25) << true
                                 << QColor(255, 0, 255) << QString::fromUtf16(u"Изведи")
                                 << QString::fromUtf16(u"Изведи");
    QTest::newRow("Command1(1)") << "Command1_1" << QRect(160, 144, 97, 25) << true
                                 << QColor(255, 0, 0) << QString::fromUtf16(u"Изчисти")
                                 << QString::fromUtf16(u"Изчисти");
    QTest::newRow("List1") << "List1" << QRect(304, 64, 105, 99) << false << QColor() << ""
                           << QString::fromUtf16(u"Допълнения");
    QTest::newRow("Text1(0)") << "Text1_0" << QRect(8, 184, 449, 121) << true << QColor() << ""
                              << QString::fromUtf16(u"Двойки числа");
    QTest::newRow("Text1(1)") << "Text1_1" << QRect(40, 200, 449, 121) << false << QColor()
                              << "" << QString::fromUtf16(u"Цитат");
}

void TestMainWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, shown);
    QFETCH(QColor, background);
    QFETCH(QString, caption);
    QFETCH(QString, accessibleName);

    QWidget* widget = window->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), accessibleName);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isVisible(), shown);
    if (background.isValid()) {
        // Inside the border, clear of the caption.
        const QImage image = window->grab(geometry).toImage();
        QCOMPARE(image.pixelColor(4, 4), background);
        QCOMPARE(image.pixelColor(geometry.width() - 5, geometry.height() - 5), background);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), caption);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QCOMPARE(button->text(), caption);
    }
}

// From the number field, Ctrl+plus, Ctrl+= and the keypad's plus zoom the
// whole form in steps, window and font too, from the report box Ctrl+plus
// and Ctrl+wheel (not the box's own text zoom); Ctrl+0 restores it all.
void TestMainWindow::zoom()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QWidget* widget = window->findChild<QWidget*>(name);
    for (const QKeyCombination key :
         {Qt::ControlModifier | Qt::Key_Plus, Qt::ControlModifier | Qt::Key_Equal,
          Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus, Qt::ControlModifier | Qt::Key_Plus,
          Qt::ShiftModifier | Qt::Key_Backtab, Qt::ControlModifier | Qt::Key_Plus,
          Qt::ControlModifier | Qt::Key_Plus}) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
    QWheelEvent notch(QPointF(9, 9), Report()->viewport()->mapToGlobal(QPointF(9, 9)), {}, {0, -120},
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Report()->viewport(), &notch);
    QCOMPARE(window->size(), QSize(922, 630));
    QCOMPARE(widget->geometry(), QRect(geometry.topLeft() * 2, geometry.size() * 2));
    QCOMPARE(QFontInfo(widget->font()).pointSize(), 24);
    QCOMPARE(Focused(), "Text1_0");
    QTest::keyClick(Report(), Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
    QTest::keyClick(Report(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(window->size(), QSize(461, 315));
    QCOMPARE(widget->geometry(), geometry);
}

void TestMainWindow::texts()
{
    QCOMPARE(Report()->toPlainText(), kTaskStatement);
    QCOMPARE(Find<QPlainTextEdit>("Text1_1")->toPlainText(), kQuotation);
    QCOMPARE(Combo()->currentText(), QString());
    QCOMPARE(Combo()->count(), 0);
    QCOMPARE(Complements(), QStringList());
}

void TestMainWindow::font()
{
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty()) {
            continue;  // parts of a control, not a control
        }
        const QFontInfo info(widget->font());
        QVERIFY2(info.family() == "Times New Roman" || info.family() == "Liberation Serif",
                 qPrintable(widget->objectName() + ": " + info.family()));
        QCOMPARE(info.pointSize(), 12);
        QCOMPARE(info.weight(), int(QFont::Normal));
        QVERIFY(!info.italic());
        QVERIFY(!widget->font().underline() && !widget->font().strikeOut());
    }
}

// Tab and Shift+Tab visit the controls that take the focus in the tables'
// order, and the focused one is marked: at least a ring of its pixels, as
// many as its outline has, turns much lighter or darker with the focus.
void TestMainWindow::tabOrder()
{
    const QStringList order{"Text1_0", "Combo1", "Command1_0", "Command1_1", "Command1_2"};
    std::map<QString, QImage> unfocused;
    for (const QString& name : order) {
        Find<QWidget>(name == "Text1_0" ? "Combo1" : "Text1_0")->setFocus();
        unfocused[name] = window->grab(Find<QWidget>(qPrintable(name))->geometry()).toImage();
    }
    Report()->setFocus();
    QStringList forward{Focused()};
    for (int i = 0; i < order.size(); ++i) {
        Key(Qt::Key_Tab);
        forward << Focused();
        {
            const QRect place = Find<QWidget>(qPrintable(forward.back()))->geometry();
            QVERIFY2(ChangedPixels(unfocused[forward.back()], window->grab(place).toImage())
                         >= 2 * (place.width() + place.height()),
                     qPrintable("no ring of focus around " + forward.back()));
        }
    }
    QStringList backward{Focused()};
    for (int i = 0; i < order.size(); ++i) {
        Key(Qt::Key_Backtab);
        backward.prepend(Focused());
    }
    QCOMPARE(forward, order + QStringList{order.front()});
    QCOMPARE(backward, forward);
}

// Typing, Tab and Space alone: each button presses with the focus on it.
void TestMainWindow::keyboardOnly()
{
    QTest::keyClicks(QApplication::focusWidget(), "42");
    Key(Qt::Key_Tab);
    QCOMPARE(Focused(), "Command1_0");
    Key(Qt::Key_Space);
    QCOMPARE(Entries(), QStringList{"42"});
    QCOMPARE(Focused(), "Combo1");  // for the next number
    for (int i = 0; i < 3; ++i) {
        Key(Qt::Key_Tab);
    }
    QCOMPARE(Focused(), "Command1_2");
    Key(Qt::Key_Space);
    QCOMPARE(Report()->toPlainText(), QString("42 + 57 = 99\n"));
    Key(Qt::Key_Backtab);
    QCOMPARE(Focused(), "Command1_1");
    Key(Qt::Key_Space);
    QCOMPARE(Entries(), QStringList());
    QCOMPARE(Report()->toPlainText(), QString());
}

void TestMainWindow::noDefaultButton()
{
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault() && !button->autoDefault());
    }
}

// The number field keeps its label's name while a number is typed into it
// (each control's name at start is in the controls table).
void TestMainWindow::accessibleNames()
{
    const auto name = [this](const char* control) {
        return QAccessible::queryAccessibleInterface(Find<QWidget>(control))->text(QAccessible::Name);
    };
    Type("42");
    QCOMPARE(name("Combo1"), QString::fromUtf16(u"Числа"));  // not the typed text
}

void TestMainWindow::legibleUnderDarkTheme()
{
    const QPalette previous = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(50, 50, 50));
    dark.setColor(QPalette::ButtonText, Qt::white);
    QApplication::setPalette(dark);
    {
        MainWindow darkWindow;
        darkWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&darkWindow));
        for (const char* name : {"Label1_0", "Label1_1", "Command1_0", "Command1_1"}) {
            const QPalette& palette = darkWindow.findChild<QWidget*>(name)->palette();
            QVERIFY2(palette.color(QPalette::WindowText).lightness() < 100, name);
            QVERIFY2(palette.color(QPalette::ButtonText).lightness() < 100, name);
        }
        for (const char* name : {"Combo1", "Text1_0"}) {
            const QPalette& palette = darkWindow.findChild<QWidget*>(name)->palette();
            QVERIFY2(palette.color(QPalette::Text).lightness() < 100, name);
            QVERIFY2(palette.color(QPalette::Base).lightness() > 200, name);
        }
        // The report's text is drawn dark on light.
        const QImage report = darkWindow.findChild<QWidget*>("Text1_0")->grab().toImage();
        int darkest = 255;
        for (int y = 0; y < report.height(); ++y) {
            for (int x = 0; x < report.width() - 20; ++x) {
                darkest = std::min(darkest, report.pixelColor(x, y).lightness());
            }
        }
        QVERIFY(darkest < 80);
        QVERIFY(report.pixelColor(report.width() / 2, report.height() - 6).lightness() > 200);
    }
    QApplication::setPalette(previous);
}

void TestMainWindow::scenarios_data()
{
    QTest::addColumn<int>("which");
    for (std::size_t i = 0; i < Scenarios().size(); ++i) {
        QTest::newRow(Q(Scenarios()[i].name).toUtf8().constData()) << int(i);
    }
}

// A scenario of window_scenarios.txt, played on a fresh window.
void TestMainWindow::scenarios()
{
    QFETCH(int, which);
    for (const scenarios::Line& line : Scenarios()[std::size_t(which)].lines) {
        const QString argument = Q(line.argument);
        const auto expect = [&](const QString& actual, const QString& expected) {
            if (actual != expected) {
                QTest::qFail(qPrintable(QString("line %1 (%2): got \"%3\", expected \"%4\"")
                                            .arg(line.number).arg(line.verb.c_str(), actual,
                                                                  expected)),
                             __FILE__, __LINE__);
                return false;
            }
            return true;
        };
        if (line.verb == "open" || (line.verb == "pick" && !Combo()->view()->isVisible())) {
            QTest::keyClick(Combo(), Qt::Key_Down, Qt::AltModifier);  // opens the list
            QVERIFY(QTest::qWaitForWindowExposed(Combo()->view()->window()));
        }
        bool ok = true;
        if (line.verb == "type") {
            Type(argument);
        } else if (line.verb == "press") {
            QPushButton* pressed = nullptr;
            for (QPushButton* button : window->findChildren<QPushButton*>()) {
                if (button->text() == argument) {
                    pressed = button;
                }
            }
            QVERIFY2(pressed, qPrintable("no button " + argument));
            QTest::mouseClick(pressed, Qt::LeftButton);
        } else if (line.verb == "key") {
            QTest::keyClick(Combo()->lineEdit(), argument == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
        } else if (line.verb == "open") {
            // opened above
        } else if (line.verb == "pick") {
            QAbstractItemView* view = Combo()->view();
            const QRect item = view->visualRect(view->model()->index(argument.toInt() - 1, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
            // (QTRY_VERIFY narrows Qt 6.8's timeout to int, which GCC 14 flags.)
            QVERIFY(QTest::qWaitFor([view] { return !view->window()->isVisible(); }));
        } else if (line.verb == "copy") {
            Report()->setFocus();
            QTest::keyClick(Report(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(Report(), Qt::Key_C, Qt::ControlModifier);
        } else if (line.verb == "field") {
            ok = expect(Combo()->currentText(), argument);
        } else if (line.verb == "selected") {
            ok = expect(Combo()->lineEdit()->selectedText(), Combo()->currentText())
                 && expect(Combo()->hasFocus() ? "focus" : "no focus", "focus");
        } else if (line.verb == "entries") {
            ok = expect(Entries().join(' '), argument);
        } else if (line.verb == "complements") {
            ok = expect(Complements().join(' '), argument);
        } else if (line.verb == "report") {
            ok = expect(Report()->toPlainText(), Q(scenarios::Lines(line.argument, u"\n")));
        } else if (line.verb == "report-begins") {
            ok = expect(Report()->toPlainText().left(argument.size()), argument);
        } else if (line.verb == "clipboard") {
            ok = expect(QApplication::clipboard()->text(), Q(scenarios::Lines(line.argument, u"\n")));
        } else if (line.verb == "messages") {
            ok = expect(QString::number(reports.size()), argument);
        } else if (line.verb == "expanded") {
            const QAccessibleInterface* field = QAccessible::queryAccessibleInterface(Combo());
            ok = expect(field->state().expanded ? "yes" : "no", argument);
        } else if (line.verb == "label") {
            const QString text = argument.section(' ', 1);
            const QLabel* shown = nullptr;
            for (const QLabel* label : window->findChildren<QLabel*>()) {
                shown = label->text() == text ? label : shown;
            }
            QVERIFY2(shown, qPrintable("no label " + text));
            const Qt::Alignment alignment = shown->alignment() & Qt::AlignHorizontal_Mask;
            ok = expect(alignment == Qt::AlignHCenter ? "centre"
                        : alignment == Qt::AlignLeft  ? "left"
                                                      : QString::number(alignment),
                        argument.section(' ', 0, 0));
        } else {
            QFAIL(qPrintable(QString("line %1: no such step or check: %2").arg(line.number).arg(line.verb.c_str())));
        }
        if (!ok) {
            return;
        }
    }
}

void TestMainWindow::pastedTexts_data()
{
    QTest::addColumn<QString>("pasted");
    const auto text = [](std::u16string_view units) {
        return QString::fromUtf16(units.data(), qsizetype(units.size()));
    };
    QTest::newRow("a megabyte of digits") << QString(1 << 20, '9');
    QTest::newRow("a megabyte of letters") << QString(1 << 20, 'x');
    QTest::newRow("control characters") << text(u"\x01\x02\x1b");
    QTest::newRow("embedded NUL") << text(std::u16string_view(u"\0" u"42", 3));
    QTest::newRow("lone surrogates") << text(u"\xdc00\xd800");
    QTest::newRow("right-to-left mark") << text(u"\u200f42");
    QTest::newRow("full-width digits") << text(u"\uff14\uff12");
    QTest::newRow("Arabic-Indic digits") << text(u"\u0664\u0662");
}

// Pasted with Ctrl+V into the number field: refused or rejected, nothing lost.
void TestMainWindow::pastedTexts()
{
    QFETCH(QString, pasted);
    Enter("42");
    Click("Command1_2");
    QApplication::clipboard()->setText(pasted);
    Combo()->lineEdit()->setFocus();
    QTest::keyClick(Combo()->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!Combo()->currentText().isEmpty());
    Click("Command1_0");
    QCOMPARE(Entries(), QStringList{"42"});
    QCOMPARE(Complements(), QStringList{"57"});
    QCOMPARE(Report()->toPlainText(), QString("42 + 57 = 99\n"));
    QVERIFY(reports.size() <= 1);
}

void TestMainWindow::randomSequences_data()
{
    QTest::addColumn<quint64>("seed");
    for (quint64 seed = 101; seed <= 105; ++seed) {
        QTest::addRow("seed %llu", seed) << seed;
    }
}

// Random clicks through the real widgets: they always show what the pair book
// holds, and a rejected text stays for correcting.
void TestMainWindow::randomSequences()
{
    QFETCH(quint64, seed);
    CommandSequence commands(seed);
    for (int step = 0; step < 400; ++step) {
        const QString where = QString("seed %1, step %2").arg(seed).arg(step);
        const Command command = commands.Next();
        switch (command.kind) {
        case Command::Start:
            cleanup();
            init();
            break;
        case Command::Clear:
            Click("Command1_1");
            QVERIFY2(Report()->toPlainText().isEmpty(), qPrintable(where));
            break;
        case Command::Report: {
            Click("Command1_2");
            const QString report = QString::fromStdU16String(window->Book().OutputPairs());
            QVERIFY2(Report()->toPlainText() == QString(report).replace("\r\n", "\n"),
                     qPrintable(where));
            break;
        }
        case Command::Enter: {
            const QString typed = QString::fromStdU16String(command.typed).left(32767);
            const qsizetype reportsBefore = reports.size();
            Combo()->setEditText(typed);
            Click("Command1_0");
            const bool rejected = reports.size() > reportsBefore;
            QVERIFY2(Combo()->currentText() == (rejected ? typed : QString()), qPrintable(where));
            break;
        }
        }
        QStringList entries, complements;
        for (const std::u16string& entry : window->Book().Entries()) {
            entries << QString::fromStdU16String(entry);
        }
        for (const std::u16string& complement : window->Book().Complements()) {
            complements << QString::fromStdU16String(complement);
        }
        QVERIFY2(Entries() == entries, qPrintable(where));
        QVERIFY2(Complements() == complements, qPrintable(where));
    }
}

// The offscreen platform's screen is 800 × 600 pixels; a projector's,
// 1920 × 1080, has room for the window at 200 %.
int main(int argc, char* argv[])
{
    QTemporaryDir folder;
    QFile screens(folder.filePath("screens.json"));
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && screens.open(QIODevice::WriteOnly)) {
        screens.write(R"({"screens": [{"name": "projector", "width": 1920, "height": 1080}]})");
        screens.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_main_window.moc"
