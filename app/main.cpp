#include <QApplication>
#include <cstdio>
#include <unistd.h>

#include "desktop.h"
#include "frmmain.h"
#include "session.h"

int main(int argc, char *argv[])
{
    // Keystrokes and window activation reach other programs through X11, so on a Wayland
    // desktop the program runs as an X11 client (XWayland) whenever an X display is there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    QApplication app(argc, argv);
    QApplication::setApplicationName(FrmMain::Title);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vornix/icon48.png")));

    // vornix-coder [FILE]: a script to open at start-up (a file manager's "Open with").
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1 || (!arguments.isEmpty() && arguments[0].startsWith(QLatin1Char('-')))) {
        std::fprintf(stderr, "usage: vornix-coder [FILE]\n");
        return 2;
    }
    platform::SystemDesktop desktop;
    Session session;
    FrmMain window(desktop, QStringLiteral(VORNIX_HOME_PAGE), &session, arguments.value(0));
    QObject::connect(&window, &FrmMain::programEnded, [] {
        // The program ends at once, even from inside a running script: no clean-up of its
        // own, no further handler. Whatever the page request started runs on by itself.
        std::fflush(nullptr);
        ::_exit(0);
    });
    window.show();
    return app.exec();
}
