// Velmora, Qt edition: the program's entry.
#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>

#include "window/qt/main_window.h"

namespace {

// Qt aborts with a long trace when no display can be reached; say plainly
// what is missing instead.
bool DisplayReachable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && !defined(Q_OS_ANDROID)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!DisplayReachable()) {
        std::fputs("velmora: no display to open the window on; start it from a desktop "
                   "session, or without one under xvfb-run (xvfb-run velmora)\n",
                   stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.velmora.Velmora"));

    velmora::MainWindow window;
    window.show();
    return app.exec();
}
