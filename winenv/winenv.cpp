#include "winenv.h"

#include "adostream.h"
#include "dotnet.h"
#include "modules.h"

namespace winenv {

namespace {

// The classes of the module (libvornix-winenv.so), which needs Qt Network and libxml2.
const char *const ModuleClasses[] = {
    "MSXML2.XMLHTTP", "MSXML2.XMLHTTP.3.0", "MSXML2.XMLHTTP.6.0", "Microsoft.XMLHTTP",
    "MSXML2.ServerXMLHTTP", "MSXML2.ServerXMLHTTP.3.0", "MSXML2.ServerXMLHTTP.6.0", "WinHttp.WinHttpRequest.5.1",
    "MSXML2.DOMDocument", "MSXML2.DOMDocument.3.0", "MSXML2.DOMDocument.6.0", "Microsoft.XMLDOM", "MSXML.DOMDocument",
};

using ModuleCreate = vbs::Object *(*)(const QString *progId);

// Loaded the first time a script creates one of its objects; null when it cannot be.
ModuleCreate module()
{
    static const ModuleCreate create = reinterpret_cast<ModuleCreate>(platform::modules::entry(
        QStringLiteral("libvornix-winenv.so"), QStringLiteral(VORNIX_WINENV_BUILD_PATH), "vornixWinenvCreate", nullptr));
    return create;
}

} // namespace

void registerObjects(const Register &add)
{
    for (const QString &id : dotnet::progIds())
        add(id, [id] { return dotnet::create(id); });
    add(AdoStream::ProgId, [] { return new AdoStream; });
    for (const char *name : ModuleClasses) {
        const QString id = QString::fromLatin1(name);
        add(id, [id]() -> vbs::Object * {
            const ModuleCreate create = module();
            return create ? create(&id) : nullptr;
        });
    }
}

} // namespace winenv
