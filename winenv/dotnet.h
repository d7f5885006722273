#pragma once

#include <QString>

#include "context.h"
#include "dispatch.h"

// The .NET classes that Windows makes visible to scripts through COM (mscorlib):
// System.Collections.ArrayList, SortedList, Hashtable, Queue, Stack, System.Random and
// System.Text.StringBuilder. Their members are the ones COM clients can call; a method's
// overloads are numbered as COM numbers them (Next, Next_2, Next_3), and .NET's exceptions
// reach the script as the COM errors Windows gives them.
namespace winenv::dotnet {

// Every class above, by its ProgID: a new object, or null for another name.
vbs::Object *create(const QString &progId);
// The ProgIDs, for registering them with an engine.
const QStringList &progIds();

// .NET exceptions as scripts see them: the HRESULT as the error number, the message as
// the description.
bool argumentOutOfRange(vbs::Context &cx, const char *parameter);
bool invalidOperation(vbs::Context &cx, const QString &message);
bool argumentError(vbs::Context &cx, const QString &message);

} // namespace winenv::dotnet
