// Started by bench_startup: shows a window and says when it is shown, or
// fills the window and says how much memory the process took at its peak.
//
//   startup_probe bare          a bare Qt window of the same size
//   startup_probe label         the same with one label, the least text
//   startup_probe velmora       the Velmora window
//   startup_probe memory N      the Velmora window with N entries entered
#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

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
        std::fputs("usage: startup_probe bare|label|velmora|memory N\n", stderr);
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
    } else {
        window = std::make_unique<velmora::MainWindow>();
    }
    WaitUntilShown(*window);
    std::printf("shown\n");
    std::fflush(stdout);

    if (std::strcmp(argv[1], "memory") == 0 && argc > 2) {
        const long count = std::atol(argv[2]);
        auto* combo = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
        auto* enter = window->findChild<QPushButton*>(QStringLiteral("Command1_0"));
        for (long i = 0; i < count; ++i) {
            combo->setEditText(QString::number(1 + i % 9999));
            enter->click();
        }
        QApplication::processEvents();
        std::printf("%ld\n", PeakKibibytes());
        std::fflush(stdout);
    }
    return 0;
}
