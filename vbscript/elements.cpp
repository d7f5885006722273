// Elements: a(i) and a(i, j) on arrays and default members, and their fast paths.
#include "evaluation.h"

namespace vbs {

bool ElementOf::subscripts(Interp &I, Subscripts &out)
{
    return subscriptsOf(I, args, out);
}

bool ElementOf::callLateProcedure(Interp &I, Value *out)
{
    return I.callProcedure(global, args, out, var->written());
}

namespace {

// The subscript of a(i), as a Long. `ranCode` tells whether script code may have run on
// the way (a computed index, or an object's default property): the variable holding the
// array must then be read again, since that code may have reassigned or erased it.
[[gnu::always_inline]] inline bool singleSubscript(Interp &I, Expr *e, int32_t &i, bool &ranCode)
{
    if (e->arithmetic && e->access == Expr::Access::Other) { // a(i + 1): no code runs
        const Scalar s = e->scalar(I);
        if (isIntegerOrLong(s.type)) {
            i = s.l();
            ranCode = false;
            return true;
        }
    }
    const Value *index;
    Value indexTmp;
    ranCode = !e->isSimple();
    if (!peekValue(I, e, index, indexTmp))
        return false;
    if (index->type() == VType::Integer) {
        i = index->asInteger();
    } else if (index->type() == VType::Long) {
        i = index->asLong();
    } else {
        ranCode = ranCode || index->isObject();
        if (!toLong(I, *index, i))
            return false;
    }
    return true;
}

// Where a(i) is in a one-dimensional array's data, or -1.
inline int64_t singleOffset(const ArrayData *a, int32_t i)
{
    if (a->dims() != 1)
        return -1;
    const int64_t offset = int64_t(i) - a->lbounds[0];
    return offset >= 0 && offset < a->counts[0] ? offset : -1;
}

// a(i) of the array that base holds, read or written; 9 when i is outside its bounds.
[[gnu::always_inline]] inline bool readElement(Interp &I, const Value &base, int32_t i, Value &out, const Expr *var)
{
    const ArrayData *a = base.asArray();
    const int64_t offset = singleOffset(a, i);
    if (offset < 0)
        return I.raiseNamed(err::SubscriptOutOfRange, var->written());
    out = a->data[size_t(offset)];
    return true;
}

[[gnu::always_inline]] inline bool writeElement(Interp &I, Value &base, int32_t i, Value &&v, const Expr *var)
{
    ArrayData *a = base.mutableArray();
    const int64_t offset = singleOffset(a, i);
    if (offset < 0)
        return I.raiseNamed(err::SubscriptOutOfRange, var->written());
    a->data[size_t(offset)] = std::move(v);
    return true;
}

} // namespace

// (a(i) on a variable with one subscript is an ElementAt, which takes the short way first.)
bool ElementOf::eval(Interp &I, Value &out)
{
    if (global && global->kind == GlobalEntry::Procedure)
        return callLateProcedure(I, &out);
    const Value *base;
    Value tmp;
    if (!peekValue(I, var, base, tmp))
        return false;
    if (base->isArray() && args.items.size() == 1 && args.items[0]) {
        // The common case, a(i): no subscript list to build.
        int32_t i;
        bool ranCode;
        if (!singleSubscript(I, args.items[0], i, ranCode))
            return false;
        if (ranCode) {
            if (!peekValue(I, var, base, tmp))
                return false;
            if (!base->isArray())
                return I.raiseNamed(err::TypeMismatch, var->written());
        }
        return readElement(I, *base, i, out, var);
    }
    if (base->isArray()) {
        Subscripts subs;
        Value hold = *base;
        return subscripts(I, subs) && element(I, hold, subs, out, var->written());
    }
    return indexValue(I, *base, args, out, var->written());
}

Value *ElementOf::argRef(Interp &I, std::vector<Value> &locked)
{
    Subscripts subs;
    Value *base = var->ref(I);
    if (!base || !base->isArray())
        return nullptr; // passed by value: an object's default member, or an error to come
    if (!subscripts(I, subs))
        return nullptr;
    base = var->ref(I); // the subscripts may have changed the variable
    if (!base || !base->isArray())
        return nullptr;
    ArrayData *a = base->mutableArray();
    const int64_t index = a->flatIndex(subs.data(), int(subs.size()));
    if (index < 0) {
        I.raiseNamed(err::SubscriptOutOfRange, var->written());
        return nullptr;
    }
    ++a->locks;
    locked.push_back(*base);
    return &a->data[size_t(index)];
}

bool ElementOf::assign(Interp &I, Value &&v, bool isSet)
{
    Value *base = variableStorage(I, var);
    if (!base)
        return false;
    if (base->isObject()) {
        Object *o;
        if (!I.objectOf(*base, o, var->written()))
            return false;
        Value hold = *base, ignored;
        return callDefault(I, o, args, isSet ? InvokeSet : InvokeLet, &v, ignored, var->written());
    }
    // A default property may run script code: take the value before finding the element.
    if (isSet != v.isObject() && !assignable(I, v, isSet, var->written())) // (the name only on the slow path)
        return false;
    if (args.items.size() == 1 && args.items[0]) { // a(i) = v, the common case
        int32_t i;
        bool ranCode;
        if (!singleSubscript(I, args.items[0], i, ranCode))
            return false;
        if (ranCode)
            base = variableStorage(I, var);
        if (!base || !base->isArray())
            return I.raiseNamed(err::TypeMismatch, var->written());
        return writeElement(I, *base, i, std::move(v), var);
    }
    Subscripts subs;
    if (!subscripts(I, subs))
        return false;
    base = var->ref(I); // the subscripts may have changed the variable
    if (!base || !base->isArray())
        return I.raiseNamed(err::TypeMismatch, var->written());
    ArrayData *a = base->mutableArray();
    const int64_t index = a->flatIndex(subs.data(), int(subs.size()));
    if (index < 0)
        return I.raiseNamed(err::SubscriptOutOfRange, var->written());
    a->data[size_t(index)] = std::move(v);
    return true;
}

bool ElementOf::call(Interp &I)
{
    if (global && global->kind == GlobalEntry::Procedure)
        return callLateProcedure(I, nullptr);
    Value ignored;
    return eval(I, ignored);
}

namespace {
// a(i) with a a local or global variable and one subscript, specialised for where the
// variable and the subscript come from. An array and a subscript inside its bounds take
// the short way; everything else (objects' default members, procedures defined later,
// conversions, errors) the general one.
template <Operand V, Operand X> struct ElementAt final : ElementOf {
    Scalar scalar(Interp &I) override
    {
        const Value *base = variableOf<V>(I, var, false);
        if (!base || !base->isArray())
            return Scalar::none();
        const Scalar at = scalarOperand<X>(I, args.items[0]);
        if (!isIntegerOrLong(at.type))
            return Scalar::none();
        const ArrayData *a = base->asArray();
        const int64_t offset = singleOffset(a, at.l());
        return offset < 0 ? Scalar::none() : a->data[size_t(offset)].scalar();
    }

    bool eval(Interp &I, Value &out) override
    {
        const Value *base = variableOf<V>(I, var, false);
        if (!base || !base->isArray())
            return ElementOf::eval(I, out);
        Expr *index = args.items[0];
        if constexpr (X == Operand::Computed) {
            int32_t i;
            bool ranCode;
            if (!singleSubscript(I, index, i, ranCode))
                return false;
            base = variableOf<V>(I, var, false); // the subscript may have changed the variable
            if (!base || !base->isArray())
                return I.raiseNamed(err::TypeMismatch, var->written());
            return readElement(I, *base, i, out, var);
        } else {
            const Value *at;
            if constexpr (X == Operand::Local) {
                at = I.frame->refs[static_cast<LocalVar *>(index)->slot];
            } else if constexpr (X == Operand::Held) {
                at = &static_cast<HeldValue *>(index)->value;
            } else if (!(at = variableOf<Operand::Global>(I, index, false))) {
                return ElementOf::eval(I, out); // a global that names a procedure: called there, once
            }
            int32_t i;
            if (at->type() == VType::Integer)
                i = at->asInteger();
            else if (at->type() == VType::Long)
                i = at->asLong();
            else
                return ElementOf::eval(I, out);
            const ArrayData *a = base->asArray();
            const int64_t offset = singleOffset(a, i);
            if (offset < 0)
                return ElementOf::eval(I, out);
            out = a->data[size_t(offset)];
            return true;
        }
    }

    bool assign(Interp &I, Value &&v, bool isSet) override
    {
        Value *base = variableOf<V>(I, var, true);
        if (!base || !base->isArray() || isSet != v.isObject()) // nothing to convert: v is stored as it is
            return ElementOf::assign(I, std::move(v), isSet);
        int32_t i;
        bool ranCode;
        if (!singleSubscript(I, args.items[0], i, ranCode))
            return false;
        if (X == Operand::Computed || ranCode) {
            base = variableOf<V>(I, var, true); // the subscript may have changed the variable
            if (!base || !base->isArray())
                return I.raiseNamed(err::TypeMismatch, var->written());
        }
        return writeElement(I, *base, i, std::move(v), var);
    }
};

template <Operand V> ElementOf *makeElementAt(Interp &I, Operand x)
{
    switch (x) {
    case Operand::Local: return I.make<ElementAt<V, Operand::Local>>();
    case Operand::Global: return I.make<ElementAt<V, Operand::Global>>();
    case Operand::Held: return I.make<ElementAt<V, Operand::Held>>();
    default: return I.make<ElementAt<V, Operand::Computed>>();
    }
}
} // namespace

ElementOf *ElementOf::make(Interp &I, Expr *var, const ArgList &args)
{
    ElementOf *e;
    const Operand v = operandKind(var);
    if (args.items.size() == 1 && args.items[0] && (v == Operand::Local || v == Operand::Global)) {
        e = v == Operand::Local ? makeElementAt<Operand::Local>(I, operandKind(args.items[0]))
                                : makeElementAt<Operand::Global>(I, operandKind(args.items[0]));
        e->arithmetic = args.items[0]->arithmetic;
    } else {
        e = I.make<ElementOf>();
    }
    e->var = var;
    e->args = args;
    if (auto *g = dynamic_cast<GlobalVar *>(var))
        e->global = g->entry;
    return e;
}

} // namespace vbs
