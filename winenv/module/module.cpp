// libvornix-winenv.so: the library objects that need more than Qt Core (Qt Network,
// libxml2, libarchive, D-Bus), loaded by the hosts the first time a script creates one of them. It uses the
// engine's object interface from the program that loaded it.
#include <QString>

#include "http.h"
#include "shellapp.h"
#include "wmi.h"
#include "xmldom.h"

extern "C" Q_DECL_EXPORT vbs::Object *vornixWinenvCreate(const QString *progId)
{
    using winenv::HttpRequest;
    const QString id = progId->toLower();
    if (id == QLatin1String("msxml2.xmlhttp") || id == QLatin1String("msxml2.xmlhttp.3.0")
        || id == QLatin1String("msxml2.xmlhttp.6.0") || id == QLatin1String("microsoft.xmlhttp"))
        return new HttpRequest(HttpRequest::Family::Client);
    if (id.startsWith(QLatin1String("msxml2.serverxmlhttp")))
        return new HttpRequest(HttpRequest::Family::Server);
    if (id.startsWith(QLatin1String("winhttp.winhttprequest")))
        return new HttpRequest(HttpRequest::Family::WinHttp);
    if (id.startsWith(QLatin1String("msxml2.domdocument")) || id == QLatin1String("microsoft.xmldom")
        || id == QLatin1String("msxml.domdocument"))
        return winenv::newDocument();
    if (id == QLatin1String("shell.application"))
        return winenv::shellapp::create();
    return winenv::wmi::create(*progId);
}

// GetObject("winmgmts:..."): WMI's services or the object the moniker names, or null with
// the error raised.
extern "C" Q_DECL_EXPORT vbs::Object *vornixWinenvGetObject(vbs::Context *cx, const QString *moniker)
{
    return winenv::wmi::getObject(*cx, *moniker);
}
