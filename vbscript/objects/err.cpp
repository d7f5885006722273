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

void ErrObject::set(const ScriptError &error)
{
    m_error = error;
    if (m_error.description.isEmpty())
        m_error.description = errorText(error.number);
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
                return cx.hasError() || cx.raise(err::WrongArgs);
            if (id == Number)
                m_error.number = n;
            return true;
        }
        result = Value::lng(id == Number ? m_error.number : 0);
        return true;
    case Description:
    case Source:
    case HelpFile:
        if (assigning) {
            QString text;
            if (args.count != 1 || !toText(cx, args[0], text))
                return cx.hasError() || cx.raise(err::WrongArgs);
            if (id == Description)
                m_error.description = text;
            else if (id == Source)
                m_error.source = text;
            return true;
        }
        result = Value::string(id == Description ? m_error.description : id == Source ? m_error.source : QString());
        return true;
    case Raise: {
        // Err.Raise number, [source], [description], [helpfile], [helpcontext]
        int32_t number;
        if (args.count < 1 || args.count > 5)
            return cx.raise(err::WrongArgs);
        if (!toLong(cx, args[0], number))
            return false;
        QString source, description;
        if (args.has(1) && !toText(cx, args[1], source))
            return false;
        if (args.has(2) && !toText(cx, args[2], description))
            return false;
        if (description.isEmpty())
            description = errorText(number);
        return cx.raise(number, description, source);
    }
    case Clear:
        clear();
        return true;
    default:
        return cx.raise(err::NoSuchMember);
    }
}

} // namespace vbs
