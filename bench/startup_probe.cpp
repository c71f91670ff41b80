// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Started by bench_startup: shows a window and says when it is shown, or
// fills the window and says how much memory the process took at its peak.
//
//   startup_probe bare          a bare Qt window of the same size
//   startup_probe label         the same with one label, the least text
//   startup_probe floor         the same with Velmora's nine controls as plain
//                               Qt widgets with their texts, in the same
//                               places and font, without colours or styling
//   startup_probe velmora       the Velmora window
//   startup_probe memory N      the Velmora window with N entries entered
//   startup_probe floor-memory N
//                               the floor window holding N entries and their
//                               complements in its combo box and list
#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "window/form_tables.h"
#include "window/qt/main_window.h"

namespace {

void WaitUntilShown(QWidget& window)
{
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    QApplication::processEvents();  // the first paint
}

QString ToQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The least any window with Velmora's controls costs: Qt's standard widgets
// with the same texts, places and font, and nothing more.
std::unique_ptr<QWidget> FloorWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setFixedSize(461, 315);
    window->setFont(velmora::FormFont());
    for (const velmora::form::ControlDesign& design : velmora::form::Controls()) {
        const QString text = ToQString(design.text);
        QWidget* widget = nullptr;
        switch (design.kind) {
        case velmora::form::ControlKind::Label:
            widget = new QLabel(text, window.get());
            break;
        case velmora::form::ControlKind::ComboBox: {
            auto* combo = new QComboBox(window.get());
            combo->setEditable(true);
            widget = combo;
            break;
        }
        case velmora::form::ControlKind::PushButton:
            widget = new QPushButton(text, window.get());
            break;
        case velmora::form::ControlKind::ListBox:
            widget = new QListView(window.get());
            break;
        case velmora::form::ControlKind::TextBox:
            widget = new QPlainTextEdit(text, window.get());
            break;
        }
        widget->setGeometry(velmora::form::TwipsToPixels(design.left), velmora::form::TwipsToPixels(design.top),
                            velmora::form::TwipsToPixels(design.width),
                            velmora::form::TwipsToPixels(design.height));
        widget->setVisible(design.visible);
    }
    return window;
}

long PeakKibibytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: startup_probe bare|label|floor|velmora|memory N|floor-memory N\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (std::strcmp(argv[1], "bare") == 0 || std::strcmp(argv[1], "label") == 0) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(461, 315);
        if (argv[1][0] == 'l') {
            new QLabel(QStringLiteral("Velmora"), window.get());
        }
    } else if (std::strncmp(argv[1], "floor", 5) == 0) {
        window = FloorWindow();
    } else {
        window = std::make_unique<velmora::MainWindow>();
    }
    WaitUntilShown(*window);
    std::printf("shown\n");
    std::fflush(stdout);
    if (argc < 3) {
        std::_Exit(0);  // what is measured ends here; so do the instruction counts
    }

    const long count = std::atol(argv[2]);
    if (std::strcmp(argv[1], "memory") == 0) {
        auto* combo = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
        auto* enter = window->findChild<QPushButton*>(QStringLiteral("Command1_0"));
        for (long i = 0; i < count; ++i) {
            combo->setEditText(QString::number(1 + i % 9999));
            enter->click();
        }
    } else {
        QStringList entries, complements;
        for (long i = 0; i < count; ++i) {
            entries.append(QString::number(1 + i % 9999));
            complements.append(QString::number(9999 - (1 + i % 9999)));
        }
        window->findChild<QComboBox*>()->setModel(new QStringListModel(entries, window.get()));
        window->findChild<QListView*>()->setModel(new QStringListModel(complements, window.get()));
    }
    QApplication::processEvents();
    std::printf("%ld\n", PeakKibibytes());
    std::fflush(stdout);
    return 0;
}
