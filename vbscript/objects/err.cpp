#include "err.h"

#include "context.h"
#include "convert.h"

namespace vbs {

namespace {
enum Id { Number = 1, Description, Source, HelpFile, HelpContext, Raise, Clear };
const char *const names[] = {"number", "description", "source", "helpfile", "helpcontext", "raise", "clear"};
} // namespace

int ErrObject::memberId(const QString &name)
{
    const QString lower = name.toLower();
    for (int i = 0; i < 7; ++i)
        if (lower == QLatin1String(names[i]))
            return i + 1;
    return NoMember;
}

// Err.Raise number, [source], [description], [helpfile], [helpcontext]. What is left out
// keeps the value of an Err not cleared since; a number is 1 to 65535 or a full 32-bit code,
// and the codes of VBScript's own facility and common system codes become VBScript's errors.
bool ErrObject::raise(Context &cx, Args args)
{
    int32_t number;
    if (args.count < 1 || args.count > 5)
        return cx.raise(err::WrongArgs);
    if (!toLong(cx, args[0], number))
        return false;
    if (number == 0 || number > 65535)
        return cx.raise(err::InvalidCall);
    ScriptError e = m_error;
    e.number = errorNumberOf(number);
    e.name.clear();
    if ((args.has(1) && !toText(cx, args[1], e.source)) || (args.has(2) && !toText(cx, args[2], e.description))
        || (args.has(3) && !toText(cx, args[3], e.helpFile)) || (args.has(4) && !toLong(cx, args[4], e.helpContext)))
        return false;
    if (e.source.isEmpty())
        e.source = QLatin1String(RuntimeErrorSource);
    if (e.description.isEmpty())
        e.description = errorText(e.number);
    e.line = e.column = 0;
    cx.setError(e);
    return false;
}

void ErrObject::set(const ScriptError &error)
{
    m_error = error;
    m_error.name.clear();
    if (m_error.description.isEmpty())
        m_error.description = errorText(error.number);
    if (m_error.source.isEmpty())
        m_error.source = QLatin1String(RuntimeErrorSource);
}

bool ErrObject::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    if (id == DefaultMember)
        id = Number;
    const bool assigning = kind & (InvokeLet | InvokeSet);
    switch (id) {
    case Number:
    case HelpContext:
        if (assigning) {
            int32_t n;
            if (args.count != 1 || !toLong(cx, args[0], n))
                return cx.raiseUnlessPending(err::WrongArgs);
            (id == Number ? m_error.number : m_error.helpContext) = n;
            return true;
        }
        result = Value::lng(id == Number ? m_error.number : m_error.helpContext);
        return true;
    case Description:
    case Source:
    case HelpFile: {
        QString &field = id == Description ? m_error.description : id == Source ? m_error.source : m_error.helpFile;
        if (assigning) {
            if (args.count != 1 || !toText(cx, args[0], field))
                return cx.raiseUnlessPending(err::WrongArgs);
            return true;
        }
        result = Value::string(field);
        return true;
    }
    case Raise:
        return raise(cx, args);
    case Clear:
        clear();
        return true;
    default:
        return cx.raise(err::NoSuchMember);
    }
}

} // namespace vbs
