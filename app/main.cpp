#include <QApplication>
#include <cstdio>
#include <unistd.h>

#include "desktop.h"
#include "frmmain.h"

int main(int argc, char *argv[])
{
    // Keystrokes and window activation reach other programs through X11, so on a Wayland
    // desktop the program runs as an X11 client (XWayland) whenever an X display is there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(FrmMain::Title);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vornix/icon48.png")));

    platform::SystemDesktop desktop;
    FrmMain window(desktop, QStringLiteral(VORNIX_HOME_PAGE));
    QObject::connect(&window, &FrmMain::programEnded, [] {
        // The program ends at once, even from inside a running script: no clean-up of its
        // own, no further handler. Whatever the page request started runs on by itself.
        std::fflush(nullptr);
        ::_exit(0);
    });
    window.show();
    return app.exec();
}
