// CreateObject, and code given as text: Eval, Execute, ExecuteGlobal, GetRef.
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
        return cx.raiseNamed(err::CantCreateObject, progId);
    r = Value::object(o);
    return true;
}

// GetObject([pathname][, class]): an object a moniker names ("winmgmts:..."). There are no
// running objects to attach to here, so a class alone is 429, as is a scheme nobody
// handles; a file whose type nothing handles is 432.
bool getobject(Context &cx, Args a, Value &r)
{
    QString moniker;
    if (a.has(0) && !toText(cx, a[0], moniker))
        return false;
    QString progId;
    if (a.has(1) && !toText(cx, a[1], progId))
        return false;
    if (moniker.isEmpty())
        return progId.isEmpty() ? cx.raise(err::InvalidCall) : cx.raiseNamed(err::CantCreateObject, progId);
    if (!progId.isEmpty()) // open this file with that class: no class opens files here
        return cx.raiseNamed(err::CantCreateObject, progId);
    return cx.getObject(moniker, r);
}

// Eval(expression): its value, with the variables in scope where Eval is called.
bool eval(Context &cx, Args a, Value &r)
{
    QString text;
    return toText(cx, a[0], text) && cx.evaluate(text, r);
}

// Execute(statements): run in the current procedure's scope; ExecuteGlobal at script level.
bool execute(Context &cx, Args a, Value &)
{
    QString text;
    return toText(cx, a[0], text) && cx.execute(text, false);
}

bool executeglobal(Context &cx, Args a, Value &)
{
    QString text;
    return toText(cx, a[0], text) && cx.execute(text, true);
}

// GetRef(name): the Sub or Function as an object to call later.
bool getref(Context &cx, Args a, Value &r)
{
    QString name;
    if (!toText(cx, a[0], name))
        return false;
    Object *o = cx.procedureRef(name);
    if (!o)
        return cx.raise(err::InvalidCall);
    r = Value::object(o);
    return true;
}

} // namespace

const Builtin objectFunctions[] = {
    {"CreateObject", 1, 2, createobject},
    {"GetObject", 0, 2, getobject},
    {"Eval", 1, 1, eval},
    {"Execute", 1, 1, execute},
    {"ExecuteGlobal", 1, 1, executeglobal},
    {"GetRef", 1, 1, getref},
    {nullptr, 0, 0, nullptr},
};

} // namespace vbs::runtime
