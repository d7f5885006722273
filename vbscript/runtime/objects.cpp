// CreateObject: objects of the classes the host registered.
#include "builtins.h"
#include "convert.h"

namespace vbs::runtime {

namespace {

// CreateObject(class[, server])
bool createobject(Context &cx, Args a, Value &r)
{
    QString progId;
    if (!toText(cx, a[0], progId))
        return false;
    if (a.has(1))
        return cx.raise(462); // no remote servers here
    Object *o = cx.createObject(progId);
    if (!o)
        return cx.raise(err::CantCreateObject, errorText(err::CantCreateObject) + QStringLiteral(": '") + progId + QLatin1Char('\''));
    r = Value::object(o);
    return true;
}

} // namespace

const Builtin objectFunctions[] = {
    {"CreateObject", 1, 2, createobject},
    {nullptr, 0, 0, nullptr},
};

} // namespace vbs::runtime
