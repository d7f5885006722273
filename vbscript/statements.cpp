// Statements: assignment, Dim and ReDim, Erase, If, Select, the loops, With, On Error.
#include "evaluation.h"

#include <QTime>
#include <cmath>

#include "objects/err.h"
#include "objects/scriptclass.h"
#include "operators.h"

namespace vbs {

// ---- statements ------------------------------------------------------------------------

Flow ExprStmt::exec(Interp &I)
{
    return expr->call(I) ? Flow::Normal : Flow::Error;
}

Flow Assign::exec(Interp &I)
{
    Value v;
    if (!value->eval(I, v))
        return Flow::Error;
    // A number into a variable that holds no string, object or array: nothing to check.
    if (!isSet && v.isPlain()) {
        if (Value *t = target->plainRef(I); t && t->isPlain()) {
            *t = std::move(v);
            return Flow::Normal;
        }
    }
    return target->assign(I, std::move(v), isSet) ? Flow::Normal : Flow::Error;
}

namespace {
// A Let into a local or global variable. `Arithmetic`: the value is arithmetic that may be
// evaluated as a scalar, stored without a Value in between.
template <Operand T, bool Arithmetic> struct AssignTo final : Assign {
    Flow exec(Interp &I) override
    {
        if constexpr (Arithmetic) {
            const Scalar r = value->scalar(I);
            if (!r.isNone()) [[likely]] {
                Value *t = variable(I);
                if (t && t->isPlain()) [[likely]] {
                    t->setScalar(r);
                    return Flow::Normal;
                }
                return assignScalar(I, r);
            }
        }
        return assignValue(I);
    }

private:
    [[gnu::noinline]] Flow assignScalar(Interp &I, Scalar r)
    {
        Value v;
        v.setScalar(r);
        return target->assign(I, std::move(v), false) ? Flow::Normal : Flow::Error;
    }
    Flow assignValue(Interp &I)
    {
        Value v;
        if (!(Arithmetic ? value->evalInFull(I, v) : value->eval(I, v)))
            return Flow::Error;
        // A number into a variable that holds no string, object or array: nothing to check.
        if (v.isPlain()) {
            Value *t = variable(I);
            if (t && t->isPlain()) {
                *t = std::move(v);
                return Flow::Normal;
            }
        }
        return target->assign(I, std::move(v), false) ? Flow::Normal : Flow::Error;
    }

    [[gnu::always_inline]] Value *variable(Interp &I) { return variableOf<T>(I, target, true); }
};

// A Let into an element, a(i) = v: the value goes to the element's own assignment, with
// no variable of its own to look for first.
struct AssignElement final : Assign {
    Flow exec(Interp &I) override
    {
        Value v;
        if (!value->eval(I, v))
            return Flow::Error;
        return target->assign(I, std::move(v), false) ? Flow::Normal : Flow::Error;
    }
};

template <Operand T> Assign *makeAssignTo(Interp &I, bool arithmetic)
{
    if (arithmetic)
        return I.make<AssignTo<T, true>>();
    return I.make<AssignTo<T, false>>();
}
} // namespace

Stmt *Assign::specialised(Interp &I)
{
    if (isSet)
        return this;
    // A variable or a literal on its own is read as it is; arithmetic is worth a scalar.
    const bool arithmetic = value->arithmetic && operandKind(value) == Operand::Computed;
    Assign *a;
    switch (operandKind(target)) {
    case Operand::Local: a = makeAssignTo<Operand::Local>(I, arithmetic); break;
    case Operand::Global: a = makeAssignTo<Operand::Global>(I, arithmetic); break;
    default:
        if (!dynamic_cast<ElementOf *>(target))
            return this;
        a = I.make<AssignElement>();
        break;
    }
    static_cast<Assign &>(*a) = *this; // the fields; the class stays the new one
    return a;
}

Value *AppendAssign::storage(Interp &I, Value &hold)
{
    if (auto *element = dynamic_cast<ElementOf *>(target)) {
        Subscripts subs;
        if (!element->subscripts(I, subs))
            return nullptr;
        Value *base = element->var->ref(I);
        if (!base || !base->isArray())
            return nullptr;
        ArrayData *a = base->mutableArray();
        const int64_t index = a->flatIndex(subs.data(), int(subs.size()));
        return index < 0 ? nullptr : &a->data[size_t(index)];
    }
    if (auto *member = dynamic_cast<Member *>(target)) {
        if (!member->object->eval(I, hold) || !hold.isObject())
            return nullptr;
        auto *o = dynamic_cast<ScriptObject *>(hold.asObject());
        return o ? o->fieldNamed(member->name, dynamic_cast<MeExpr *>(member->object) != nullptr) : nullptr;
    }
    return target->ref(I); // a variable, or a field of Me by its bare name
}

Flow AppendAssign::exec(Interp &I)
{
    // The pieces first, in order: an error in one leaves the target as it was. Null pieces
    // add nothing; the result is Null only where everything was.
    QString tail;
    bool anyText = false;
    for (Expr *e : pieces) {
        Value v;
        if (!e->eval(I, v))
            return Flow::Error;
        if (v.isNull())
            continue;
        anyText = true;
        if (v.isString()) {
            if (pieces.size() == 1) { // the common s = s & x: no second copy
                Value hold;
                Value *t = storage(I, hold);
                if (I.hasError())
                    return Flow::Error;
                if (t && t->isString())
                    return appendText(I, t->stringRef(), v.asString()) ? Flow::Normal : Flow::Error;
            }
            if (!appendText(I, tail, v.asString()))
                return Flow::Error;
            continue;
        }
        QString text;
        if (!toText(I, v, text) || !appendText(I, tail, text))
            return Flow::Error;
    }
    Value hold;
    Value *t = storage(I, hold);
    if (I.hasError())
        return Flow::Error;
    if (t && t->isString())
        return !anyText || appendText(I, t->stringRef(), tail) ? Flow::Normal : Flow::Error;
    // As written: the target's value joined with the pieces.
    Value current, joined;
    if (!target->eval(I, current)
        || !binaryOp(I, BinOp::Concat, current, anyText ? Value::string(std::move(tail)) : Value::null(), joined))
        return Flow::Error;
    return target->assign(I, std::move(joined), false) ? Flow::Normal : Flow::Error;
}

bool Interp::arrayShape(const std::vector<Expr *> &bounds, Subscripts &counts, int64_t &total, const QString &name)
{
    if (bounds.size() > 60)
        return raiseNamed(err::SubscriptOutOfRange, name);
    total = 1;
    for (Expr *b : bounds) {
        Value bound;
        int32_t ub;
        if (!b->eval(*this, bound) || !toLong(*this, bound, ub))
            return false;
        if (ub < -1)
            return raiseNamed(err::SubscriptOutOfRange, name);
        const int64_t count = int64_t(ub) + 1;
        total *= count;
        if (total > limits.maxArrayElements)
            return raise(err::OutOfMemory);
        counts.push_back(int32_t(count));
    }
    return spend(total);
}

// ReDim Preserve of an array that only this variable holds, where only the last
// dimension changes: the elements keep their places, so the storage grows where it is
// (amortised, so growing an array one element at a time stays linear).
DimStmt::Resize DimStmt::resizeInPlace(Interp &I, Value &target, const Subscripts &counts, int64_t total)
{
    if (!target.isArray())
        return Resize::NotInPlace;
    ArrayData *a = target.asArray();
    if (a->refs != 1 || a->dims() != int(counts.size()) || a->dims() == 0)
        return Resize::NotInPlace;
    for (int d = 0; d + 1 < a->dims(); ++d)
        if (a->counts[size_t(d)] != counts[size_t(d)])
            return Resize::NotInPlace;
    // Elements cut off leave the array before they are let go of: a Class_Terminate they
    // run may ReDim or erase the very array.
    std::vector<Value> cut;
    if (size_t(total) < a->data.size()) {
        cut.assign(std::make_move_iterator(a->data.begin() + ptrdiff_t(total)), std::make_move_iterator(a->data.end()));
    } else if (size_t(total) > a->data.capacity()) {
        // Memory is asked for only when the storage grows, not for every element added.
        const size_t capacity = std::max(size_t(total), a->data.capacity() * 2);
        if (!I.reserveMemory(qint64(capacity) * qint64(sizeof(Value))))
            return Resize::Failed;
        a->data.reserve(capacity);
    }
    a->data.resize(size_t(total));
    a->counts.back() = counts.back();
    cut.clear();
    return Resize::Done;
}

Flow DimStmt::exec(Interp &I)
{
    for (Var &v : vars) {
        Subscripts counts;
        int64_t total = 0;
        if (isReDim) { // a fixed array refuses before its new bounds are looked at
            const Value *before = v.target->ref(I);
            if (before && before->isArray() && before->asArray()->fixed) {
                I.raiseNamed(err::ArrayLocked, v.target->written());
                return Flow::Error;
            }
        }
        if (!v.bounds.empty() && !I.arrayShape(v.bounds, counts, total, v.target->written()))
            return Flow::Error;
        Value *target = v.target->ref(I);
        if (!target) {
            if (!I.hasError())
                I.raiseNamed(err::TypeMismatch, v.target->written());
            return Flow::Error;
        }
        if (!isReDim) {
            // Dim a() is an empty dynamic array, Dim a(3) a fixed one. The same Dim run again
            // (in a loop) keeps the array it made.
            const ArrayData *old = target->isArray() ? target->asArray() : nullptr;
            if (v.bounds.empty()) {
                if (!old || old->fixed)
                    *target = Value::array(new ArrayData);
                continue;
            }
            if (old && old->fixed && std::equal(old->counts.begin(), old->counts.end(), counts.begin(), counts.end()))
                continue;
        }
        if (target->isArray() && (target->asArray()->fixed || target->asArray()->locks)) {
            I.raiseNamed(err::ArrayLocked, v.target->written());
            return Flow::Error;
        }
        if (preserve) {
            const Resize r = resizeInPlace(I, *target, counts, total);
            if (r == Resize::Failed)
                return Flow::Error;
            if (r == Resize::Done)
                continue;
        }
        if (!I.reserveMemory(total * qint64(sizeof(Value))))
            return Flow::Error;
        auto *a = new ArrayData;
        Value fresh = Value::array(a);
        a->fixed = !isReDim;
        a->counts.assign(counts.begin(), counts.end());
        a->lbounds.assign(counts.size(), 0);
        try {
            a->data.resize(size_t(total));
        } catch (const std::bad_alloc &) {
            I.raise(err::OutOfMemory);
            return Flow::Error;
        }
        if (preserve && target->isArray()) {
            const ArrayData *old = target->asArray();
            if (old->dims() > 0) {
                if (old->dims() != int(counts.size())) {
                    I.raiseNamed(err::SubscriptOutOfRange, v.target->written());
                    return Flow::Error;
                }
                for (int d = 0; d + 1 < old->dims(); ++d)
                    if (old->counts[size_t(d)] != counts[size_t(d)]) {
                        I.raiseNamed(err::SubscriptOutOfRange, v.target->written());
                        return Flow::Error;
                    }
                // Only the last dimension changes, so the old elements keep their offsets.
                const size_t keep = std::min(old->data.size(), a->data.size());
                std::copy(old->data.begin(), old->data.begin() + long(keep), a->data.begin());
            }
        }
        *target = std::move(fresh);
    }
    return Flow::Normal;
}

Flow EraseStmt::exec(Interp &I)
{
    for (Expr *t : targets) {
        Value *v = t->ref(I);
        if (!v || !v->isArray()) {
            if (!I.hasError())
                I.raiseNamed(err::TypeMismatch, t->written());
            return Flow::Error;
        }
        if (v->asArray()->locks) {
            I.raiseNamed(err::ArrayLocked, t->written());
            return Flow::Error;
        }
        if (v->asArray()->fixed) {
            // The elements leave the array before they are let go of: a Class_Terminate
            // they run then sees the array erased, and may even let go of it.
            ArrayData *a = v->mutableArray();
            std::vector<Value> old(a->data.size());
            a->data.swap(old);
            old.clear();
        } else {
            *v = Value::array(new ArrayData);
        }
    }
    return Flow::Normal;
}

Flow IfStmt::exec(Interp &I)
{
    for (Branch &b : branches) {
        bool c;
        if (!condition(I, b.cond, c))
            return Flow::Error;
        if (c)
            return I.execBlock(b.body);
    }
    return I.execBlock(elseBody);
}

Flow SelectStmt::exec(Interp &I)
{
    Value v;
    if (!subject->eval(I, v))
        return Flow::Error;
    for (Case &c : cases) {
        for (Expr *e : c.values) {
            const Value *candidate;
            Value tmp;
            if (!peekValue(I, e, candidate, tmp))
                return Flow::Error;
            int cmp;
            if (!compareValues(I, v, *candidate, cmp))
                return Flow::Error;
            if (cmp == 0)
                return I.execBlock(c.body);
        }
    }
    return I.execBlock(elseBody);
}

namespace {

// What both counting modes of For share: set the counter, test it against the bound, run
// the body, read the counter back (the body may change it) and step it.
template <typename Number, typename Store, typename Load>
[[gnu::always_inline]] inline Flow countLoop(Interp &I, const Block &body, Number from, Number to, Number step, Store store, Load load)
{
    Number i = from;
    if (!store(i))
        return Flow::Error;
    for (;;) {
        if (step >= 0 ? i > to : i < to)
            break;
        const Flow f = I.execBlock(body);
        if (f != Flow::Normal) {
            if (f == Flow::ExitFor)
                break;
            return f;
        }
        if (!I.tick() || !load(i))
            return Flow::Error;
        i += step;
        if (!store(i))
            return Flow::Error;
    }
    return Flow::Normal;
}

} // namespace

Flow ForStmt::exec(Interp &I)
{
    Value start, end, stepValue = Value::integer(1);
    if (!from->eval(I, start) || !to->eval(I, end) || (step && !step->eval(I, stepValue)))
        return Flow::Error;
    Value s, e, st;
    if (!toNumeric(I, start, s) || !toNumeric(I, end, e) || !toNumeric(I, stepValue, st))
        return Flow::Error;
    if (s.isNull() || e.isNull() || st.isNull()) {
        I.raise(err::InvalidNull);
        return Flow::Error;
    }
    Value *counter = var->ref(I);
    if (!counter) { // a constant, or a property of Me: no variable to count with
        if (!I.hasError())
            I.raiseNamed(err::InvalidForVariable, var->written());
        return Flow::Error;
    }
    auto integral = [](const Value &v) { return v.type() == VType::Integer || v.type() == VType::Long || v.type() == VType::Byte; };
    if (integral(s) && integral(e) && integral(st)) {
        // Counting in whole numbers: the counter stays Integer while it fits, as VBScript's does.
        int32_t from_, to_, step_;
        toLong(I, s, from_);
        toLong(I, e, to_);
        toLong(I, st, step_);
        VType type = (s.type() == VType::Long || st.type() == VType::Long) ? VType::Long : VType::Integer;
        auto store = [&](int64_t &i) __attribute__((always_inline)) {
            if (i > INT32_MAX || i < INT32_MIN)
                return I.raise(err::Overflow);
            Value *c = variableStorage(I, var);
            if (type == VType::Integer && i >= -32768 && i <= 32767)
                c->setInteger(int16_t(i));
            else
                c->setLong(int32_t(i));
            return true;
        };
        auto load = [&](int64_t &i) __attribute__((always_inline)) {
            const Value *c = variableStorage(I, var);
            if (c->type() == VType::Integer) {
                i = c->asInteger();
            } else if (c->type() == VType::Long) {
                i = c->asLong();
                type = VType::Long;
            } else {
                double d;
                if (!toDouble(I, *c, d))
                    return false;
                i = int64_t(d);
            }
            return true;
        };
        return countLoop<int64_t>(I, body, from_, to_, step_, store, load);
    }
    double from_, to_, step_;
    if (!toDouble(I, s, from_) || !toDouble(I, e, to_) || !toDouble(I, st, step_))
        return Flow::Error;
    const bool single = s.type() == VType::Single && st.type() != VType::Double;
    auto store = [&](double &i) {
        *var->ref(I) = single ? Value::single(float(i)) : Value::dbl(i);
        if (single)
            i = float(i);
        return true;
    };
    auto load = [&](double &i) { return toDouble(I, *var->ref(I), i); };
    return countLoop<double>(I, body, from_, to_, step_, store, load);
}

Flow ForEachStmt::exec(Interp &I)
{
    Value c;
    if (!collection->eval(I, c))
        return Flow::Error;
    std::vector<Value> items;
    Value hold;
    if (c.isArray()) {
        hold = c;
        ++hold.asArray()->locks;
    } else if (c.isObject() && c.asObject()) {
        if (!c.asObject()->enumerate(I, items)) {
            if (!I.hasError())
                I.raiseNamed(err::NotCollection, collection->written());
            return Flow::Error;
        }
    } else {
        I.raiseNamed(err::NotCollection, collection->written());
        return Flow::Error;
    }
    struct Unlock {
        Value &v;
        ~Unlock() { if (v.isArray()) --v.asArray()->locks; }
    } unlock{hold};
    const size_t n = hold.isArray() ? hold.asArray()->data.size() : items.size();
    for (size_t k = 0; k < n; ++k) {
        Value item = hold.isArray() ? hold.asArray()->data[k] : items[k];
        const bool isObject = item.isObject();
        if (!var->assign(I, std::move(item), isObject))
            return Flow::Error;
        const Flow f = I.execBlock(body);
        if (f != Flow::Normal) {
            if (f == Flow::ExitFor)
                break;
            return f;
        }
        if (!I.tick())
            return Flow::Error;
    }
    return Flow::Normal;
}

Flow DoStmt::exec(Interp &I)
{
    for (;;) {
        if (preCond) {
            bool c;
            if (!condition(I, preCond, c))
                return Flow::Error;
            if (c == preUntil)
                break;
        }
        const Flow f = I.execBlock(body);
        if (f != Flow::Normal) {
            if (f == Flow::ExitDo)
                break;
            return f;
        }
        if (postCond) {
            bool c;
            if (!condition(I, postCond, c))
                return Flow::Error;
            if (c == postUntil)
                break;
        }
        if (!I.tick())
            return Flow::Error;
    }
    return Flow::Normal;
}

Flow ExitStmt::exec(Interp &)
{
    return flow;
}

Flow OnErrorStmt::exec(Interp &I)
{
    I.frame->resumeNext = resumeNext;
    I.err()->clear();
    return Flow::Normal;
}

Flow RandomizeStmt::exec(Interp &I)
{
    // Randomize alone takes the number from the timer, as Randomize Timer would.
    double number;
    if (seed) {
        Value v;
        if (!seed->eval(I, v) || !toDouble(I, v, number))
            return Flow::Error;
    } else {
        const QTime now = QTime::currentTime();
        number = now.msecsSinceStartOfDay() / 1000.0;
    }
    I.randomize(number);
    return Flow::Normal;
}

Flow WithStmt::exec(Interp &I)
{
    Value o;
    if (!object->eval(I, o))
        return Flow::Error;
    if (!o.isObject()) {
        I.raiseNamed(err::ObjectRequired, object->written());
        return Flow::Error;
    }
    if (!holder->assign(I, std::move(o), true))
        return Flow::Error;
    const Flow f = I.execBlock(body);
    if (Value *h = holder->ref(I))
        h->clear();
    return f;
}

} // namespace vbs
