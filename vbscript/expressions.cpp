// Expressions: variables, constants, members, calls of procedures, built-ins and host objects.
#include "evaluation.h"

#include "objects/regexp.h"
#include "objects/scriptclass.h"
#include "operators.h"

namespace vbs {

// ---- expressions -----------------------------------------------------------------------

bool Expr::assign(Interp &I, Value &&, bool)
{
    return I.raiseNamed(err::IllegalAssignment, written());
}

bool Expr::test(Interp &I, bool &out)
{
    const Value *v;
    Value tmp;
    return peekValue(I, this, v, tmp) && truthOf(I, *v, out);
}

bool Expr::call(Interp &I)
{
    Value ignored;
    return eval(I, ignored);
}

bool Name::eval(Interp &I, Value &)
{
    return I.raiseNamed(err::Undefined, name); // never runs: names are resolved first
}

bool LocalVar::eval(Interp &I, Value &out)
{
    out = *I.frame->refs[slot];
    return true;
}

bool LocalVar::peek(Interp &I, const Value *&out, Value &)
{
    out = I.frame->refs[slot];
    return true;
}

Value *LocalVar::ref(Interp &I)
{
    return I.frame->refs[slot];
}

Value *LocalVar::plainRef(Interp &I)
{
    return I.frame->refs[slot];
}

bool LocalVar::assign(Interp &I, Value &&v, bool isSet)
{
    return store(I, *I.frame->refs[slot], std::move(v), isSet, name);
}

bool LocalVar::call(Interp &I)
{
    const Value &v = *I.frame->refs[slot];
    if (v.isObject() && v.asObject()) {
        Value out;
        Value hold = v;
        return callDefault(I, hold.asObject(), ArgList(), InvokeMethod, nullptr, out, name);
    }
    return I.raiseNamed(err::TypeMismatch, name);
}

bool GlobalVar::eval(Interp &I, Value &out)
{
    if (entry->kind == GlobalEntry::Procedure) // defined since this was compiled
        return I.callProc(entry->proc, Args(), &out);
    out = entry->value;
    return true;
}

bool GlobalVar::peek(Interp &I, const Value *&out, Value &tmp)
{
    if (entry->kind == GlobalEntry::Procedure) {
        out = &tmp;
        return eval(I, tmp);
    }
    out = &entry->value;
    return true;
}

// Writing a global (assignment, ReDim, a For counter, passing it by reference) makes it exist.
Value *GlobalVar::ref(Interp &)
{
    entry->exists = true;
    return &entry->value;
}

Value *GlobalVar::plainRef(Interp &)
{
    if (entry->kind != GlobalEntry::Var)
        return nullptr;
    entry->exists = true;
    return &entry->value;
}

bool GlobalVar::assign(Interp &I, Value &&v, bool isSet)
{
    if (entry->kind == GlobalEntry::Const)
        return I.raiseNamed(err::IllegalAssignment, name);
    entry->exists = true;
    return store(I, entry->value, std::move(v), isSet, name);
}

bool GlobalVar::call(Interp &I)
{
    if (entry->kind == GlobalEntry::Procedure)
        return I.callProc(entry->proc, Args(), nullptr);
    const Value &v = entry->value;
    if (v.isObject() && v.asObject()) {
        Value out;
        Value hold = v;
        return callDefault(I, hold.asObject(), ArgList(), InvokeMethod, nullptr, out, name);
    }
    return I.raiseNamed(err::TypeMismatch, name);
}

bool ConstRef::assign(Interp &I, Value &&, bool)
{
    return I.raiseNamed(err::IllegalAssignment, name);
}

bool Undefined::known(Interp &I) const
{
    if (entry->kind != GlobalEntry::Var || entry->declared || entry->exists)
        return true;
    return I.raiseNamed(err::Undefined, name);
}
bool Undefined::peek(Interp &I, const Value *&out, Value &tmp) { return known(I) && GlobalVar::peek(I, out, tmp); }
bool Undefined::eval(Interp &I, Value &out) { return known(I) && GlobalVar::eval(I, out); }
bool Undefined::assign(Interp &I, Value &&v, bool isSet) { return known(I) && GlobalVar::assign(I, std::move(v), isSet); }
bool Undefined::call(Interp &I) { return known(I) && GlobalVar::call(I); }
Value *Undefined::ref(Interp &I) { return known(I) ? GlobalVar::ref(I) : nullptr; }

bool Index::eval(Interp &I, Value &out)
{
    if (I.stackExhausted()) // a(0)(0)(0)...: one level per link
        return I.raise(err::OutOfStack);
    Value base_;
    if (!base->eval(I, base_))
        return false;
    return indexValue(I, base_, args, out, base->written());
}

bool Index::call(Interp &I)
{
    Value ignored;
    return eval(I, ignored);
}

bool Index::assign(Interp &I, Value &&v, bool isSet)
{
    Value base_;
    if (!base->eval(I, base_))
        return false;
    Object *o;
    if (!I.objectOf(base_, o, base->written()))
        return false;
    Value ignored;
    return callDefault(I, o, args, isSet ? InvokeSet : InvokeLet, &v, ignored, base->written());
}

// The call as written, for error descriptions: o.Items(1).Name gives "o.Items.Name". The
// chain is walked in a loop, and a very long one keeps only its last links.
QString Member::written() const
{
    constexpr int MaxLinks = 16;
    QStringList names{name};
    const Expr *e = object;
    for (;;) {
        if (auto *m = dynamic_cast<const Member *>(e)) {
            if (names.size() < MaxLinks)
                names.append(m->name);
            e = m->object;
        } else if (auto *index = dynamic_cast<const Index *>(e)) {
            e = index->base;
        } else {
            break;
        }
    }
    std::reverse(names.begin(), names.end());
    const QString root = e->written();
    if (!root.isEmpty() && !root.startsWith(QLatin1Char('#'))) // not the hidden With object
        names.prepend(root);
    return names.join(QLatin1Char('.'));
}

QString Index::written() const
{
    const Expr *e = base;
    while (auto *index = dynamic_cast<const Index *>(e))
        e = index->base;
    return e->written();
}

bool Paren::eval(Interp &I, Value &out)
{
    if (I.stackExhausted())
        return I.raise(err::OutOfStack);
    return inner->eval(I, out);
}

bool Member::invoke(Interp &I, Invoke kind, Value *assigned, Value &out)
{
    if (I.stackExhausted()) // o.P.P.P...: one level per link
        return I.raise(err::OutOfStack);
    Value objectValue;
    if (!object->eval(I, objectValue))
        return false;
    Object *o;
    if (!objectValue.isObject())
        return I.raiseNamed(err::ObjectRequired, object->written().startsWith(QLatin1Char('#')) ? name : object->written());
    o = objectValue.asObject();
    if (!o)
        return I.raiseNamed(err::ObjectRequired, object->written().startsWith(QLatin1Char('#')) ? name : object->written());
    int id;
    if (o->memberKey() == cachedKey) {
        id = cachedId;
    } else {
        id = o->memberId(name);
        cachedKey = o->memberKey();
        cachedId = id;
    }
    if (id == NoMember)
        return I.raiseNamed(err::NoSuchMember, written());
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    const Args a = av.argsWith(assigned);
    if (!chargeArguments(I, a))
        return false;
    if (succeeded(I, o->invoke(I, id, kind, a, out)) && I.spend(workOf(out)))
        return true;
    // obj.Prop(i) where Prop takes no arguments: read Prop, then index what it gave.
    if (I.error().number == err::WrongArgs && av.count > 0 && !assigned && (kind & InvokeGet)) {
        const ScriptError first = I.error();
        I.clearError();
        Value whole;
        if (succeeded(I, o->invoke(I, id, InvokeGet, Args(), whole)) && indexEvaluated(I, whole, a, out))
            return true;
        I.setError(first);
    }
    return annotate(I, written());
}

bool Member::eval(Interp &I, Value &out)
{
    return invoke(I, Invoke(InvokeMethod | InvokeGet), nullptr, out);
}

bool Member::call(Interp &I)
{
    Value ignored;
    return invoke(I, InvokeMethod, nullptr, ignored);
}

bool Member::assign(Interp &I, Value &&v, bool isSet)
{
    Value ignored;
    return invoke(I, isSet ? InvokeSet : InvokeLet, &v, ignored);
}

bool NewObject::eval(Interp &I, Value &out)
{
    // The language's own class that New makes, whatever classes the script defines.
    if (className.compare(RegExpObject::ClassName, Qt::CaseInsensitive) == 0) {
        out = Value::object(new RegExpObject);
        return true;
    }
    if (!entry)
        entry = I.global(className);
    ClassDef *cls = entry && entry->kind == GlobalEntry::Class ? entry->cls : nullptr;
    if (!cls)
        return I.raiseNamed(err::ClassNotDefined, className);
    auto *o = new ScriptObject(I, cls);
    Value holder = Value::object(o);
    if (!o->initialize())
        return false;
    out = std::move(holder);
    return true;
}

bool MeExpr::eval(Interp &I, Value &out)
{
    if (!I.frame->me)
        return I.raise(err::InvalidMe);
    out = Value::object(I.frame->me);
    return true;
}

bool ProcCall::eval(Interp &I, Value &out)
{
    return I.callProcedure(entry, args, &out, name);
}

bool ProcCall::call(Interp &I)
{
    return I.callProcedure(entry, args, nullptr, name);
}

bool BuiltinCall::eval(Interp &I, Value &out)
{
    const int n = int(args.items.size());
    if (n < fn->minArgs || n > fn->maxArgs)
        return I.raiseNamed(err::WrongArgs, name);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    av.ownCopiesIfCodeMayRun();
    if (!chargeArguments(I, av.args()) || !succeeded(I, fn->fn(I, av.args(), out)) || !I.spend(workOf(out)))
        return annotate(I, name);
    return true;
}

bool BuiltinCall::call(Interp &I)
{
    Value ignored;
    return eval(I, ignored);
}

bool HostMember::eval(Interp &I, Value &out)
{
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    if (!chargeArguments(I, av.args()) || !succeeded(I, object->invoke(I, id, Invoke(InvokeMethod | InvokeGet), av.args(), out))
        || !I.spend(workOf(out)))
        return annotate(I, objectName + QLatin1Char('.') + name);
    return true;
}

bool HostMember::call(Interp &I)
{
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    Value ignored;
    if (!chargeArguments(I, av.args()) || !succeeded(I, object->invoke(I, id, InvokeMethod, av.args(), ignored)))
        return annotate(I, objectName + QLatin1Char('.') + name);
    return true;
}

// member(args) = v through an object's dispatch: the arguments evaluated, the value last;
// a failure of the member itself is reported under the name nameOf() gives.
template <typename NameOf>
static bool assignThrough(Interp &I, Object *object, int id, const ArgList &args, Value &&v, bool isSet, NameOf nameOf)
{
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    Value ignored;
    return succeeded(I, object->invoke(I, id, isSet ? InvokeSet : InvokeLet, av.argsWith(&v), ignored))
           || annotate(I, nameOf());
}

bool HostMember::assign(Interp &I, Value &&v, bool isSet)
{
    return assignThrough(I, object, id, args, std::move(v), isSet, [this] { return objectName + QLatin1Char('.') + name; });
}

// Inside a class: fields of Me directly, other members through Me's own dispatch.
Value *ClassMemberRef::field(Interp &I) const
{
    auto *me = static_cast<ScriptObject *>(I.frame->me);
    if (!me || hasArgs)
        return nullptr;
    const int index = I.frame->proc->cls->members[size_t(id - 1)].field;
    return index >= 0 ? me->field(index) : nullptr;
}

Scalar ClassMemberRef::scalar(Interp &I)
{
    const Value *f = field(I);
    return f ? f->scalar() : Scalar::none();
}

bool ClassMemberRef::eval(Interp &I, Value &out)
{
    if (const Value *f = field(I)) { // a field of Me, read as it is
        out = *f;
        return true;
    }
    auto *me = static_cast<ScriptObject *>(I.frame->me);
    if (!me)
        return I.raise(err::InvalidMe);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    return succeeded(I, me->invoke(I, id, Invoke(InvokeMethod | InvokeGet), av.args(), out)) || annotate(I, name);
}

Value *ClassMemberRef::ref(Interp &I)
{
    return field(I);
}

bool ClassMemberRef::assign(Interp &I, Value &&v, bool isSet)
{
    // A field of Me and a value that needs no conversion: stored as it is (the old value
    // is let go of once the new one is in place).
    if (isSet == v.isObject()) {
        if (Value *f = field(I)) {
            *f = std::move(v);
            return true;
        }
    }
    auto *me = static_cast<ScriptObject *>(I.frame->me);
    if (!me)
        return I.raise(err::InvalidMe);
    return assignThrough(I, me, id, args, std::move(v), isSet, [this] { return name; });
}

bool ClassMemberRef::call(Interp &I)
{
    auto *me = static_cast<ScriptObject *>(I.frame->me);
    if (!me)
        return I.raise(err::InvalidMe);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    Value ignored;
    return succeeded(I, me->invoke(I, id, InvokeMethod, av.args(), ignored)) || annotate(I, name);
}

} // namespace vbs
