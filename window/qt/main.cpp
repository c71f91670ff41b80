// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Velmora, Qt edition: the program's entry.
#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>

#include "window/program_info.h"
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
        // In Bulgarian for the pupil and the teacher, in English for the
        // administrator who reads the logs.
        std::fputs("velmora: няма графична среда, в която да се отвори прозорецът. "
                   "Стартирайте програмата от работния плот, а без графична среда — "
                   "с xvfb-run (xvfb-run velmora).\n"
                   "velmora: no display to open the window on; start it from a desktop "
                   "session, or without one under xvfb-run (xvfb-run velmora)\n",
                   stderr);
        return EXIT_FAILURE;
    }
    // The name users read: the X11 window class, the title of the client
    // leader window that groups the program's windows, the application's
    // accessible name and applicationDisplayName() all say "Velmora". No
    // display name of its own: the X11 and Wayland plugins append one that is
    // set to every window title, and the title bar shows the window's title
    // exactly. Set before the application starts, so that the windows Qt
    // makes while starting are named so too.
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMORA_APP_ID));
    QApplication app(argc, argv);

    velmora::MainWindow window;
    window.show();
    return app.exec();
}
