#pragma once

// What the files that run the tree share (the interpreter, expressions, elements, operator
// nodes, statements): how values are peeked, stored and passed, how library calls are
// judged and charged. Not part of the engine's face.

#include "interpreter.h"

#include "convert.h"

namespace vbs {

inline bool isFixedArray(const Value &v) { return v.isArray() && v.asArray()->fixed; }

// A library call that raised an error has failed, whatever it returned: the error belongs
// to the call's own statement, never to a later one.
[[gnu::always_inline]] inline bool succeeded(Interp &I, bool ok) { return ok && !I.hasError(); }

// The work a value stands for when a library call takes or makes it: its characters or
// elements. A call is charged for its arguments before it runs and for its result after,
// so that a loop of calls on large strings or arrays stops at the time limit like any
// other loop, whichever call it is.
[[gnu::always_inline]] inline qint64 workOf(const Value &v)
{
    if (v.isString())
        return v.asString().size();
    if (v.isArray())
        return qint64(v.asArray()->data.size());
    return 0;
}

inline bool chargeArguments(Interp &I, Args a)
{
    qint64 work = 0;
    for (int i = 0; i < a.count; ++i)
        work += workOf(a[i]);
    return work < 64 || I.spend(work);
}

// peek without a virtual call for the operands that are most often variables and literals.
[[gnu::always_inline]] inline bool peekValue(Interp &I, Expr *e, const Value *&out, Value &tmp)
{
    switch (e->access) {
    case Expr::Access::Local:
        out = I.frame->refs[static_cast<LocalVar *>(e)->slot];
        return true;
    case Expr::Access::Global: {
        GlobalEntry *entry = static_cast<GlobalVar *>(e)->entry;
        if (entry->kind != GlobalEntry::Var)
            break;
        out = &entry->value;
        return true;
    }
    case Expr::Access::Held:
        out = &static_cast<HeldValue *>(e)->value;
        return true;
    default: // the rest compute a value: evaluated straight into tmp
        if (I.stackExhausted()) // (1 + (1 + (1 + ...))): one level per operand
            return I.raise(err::OutOfStack);
        break;
    }
    out = &tmp;
    return e->eval(I, tmp);
}

// A variable's storage for writing, without a virtual call where it is a plain variable.
[[gnu::always_inline]] inline Value *variableStorage(Interp &I, Expr *var)
{
    if (var->access == Expr::Access::Local)
        return I.frame->refs[static_cast<LocalVar *>(var)->slot];
    if (var->access == Expr::Access::Global) {
        GlobalEntry *entry = static_cast<GlobalVar *>(var)->entry;
        if (entry->kind == GlobalEntry::Var) {
            entry->exists = true;
            return &entry->value;
        }
    }
    return var->ref(I);
}

// An integer result in the smallest of Integer and Long that the operands allow, else a
// Double: VBScript's promotion on overflow.
[[gnu::always_inline]] inline Scalar integerScalar(int64_t r, bool integerOperands)
{
    if (integerOperands && r >= -32768 && r <= 32767)
        return Scalar::whole(VType::Integer, int32_t(r));
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Scalar::whole(VType::Long, int32_t(r));
    return Scalar::dbl(double(r));
}

inline bool isIntegerOrLong(VType t) { return t == VType::Integer || t == VType::Long; }

// What a value becomes when assigned: Set wants an object and keeps it; Let takes an
// object's default value.
inline bool assignable(Interp &I, Value &v, bool isSet, const QString &name)
{
    if (isSet)
        return v.isObject() || I.raiseNamed(err::ObjectRequired, name);
    if (v.isObject()) {
        Value inner;
        if (!valueOf(I, v, inner))
            return false;
        v = std::move(inner);
    }
    return true;
}

// Let and Set into a variable's storage. A fixed-size array is copied, the copy being
// resizable, and a variable holding one refuses a Let.
inline bool store(Interp &I, Value &target, Value &&v, bool isSet, const QString &name)
{
    if (!assignable(I, v, isSet, name))
        return false;
    if (isFixedArray(target)) // Set as well as Let
        return I.raiseNamed(err::ArrayLocked, name);
    if (isSet) {
        target = std::move(v);
        return true;
    }
    if (isFixedArray(v)) {
        Value copy = v;
        copy.mutableArray();
        if (copy.asArray() == v.asArray()) { // we were the only holder: unshare by hand
            auto *a = new ArrayData(*v.asArray());
            a->refs = 1;
            a->locks = 0;
            copy = Value::array(a);
        }
        copy.asArray()->fixed = false;
        v = std::move(copy);
    }
    target = std::move(v);
    return true;
}

inline bool condition(Interp &I, Expr *e, bool &out)
{
    if (e->test(I, out))
        return true;
    // Under On Error Resume Next a failing condition lets execution go on into the block.
    if (I.frame->resumeNext && !I.fatal) {
        I.trapError();
        out = true;
        return true;
    }
    return false;
}

// A value as a condition: Null counts as False.
inline bool truthOf(Interp &I, const Value &v, bool &out)
{
    if (v.type() == VType::Boolean) {
        out = v.asBool();
        return true;
    }
    if (v.isNull()) {
        out = false;
        return true;
    }
    return toBool(I, v, out);
}

inline bool subscriptsOf(Interp &I, const ArgList &args, Subscripts &out)
{
    out.resize(args.items.size());
    for (size_t i = 0; i < args.items.size(); ++i) {
        Expr *e = args.items[i];
        if (!e)
            return I.raise(err::SubscriptOutOfRange);
        const Value *v;
        Value tmp;
        if (!peekValue(I, e, v, tmp))
            return false;
        if (v->type() == VType::Integer)
            out[i] = v->asInteger();
        else if (v->type() == VType::Long)
            out[i] = v->asLong();
        else if (!toLong(I, *v, out[i]))
            return false;
    }
    return true;
}

// Reads an element of an array value, or raises 9.
inline bool element(Interp &I, const Value &array, const Subscripts &subs, Value &out, const QString &name)
{
    const ArrayData *a = array.asArray();
    const int64_t index = a->flatIndex(subs.data(), int(subs.size()));
    if (index < 0)
        return I.raiseNamed(err::SubscriptOutOfRange, name);
    out = a->data[size_t(index)];
    return true;
}

// A call of an object's default member with arguments: obj(1).
inline bool callDefault(Interp &I, Object *o, const ArgList &args, Invoke kind, Value *assigned, Value &out, const QString &name)
{
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    if (!succeeded(I, o->invoke(I, DefaultMember, kind, av.argsWith(assigned), out))) {
        if (!I.hasError())
            I.raiseNamed(err::NoSuchMember, name);
        return false;
    }
    return true;
}

// Indexes a value: an array's element or an object's default member.
inline bool indexValue(Interp &I, const Value &base, const ArgList &args, Value &out, const QString &name)
{
    if (base.isArray()) {
        Subscripts subs;
        Value hold = base;
        return subscriptsOf(I, args, subs) && element(I, hold, subs, out, name);
    }
    if (base.isObject()) {
        if (!base.asObject())
            return I.raiseNamed(err::ObjectRequired, name);
        Value hold = base;
        return callDefault(I, hold.asObject(), args, Invoke(InvokeMethod | InvokeGet), nullptr, out, name);
    }
    return I.raiseNamed(err::TypeMismatch, name);
}

// Indexes a value with arguments already evaluated: an array's element, or the default
// member of an object.
inline bool indexEvaluated(Interp &I, const Value &base, Args args, Value &out)
{
    if (base.isArray()) {
        Subscripts subs;
        for (int i = 0; i < args.count; ++i) {
            int32_t n;
            if (!toLong(I, args[i], n))
                return false;
            subs.append(n);
        }
        return element(I, base, subs, out, QString());
    }
    if (base.isObject() && base.asObject()) {
        Value hold = base;
        return succeeded(I, hold.asObject()->invoke(I, DefaultMember, Invoke(InvokeMethod | InvokeGet), args, out));
    }
    return I.raise(err::TypeMismatch);
}

// Fills in a description that names the call, when the failure brought none of its own.
inline bool annotate(Interp &I, const QString &name)
{
    I.nameError(name);
    return false;
}

// Where an operator's operand comes from, known once names are resolved.
enum class Operand : uint8_t { Local, Global, Held, Computed };

inline Operand operandKind(const Expr *e)
{
    switch (e->access) {
    case Expr::Access::Local: return Operand::Local;
    case Expr::Access::Global: return Operand::Global;
    case Expr::Access::Held: return Operand::Held;
    default: return Operand::Computed;
    }
}

// A variable's storage by the kind of the variable (Local or Global): for reading, and for
// writing (a global then exists). Null for a global that is not a variable.
template <Operand V> [[gnu::always_inline]] inline Value *variableOf(Interp &I, Expr *var, bool writing)
{
    static_assert(V == Operand::Local || V == Operand::Global);
    if constexpr (V == Operand::Local) {
        return I.frame->refs[static_cast<LocalVar *>(var)->slot];
    } else {
        GlobalEntry *entry = static_cast<GlobalVar *>(var)->entry;
        if (entry->kind != GlobalEntry::Var)
            return nullptr;
        if (writing)
            entry->exists = true;
        return &entry->value;
    }
}

// peekValue for an operand whose kind is known when compiling. `inFull`: a computed operand
// is evaluated without trying the scalar way (its parent tried it already).
template <Operand K> [[gnu::always_inline]] inline bool operandValue(Interp &I, Expr *e, const Value *&out, Value &tmp, bool inFull = false)
{
    if constexpr (K == Operand::Local) {
        out = I.frame->refs[static_cast<LocalVar *>(e)->slot];
        return true;
    } else if constexpr (K == Operand::Held) {
        out = &static_cast<HeldValue *>(e)->value;
        return true;
    } else {
        if constexpr (K == Operand::Global) {
            GlobalEntry *entry = static_cast<GlobalVar *>(e)->entry;
            if (entry->kind == GlobalEntry::Var) [[likely]] {
                out = &entry->value;
                return true;
            }
        } else if (I.stackExhausted()) { // (1 + (1 + (1 + ...))): one level per operand
            return I.raise(err::OutOfStack);
        }
        out = &tmp;
        return inFull ? e->evalInFull(I, tmp) : e->eval(I, tmp);
    }
}

// operandValue on the scalar way: none where the operand is no scalar (or the stack is
// too deep to go on; the full way then raises the error).
template <Operand K> [[gnu::always_inline]] inline Scalar scalarOperand(Interp &I, Expr *e)
{
    if constexpr (K == Operand::Local) {
        return I.frame->refs[static_cast<LocalVar *>(e)->slot]->scalar();
    } else if constexpr (K == Operand::Held) {
        return static_cast<HeldValue *>(e)->value.scalar();
    } else if constexpr (K == Operand::Global) {
        GlobalEntry *entry = static_cast<GlobalVar *>(e)->entry;
        return entry->kind == GlobalEntry::Var ? entry->value.scalar() : Scalar::none();
    } else {
        if (I.stackExhausted())
            return Scalar::none();
        return e->scalar(I);
    }
}

// scalarOperand for an operand whose kind is known only when it runs.
inline Scalar scalarOf(Interp &I, Expr *e)
{
    switch (e->access) {
    case Expr::Access::Local: return scalarOperand<Operand::Local>(I, e);
    case Expr::Access::Global: return scalarOperand<Operand::Global>(I, e);
    case Expr::Access::Held: return scalarOperand<Operand::Held>(I, e);
    default: return scalarOperand<Operand::Computed>(I, e);
    }
}

} // namespace vbs
