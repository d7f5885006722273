#include "desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

void SystemDesktop::openPage(const QString &address, quintptr)
{
    // xdg-open needs no owner window; it starts the browser detached from us.
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace platform
