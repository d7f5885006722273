#include "winenv.h"

#include "adostream.h"
#include "dotnet.h"

namespace winenv {

void registerObjects(const Register &add)
{
    for (const QString &id : dotnet::progIds())
        add(id, [id] { return dotnet::create(id); });
    add(AdoStream::ProgId, [] { return new AdoStream; });
}

} // namespace winenv
