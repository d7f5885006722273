#include "winenv.h"

#include "adostream.h"
#include "dotnet.h"
#include "errors.h"
#include "modules.h"
#include "network.h"

namespace winenv {

namespace {

// The classes of the module (libvornix-winenv.so), which needs Qt Network, libxml2 and libarchive.
const char *const ModuleClasses[] = {
    "MSXML2.XMLHTTP", "MSXML2.XMLHTTP.3.0", "MSXML2.XMLHTTP.6.0", "Microsoft.XMLHTTP",
    "MSXML2.ServerXMLHTTP", "MSXML2.ServerXMLHTTP.3.0", "MSXML2.ServerXMLHTTP.6.0", "WinHttp.WinHttpRequest.5.1",
    "MSXML2.DOMDocument", "MSXML2.DOMDocument.3.0", "MSXML2.DOMDocument.6.0", "Microsoft.XMLDOM", "MSXML.DOMDocument",
    "WbemScripting.SWbemLocator", "WbemScripting.SWbemDateTime", "WbemScripting.SWbemLastError",
    "Shell.Application",
};

using ModuleCreate = vbs::Object *(*)(const QString *progId);
using ModuleGetObject = vbs::Object *(*)(vbs::Context *cx, const QString *moniker);

QFunctionPointer moduleEntry(const char *symbol, QString *why)
{
    return platform::modules::entry(QStringLiteral("libvornix-winenv.so"), QStringLiteral(VORNIX_WINENV_BUILD_PATH),
                                    symbol, why);
}

// Loaded the first time a script creates one of its objects; null when it cannot be.
ModuleCreate module()
{
    static const ModuleCreate create = reinterpret_cast<ModuleCreate>(moduleEntry("vornixWinenvCreate", nullptr));
    return create;
}

} // namespace

void registerObjects(const Register &add)
{
    for (const QString &id : dotnet::progIds())
        add(id, [id] { return dotnet::create(id); });
    add(AdoStream::ProgId, [] { return new AdoStream; });
    add(Network::ProgId, [] { return new Network; });
    for (const char *name : ModuleClasses) {
        const QString id = QString::fromLatin1(name);
        add(id, [id]() -> vbs::Object * {
            const ModuleCreate create = module();
            return create ? create(&id) : nullptr;
        });
    }
}

void registerMonikers(const RegisterMoniker &add)
{
    add(QStringLiteral("winmgmts"), [](vbs::Context &cx, const QString &moniker) -> vbs::Object * {
        static QString why;
        static const auto get = reinterpret_cast<ModuleGetObject>(moduleEntry("vornixWinenvGetObject", &why));
        if (!get) {
            cx.raise(vbs::err::CantCreateObject, QStringLiteral("WMI is not available: %1").arg(why));
            return nullptr;
        }
        return get(&cx, &moniker);
    });
}

} // namespace winenv
