// Operator nodes: unary and binary operators, specialised for where their operands come from.
#include "evaluation.h"

#include "operators.h"

namespace vbs {

Scalar Unary::scalar(Interp &I)
{
    const Scalar a = scalarOf(I, operand);
    switch (op) {
    case Neg:
        if (a.type == VType::Double)
            return Scalar::dbl(-a.d());
        if (isIntegerOrLong(a.type)) // -(-32768) is a Long, -(-2147483648) a Double
            return integerScalar(-a.bits, a.type == VType::Integer);
        return Scalar::none();
    case Not:
        if (a.type == VType::Boolean)
            return Scalar::boolean(!a.bits);
        if (isIntegerOrLong(a.type))
            return Scalar::whole(a.type, ~a.l());
        return Scalar::none();
    default:
        return a;
    }
}

namespace {
// eval of an arithmetic node: the scalar way first, then `full` where it gives none.
template <typename Evaluated, typename Full> [[gnu::always_inline]] inline bool scalarFirst(Evaluated &node, Interp &I, Value &out, Full full)
{
    if (node.arithmetic) {
        const Scalar r = node.Evaluated::scalar(I);
        if (!r.isNone()) {
            out.setScalar(r);
            return true;
        }
    }
    return full();
}
} // namespace

bool Unary::eval(Interp &I, Value &out)
{
    return scalarFirst(*this, I, out, [&] { return evalInFull(I, out); });
}

bool Unary::evalInFull(Interp &I, Value &out)
{
    const Value *v;
    Value tmp;
    if (arithmetic && operand->access == Expr::Access::Other) { // the scalar way failed already
        if (I.stackExhausted())
            return I.raise(err::OutOfStack);
        if (!operand->evalInFull(I, tmp))
            return false;
        v = &tmp;
    } else if (!peekValue(I, operand, v, tmp)) {
        return false;
    }
    switch (op) {
    case Neg:
        if (v->type() == VType::Double) {
            out = Value::dbl(-v->asDouble());
            return true;
        }
        return negate(I, *v, out);
    case Not:
        return logicalNot(I, *v, out);
    default: // unary +: the value as it is, whatever it is (+"true" stays text, +obj the object)
        out = *v;
        return true;
    }
}

bool Binary::eval(Interp &I, Value &out)
{
    if (longChain)
        return evalChain(I, out);
    const Value *a, *b;
    Value ta, tb;
    if (!peekValue(I, lhs, a, ta))
        return false;
    if (!rhs->isSimple() && a != &ta) { // the right side may change the left's variable
        ta = *a;
        a = &ta;
    }
    if (!peekValue(I, rhs, b, tb))
        return false;
    return apply(I, *a, *b, out);
}

// a + b + c + ...: the links of a left-nested chain are evaluated bottom-up in a loop, so
// a chain of any length needs no deeper stack than one link.
bool Binary::evalChain(Interp &I, Value &out)
{
    std::vector<Binary *> spine{this};
    while (auto *inner = dynamic_cast<Binary *>(spine.back()->lhs))
        spine.push_back(inner);
    Value acc;
    if (!spine.back()->lhs->eval(I, acc))
        return false;
    for (auto link = spine.rbegin(); link != spine.rend(); ++link) {
        Binary *b = *link;
        const Value *r;
        Value tr;
        if (!peekValue(I, b->rhs, r, tr))
            return false;
        if (b->op == BinOp::Concat && acc.isString() && r->isString()) {
            // Appending in place keeps a long chain of & linear.
            if (!appendText(I, acc.stringRef(), r->asString()))
                return false;
            continue;
        }
        Value result;
        if (!b->apply(I, acc, *r, result))
            return false;
        acc = std::move(result);
    }
    out = std::move(acc);
    return true;
}

namespace {
bool isPlainNumber(VType t) { return isIntegerOrLong(t) || t == VType::Double; }
double doubleOf(Scalar s) { return s.type == VType::Double ? s.d() : double(s.bits); }

constexpr bool isComparison(BinOp op) { return op >= BinOp::Eq && op <= BinOp::Ge; }

template <BinOp Op, typename T> [[gnu::always_inline]] inline bool compare(T p, T q)
{
    if constexpr (Op == BinOp::Eq) return p == q;
    else if constexpr (Op == BinOp::Ne) return p != q;
    else if constexpr (Op == BinOp::Lt) return p < q;
    else if constexpr (Op == BinOp::Gt) return p > q;
    else if constexpr (Op == BinOp::Le) return p <= q;
    else return p >= q;
}

// An operator on the commonest operand types: Integers and Longs, a Double alone or mixed
// with them, two Booleans (And, Or). None for anything else, and where the result would be
// an error (division by zero, overflow): the general path decides those.
template <BinOp Op> [[gnu::always_inline]] inline Scalar scalarApply(Scalar a, Scalar b)
{
    const VType at = a.type, bt = b.type;
    if (isIntegerOrLong(at) && isIntegerOrLong(bt)) {
        const int64_t p = a.bits, q = b.bits;
        const bool integers = at == VType::Integer && bt == VType::Integer;
        if constexpr (isComparison(Op)) return Scalar::boolean(compare<Op>(p, q));
        else if constexpr (Op == BinOp::Add) return integerScalar(p + q, integers);
        else if constexpr (Op == BinOp::Sub) return integerScalar(p - q, integers);
        else if constexpr (Op == BinOp::Mul) return integerScalar(p * q, integers);
        else if constexpr (Op == BinOp::Div) return q == 0 ? Scalar::none() : Scalar::dbl(double(p) / double(q));
        else if constexpr (Op == BinOp::Mod) return q == 0 ? Scalar::none() : integerScalar(p % q, integers);
        else if constexpr (Op == BinOp::IntDiv) // -2147483648 \ -1 overflows
            return q == 0 || p / q > INT32_MAX ? Scalar::none() : integerScalar(p / q, integers);
        else return Scalar::none();
    }
    if ((at == VType::Double || bt == VType::Double) && isPlainNumber(at) && isPlainNumber(bt)) {
        const double p = doubleOf(a), q = doubleOf(b);
        double r;
        if constexpr (isComparison(Op)) return Scalar::boolean(compare<Op>(p, q));
        else if constexpr (Op == BinOp::Add) r = p + q;
        else if constexpr (Op == BinOp::Sub) r = p - q;
        else if constexpr (Op == BinOp::Mul) r = p * q;
        else if constexpr (Op == BinOp::Div) {
            if (q == 0)
                return Scalar::none();
            r = p / q;
        } else {
            return Scalar::none(); // \ and Mod round their operands first
        }
        return std::isfinite(r) ? Scalar::dbl(r) : Scalar::none();
    }
    if constexpr (Op == BinOp::And || Op == BinOp::Or) {
        if (at == VType::Boolean && bt == VType::Boolean)
            return Scalar::boolean(Op == BinOp::And ? a.bits && b.bits : a.bits || b.bits);
    }
    return Scalar::none();
}

// scalarApply on values; false where it gives none.
template <BinOp Op> [[gnu::always_inline]] inline bool quickApply(const Value &a, const Value &b, Value &out)
{
    const Scalar r = scalarApply<Op>(a.scalar(), b.scalar());
    if (r.isNone())
        return false;
    out.setScalar(r);
    return true;
}

template <BinOp Op> [[gnu::always_inline]] inline bool quickCompare(const Value &a, const Value &b, bool &out)
{
    const Scalar r = scalarApply<Op>(a.scalar(), b.scalar());
    out = r.bits != 0;
    return !r.isNone();
}
} // namespace

namespace {
// An operator with its own copy of the evaluation for each kind of operand on either side,
// and its common operand types inline: no switch on the operator or on where the operands
// come from, and each copy's branches are predicted on their own.
template <BinOp Op, Operand L, Operand R> struct BinaryOf final : Binary {
    Scalar scalar(Interp &I) override
    {
        const Scalar a = scalarOperand<L>(I, lhs);
        if (a.isNone())
            return a;
        const Scalar b = scalarOperand<R>(I, rhs);
        if (b.isNone())
            return b;
        return scalarApply<Op>(a, b);
    }
    bool eval(Interp &I, Value &out) override
    {
        return scalarFirst(*this, I, out, [&] { return inFull(I, out); });
    }
    bool evalInFull(Interp &I, Value &out) override { return inFull(I, out); }
    // A comparison as a condition gives its answer straight away.
    bool test(Interp &I, bool &out) override
    {
        if constexpr (isComparison(Op) || Op == BinOp::And || Op == BinOp::Or) {
            if (arithmetic) {
                const Scalar r = BinaryOf::scalar(I);
                if (!r.isNone()) {
                    out = r.bits != 0;
                    return true;
                }
            }
        }
        if constexpr (isComparison(Op)) {
            return withOperands(I, [&](const Value &a, const Value &b) {
                if (quickCompare<Op>(a, b, out))
                    return true;
                Value result;
                return applyGeneral(I, a, b, result) && truthOf(I, result, out);
            });
        } else if constexpr (Op == BinOp::And || Op == BinOp::Or) {
            // Each side is True, False or Null, and Null counts as False either way: Null And
            // True is Null, Null Or True is True. Both sides run, as they do for a value.
            if (!comparesBoth)
                return Binary::test(I, out);
            bool p, q;
            if (!lhs->test(I, p) || !rhs->test(I, q))
                return false;
            out = Op == BinOp::And ? p && q : p || q;
            return true;
        } else {
            return Binary::test(I, out);
        }
    }

private:
    [[gnu::always_inline]] bool inFull(Interp &I, Value &out)
    {
        return withOperands(I, [&](const Value &a, const Value &b) {
            return quickApply<Op>(a, b, out) || applyGeneral(I, a, b, out);
        });
    }
    template <typename Use> [[gnu::always_inline]] bool withOperands(Interp &I, Use use)
    {
        const Value *a, *b;
        Value ta, tb;
        // An arithmetic node comes here when the scalar way failed: its operands take the
        // full way at once.
        if (!operandValue<L>(I, lhs, a, ta, arithmetic))
            return false;
        if constexpr (R == Operand::Computed) {
            if (a != &ta) { // the right side may change the left's variable
                ta = *a;
                a = &ta;
            }
        }
        if (!operandValue<R>(I, rhs, b, tb, arithmetic))
            return false;
        return use(*a, *b);
    }
};

template <BinOp Op, Operand L> Binary *makeWithRight(Interp &I, Operand r)
{
    switch (r) {
    case Operand::Local: return I.make<BinaryOf<Op, L, Operand::Local>>();
    case Operand::Global: return I.make<BinaryOf<Op, L, Operand::Global>>();
    case Operand::Held: return I.make<BinaryOf<Op, L, Operand::Held>>();
    default: return I.make<BinaryOf<Op, L, Operand::Computed>>();
    }
}

template <BinOp Op> Binary *makeOperator(Interp &I, Operand l, Operand r)
{
    switch (l) {
    case Operand::Local: return makeWithRight<Op, Operand::Local>(I, r);
    case Operand::Global: return makeWithRight<Op, Operand::Global>(I, r);
    case Operand::Held: return makeWithRight<Op, Operand::Held>(I, r);
    default: return makeWithRight<Op, Operand::Computed>(I, r);
    }
}
} // namespace

Binary *Binary::specialised(Interp &I)
{
    if (longChain)
        return this;
    const Operand l = operandKind(lhs), r = operandKind(rhs);
    Binary *b;
    switch (op) {
    case BinOp::Add: b = makeOperator<BinOp::Add>(I, l, r); break;
    case BinOp::Sub: b = makeOperator<BinOp::Sub>(I, l, r); break;
    case BinOp::Mul: b = makeOperator<BinOp::Mul>(I, l, r); break;
    case BinOp::Div: b = makeOperator<BinOp::Div>(I, l, r); break;
    case BinOp::IntDiv: b = makeOperator<BinOp::IntDiv>(I, l, r); break;
    case BinOp::Mod: b = makeOperator<BinOp::Mod>(I, l, r); break;
    case BinOp::Eq: b = makeOperator<BinOp::Eq>(I, l, r); break;
    case BinOp::Ne: b = makeOperator<BinOp::Ne>(I, l, r); break;
    case BinOp::Lt: b = makeOperator<BinOp::Lt>(I, l, r); break;
    case BinOp::Gt: b = makeOperator<BinOp::Gt>(I, l, r); break;
    case BinOp::Le: b = makeOperator<BinOp::Le>(I, l, r); break;
    case BinOp::Ge: b = makeOperator<BinOp::Ge>(I, l, r); break;
    case BinOp::And: b = makeOperator<BinOp::And>(I, l, r); break;
    case BinOp::Or: b = makeOperator<BinOp::Or>(I, l, r); break;
    default: return this;
    }
    static_cast<Binary &>(*b) = *this; // the fields; the class stays the new one
    auto comparison = [](const Expr *e) {
        auto *c = dynamic_cast<const Binary *>(e);
        return c && !c->longChain && isComparison(c->op);
    };
    b->comparesBoth = (op == BinOp::And || op == BinOp::Or) && comparison(lhs) && comparison(rhs);
    b->arithmetic = lhs->arithmetic && rhs->arithmetic;
    return b;
}

// For the operators without a class of their own, and the links of a long chain.
bool Binary::apply(Interp &I, const Value &a, const Value &b, Value &out) const
{
    bool done = false;
    switch (op) {
    case BinOp::Add: done = quickApply<BinOp::Add>(a, b, out); break;
    case BinOp::Sub: done = quickApply<BinOp::Sub>(a, b, out); break;
    case BinOp::Mul: done = quickApply<BinOp::Mul>(a, b, out); break;
    case BinOp::Eq: done = quickApply<BinOp::Eq>(a, b, out); break;
    case BinOp::Lt: done = quickApply<BinOp::Lt>(a, b, out); break;
    case BinOp::Gt: done = quickApply<BinOp::Gt>(a, b, out); break;
    case BinOp::And: done = quickApply<BinOp::And>(a, b, out); break;
    case BinOp::Or: done = quickApply<BinOp::Or>(a, b, out); break;
    default: break;
    }
    return done || applyGeneral(I, a, b, out);
}

namespace {
// The decimal digits of an Integer or a Long, as concatenation writes them, without a
// string of their own.
class WholeText {
public:
    explicit WholeText(int64_t n)
    {
        const bool negative = n < 0;
        uint64_t m = negative ? uint64_t(-(n + 1)) + 1 : uint64_t(n);
        char16_t *p = m_digits + sizeof m_digits / sizeof *m_digits;
        do {
            *--p = char16_t(u'0' + m % 10);
            m /= 10;
        } while (m);
        if (negative)
            *--p = u'-';
        m_view = QStringView(p, m_digits + sizeof m_digits / sizeof *m_digits);
    }
    QStringView view() const { return m_view; }

private:
    char16_t m_digits[24];
    QStringView m_view;
};
} // namespace

bool Binary::applyGeneral(Interp &I, const Value &a, const Value &b, Value &out) const
{
    if (op == BinOp::Concat) {
        // The commonest joins, text with text or with a whole number ("key" & i), build
        // the result at once.
        const bool as = a.isString(), bs = b.isString();
        if ((as || isIntegerOrLong(a.type())) && (bs || isIntegerOrLong(b.type()))) {
            const WholeText aw(as ? 0 : a.scalar().bits), bw(bs ? 0 : b.scalar().bits);
            QString joined;
            if (!joinText(I, as ? QStringView(a.asString()) : aw.view(), bs ? QStringView(b.asString()) : bw.view(), joined))
                return false;
            out = Value::string(std::move(joined));
            return true;
        }
    }
    return binaryOp(I, op, a, b, out);
}

} // namespace vbs
