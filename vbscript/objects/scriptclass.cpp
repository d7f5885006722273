#include "scriptclass.h"

#include <algorithm>

#include "convert.h"
#include "interpreter.h"

namespace vbs {

ScriptObject::ScriptObject(Interp &interp, ClassDef *cls) : m_interp(&interp), m_class(cls)
{
    m_fields.resize(cls->fields.size());
    interp.liveObjects.insert(this);
}

ScriptObject::~ScriptObject()
{
    if (m_interp)
        m_interp->liveObjects.erase(this);
}

Value *ScriptObject::fieldNamed(const QString &name, bool insideClass)
{
    const int id = m_class->memberId(name, insideClass);
    if (id < 1 || id > int(m_class->members.size()))
        return nullptr;
    const int f = m_class->members[size_t(id - 1)].field;
    return f >= 0 ? &m_fields[size_t(f)] : nullptr;
}

bool ScriptObject::initialize()
{
    for (size_t i = 0; i < m_class->fields.size(); ++i) {
        const ClassDef::Field &f = m_class->fields[i];
        if (!f.hasBounds)
            continue;
        if (f.bounds.empty()) { // Dim a(): an empty dynamic array
            m_fields[i] = Value::array(new ArrayData);
            continue;
        }
        Subscripts counts;
        int64_t total;
        if (!m_interp->arrayShape(f.bounds, counts, total, f.name)
            || !m_interp->reserveMemory(total * qint64(sizeof(Value))))
            return false;
        auto *a = new ArrayData;
        m_fields[i] = Value::array(a);
        a->fixed = true;
        a->counts.assign(counts.begin(), counts.end());
        a->lbounds.assign(counts.size(), 0);
        a->data.resize(size_t(total));
    }
    if (m_class->initialize) {
        Value ignored;
        return m_interp->callProc(m_class->initialize, Args(), &ignored, this);
    }
    return true;
}

void ScriptObject::runTerminate()
{
    // An error inside Class_Terminate is not the business of whoever let go of the object;
    // a stop (the time limit) is, and the interpreter raises it at its next step.
    if (m_interp->fatal)
        return;
    const bool hadError = m_interp->hasError();
    const ScriptError saved = m_interp->error();
    Value ignored;
    m_interp->callProc(m_class->terminate, Args(), &ignored, this);
    m_interp->clearError();
    if (hadError)
        m_interp->setError(saved);
}

void ScriptObject::lastReferenceGone()
{
    if (!m_terminated && m_interp && m_class->terminate) {
        m_terminated = true;
        addRef(); // alive while Class_Terminate runs
        runTerminate();
        if (dropReference() > 0)
            return; // Class_Terminate stored Me somewhere: the object lives on
    }
    delete this;
}

bool ScriptObject::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    if (!m_interp)
        return cx.raise(err::NoSuchMember);
    Interp &I = *m_interp;
    if (id == DefaultMember) {
        if (m_class->defaultId == NoMember)
            return cx.raise(err::NoSuchMember);
        id = m_class->defaultId;
    }
    if (id < 1 || id > int(m_class->members.size()))
        return cx.raise(err::NoSuchMember);
    const ClassDef::MemberInfo &m = m_class->members[size_t(id - 1)];
    const bool assigning = kind & (InvokeLet | InvokeSet);
    if (m.field >= 0) {
        Value &f = m_fields[size_t(m.field)];
        if (args.count == 0) { // a plain read: no code runs
            result = f;
            return true;
        }
        if (assigning && args.count == 1 && ((kind & InvokeSet) || !args[0].isObject())) {
            // A plain store: the old value is let go of last, when the store is done.
            if ((kind & InvokeSet) && !args[0].isObject())
                return cx.raise(err::ObjectRequired);
            f = args[0];
            return true;
        }
        // Converting a subscript or the value runs script code that may let go of this
        // object or reassign the field: the object is held, and the field read afterwards.
        Value holdMe = Value::object(this);
        if (assigning) {
            Value &v = args[args.count - 1];
            if (args.count == 1) {
                Value plain;
                if (!valueOf(cx, v, plain))
                    return false;
                f = std::move(plain);
                return true;
            }
            if (!f.isArray())
                return cx.raise(err::TypeMismatch);
            std::vector<int32_t> subs(size_t(args.count - 1));
            for (int i = 0; i + 1 < args.count; ++i)
                if (!toLong(cx, args[i], subs[size_t(i)]))
                    return false;
            if (!f.isArray())
                return cx.raise(err::TypeMismatch);
            ArrayData *a = f.mutableArray();
            const int64_t index = a->flatIndex(subs.data(), int(subs.size()));
            if (index < 0)
                return cx.raise(err::SubscriptOutOfRange);
            a->data[size_t(index)] = v;
            return true;
        }
        if (f.isArray()) {
            std::vector<int32_t> subs(size_t(args.count));
            for (int i = 0; i < args.count; ++i)
                if (!toLong(cx, args[i], subs[size_t(i)]))
                    return false;
            if (!f.isArray())
                return cx.raise(err::TypeMismatch);
            const int64_t index = f.asArray()->flatIndex(subs.data(), args.count);
            if (index < 0)
                return cx.raise(err::SubscriptOutOfRange);
            result = f.asArray()->data[size_t(index)];
            return true;
        }
        if (f.isObject() && f.asObject()) {
            Value hold = f;
            return hold.asObject()->invoke(cx, DefaultMember, kind, args, result);
        }
        return cx.raise(err::TypeMismatch);
    }
    Value hold = Value::object(this); // the object stays alive while its code runs
    if (m.method && !assigning)
        return I.callProc(m.method, args, &result, this);
    if (!assigning && m.get)
        return I.callProc(m.get, args, &result, this);
    if (assigning) {
        // Set needs a Property Set, a plain assignment a Property Let.
        Proc *setter = (kind & InvokeSet) ? m.set : m.let;
        if (!setter)
            return cx.raise(err::WrongArgs);
        Value ignored;
        return I.callProc(setter, args, &ignored, this);
    }
    return cx.raise(err::NoSuchMember);
}

} // namespace vbs
