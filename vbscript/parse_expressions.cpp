// Expressions: argument lists, operators by precedence, primaries and postfix chains.
#include "grammar.h"

namespace vbs {

bool Parser::argList(ArgList &args, Tok close)
{
    if (close == Tok::RParen && accept(Tok::RParen))
        return true;
    for (;;) {
        if (at(Tok::Comma) || (close == Tok::RParen ? at(Tok::RParen) : (atEnd() || atKw(Kw::Else) || atKw(Kw::EndKw)))) {
            args.items.push_back(nullptr);
        } else {
            Expr *e = expr();
            if (!e)
                return false;
            args.items.push_back(e);
        }
        if (accept(Tok::Comma))
            continue;
        break;
    }
    if (close == Tok::RParen)
        return expect(Tok::RParen, err::ExpectedRParen);
    return true;
}

Expr *Parser::expr()
{
    if (!deeper())
        return nullptr;
    Expr *e = binaryLevel(0);
    --nesting;
    return e;
}

Expr *Parser::binary(BinOp op, Expr *lhs, Expr *rhs, const Token &at)
{
    auto *b = I.make<Binary>();
    b->op = op;
    b->lhs = lhs;
    b->rhs = rhs;
    b->line = at.line;
    b->column = at.column;
    return b;
}

// Levels from the loosest: Imp, Eqv, Xor, Or, And, Not, comparison, &, + -, Mod, \, * /.
Expr *Parser::binaryLevel(int level)
{
    switch (level) {
    case 5: // Not
        if (atKw(Kw::Not)) {
            auto *u = node<Unary>();
            ++p;
            u->op = Unary::Not;
            if (!deeper() || !(u->operand = binaryLevel(5)))
                return nullptr;
            --nesting;
            return u;
        }
        return binaryLevel(6);
    case 12:
        return power();
    default:
        break;
    }
    Expr *lhs = binaryLevel(level + 1);
    if (!lhs)
        return nullptr;
    for (;;) {
        const Token op = cur();
        BinOp bop;
        bool match = true;
        switch (level) {
        case 0: match = atKw(Kw::Imp); bop = BinOp::Imp; break;
        case 1: match = atKw(Kw::Eqv); bop = BinOp::Eqv; break;
        case 2: match = atKw(Kw::Xor); bop = BinOp::Xor; break;
        case 3: match = atKw(Kw::Or); bop = BinOp::Or; break;
        case 4: match = atKw(Kw::And); bop = BinOp::And; break;
        case 6:
            switch (op.kind) {
            case Tok::Eq: bop = BinOp::Eq; break;
            case Tok::Ne: bop = BinOp::Ne; break;
            case Tok::Lt: bop = BinOp::Lt; break;
            case Tok::Gt: bop = BinOp::Gt; break;
            case Tok::Le: bop = BinOp::Le; break;
            case Tok::Ge: bop = BinOp::Ge; break;
            default: match = atKw(Kw::Is); bop = BinOp::Is; break;
            }
            break;
        case 7: match = at(Tok::Amp); bop = BinOp::Concat; break;
        case 8:
            match = at(Tok::Plus) || at(Tok::Minus);
            bop = at(Tok::Plus) ? BinOp::Add : BinOp::Sub;
            break;
        case 9: match = atKw(Kw::Mod); bop = BinOp::Mod; break;
        case 10: match = at(Tok::Backslash); bop = BinOp::IntDiv; break;
        case 11:
            match = at(Tok::Star) || at(Tok::Slash);
            bop = at(Tok::Star) ? BinOp::Mul : BinOp::Div;
            break;
        default: match = false; bop = BinOp::Add; break;
        }
        if (!match)
            return lhs;
        if (!onTime()) // a chain of a million operators is one statement
            return nullptr;
        ++p;
        Expr *rhs = binaryLevel(level == 6 ? 7 : level + 1);
        if (!rhs)
            return nullptr;
        lhs = binary(bop, lhs, rhs, op);
    }
}

// negation := ('-' | '+') negation | primary. It binds tighter than ^: -3 ^ 2 is 9.
Expr *Parser::negation()
{
    if (at(Tok::Minus) || at(Tok::Plus)) {
        auto *u = node<Unary>();
        u->op = at(Tok::Minus) ? Unary::Neg : Unary::Plus;
        ++p;
        if (!deeper())
            return nullptr;
        u->operand = negation();
        --nesting;
        return u->operand ? u : nullptr;
    }
    return primary();
}

// power := negation ('^' negation)*, left to right: 2 ^ 3 ^ 2 is 64.
Expr *Parser::power()
{
    Expr *lhs = negation();
    if (!lhs)
        return nullptr;
    while (at(Tok::Caret)) {
        const Token op = cur();
        ++p;
        Expr *rhs = negation();
        if (!rhs)
            return nullptr;
        lhs = binary(BinOp::Pow, lhs, rhs, op);
    }
    return lhs;
}

Expr *Parser::primary()
{
    const Token &tok = cur();
    switch (tok.kind) {
    case Tok::Number:
    case Tok::Date: {
        auto *l = node<Literal>();
        l->value = tok.number;
        ++p;
        return l;
    }
    case Tok::String: {
        auto *l = node<Literal>();
        l->value = Value::string(tok.text);
        ++p;
        return l;
    }
    case Tok::LParen: { // (x), and what may follow it: (New C).Name, (f)(x)
        auto *paren = node<Paren>();
        ++p;
        if (!(paren->inner = expr()) || !expect(Tok::RParen, err::ExpectedRParen))
            return nullptr;
        return at(Tok::Dot) || at(Tok::LParen) ? postfix(paren) : paren;
    }
    case Tok::WithDot:
        return postfix(nullptr);
    case Tok::Word:
        switch (tok.keyword) {
        case Kw::True:
        case Kw::False: {
            auto *l = node<Literal>();
            l->value = Value::boolean(tok.keyword == Kw::True);
            ++p;
            return l;
        }
        case Kw::Empty: { auto *l = node<Literal>(); ++p; return l; }
        case Kw::Null: { auto *l = node<Literal>(); l->value = Value::null(); ++p; return l; }
        case Kw::Nothing: { auto *l = node<Literal>(); l->value = Value::object(nullptr); ++p; return l; }
        case Kw::Me: {
            auto *me = node<MeExpr>();
            ++p;
            return postfix(me);
        }
        case Kw::New: {
            auto *n = node<NewObject>();
            ++p;
            if (!name(n->className))
                return nullptr;
            return n;
        }
        default:
            if (atName())
                return postfix(nullptr);
            break;
        }
        break;
    default:
        break;
    }
    fail(err::ExpectedExpression);
    return nullptr;
}

// name, .name, and what follows: (args), .member, .member(args)
Expr *Parser::postfix(Expr *base)
{
    if (!base) {
        if (at(Tok::WithDot)) {
            if (withHolders.isEmpty()) {
                fail(err::InvalidCharacter);
                return nullptr;
            }
            auto *holder = node<Name>();
            holder->name = withHolders.last();
            ++p;
            auto *m = node<Member>();
            m->object = holder;
            if (!at(Tok::Word)) {
                fail(err::ExpectedIdentifier);
                return nullptr;
            }
            m->name = cur().text;
            ++p;
            base = m;
            if (at(Tok::LParen)) {
                lastParenStart = p;
                ++p;
                m->hasArgs = true;
                if (!argList(m->args, Tok::RParen))
                    return nullptr;
            }
        } else {
            auto *n = node<Name>();
            if (!name(n->name))
                return nullptr;
            base = n;
        }
    }
    for (;;) {
        if (at(Tok::LParen)) {
            const size_t parenAt = p;
            if (cur().spaced && !spacedParenStart && nesting == statementNesting) {
                spacedParenStart = parenAt;
                spacedCallee = base;
            }
            ++p;
            ArgList args;
            if (!argList(args, Tok::RParen))
                return nullptr;
            lastParenStart = parenAt;
            // (((f))) (x) calls f with x: parentheses around a name are no call of their own.
            bool nameInParens = false;
            if (auto *paren = dynamic_cast<Paren *>(base)) {
                Expr *inner = paren;
                while (auto *nested = dynamic_cast<Paren *>(inner))
                    inner = nested->inner;
                if (dynamic_cast<Name *>(inner)) {
                    base = inner;
                    nameInParens = true;
                }
            }
            if (auto *m = dynamic_cast<Member *>(base); m && !m->hasArgs) {
                m->hasArgs = true;
                m->args = args;
                continue;
            }
            auto *index = I.make<Index>();
            index->line = base->line;
            index->column = base->column;
            index->base = base;
            index->args = args;
            index->nameInParens = nameInParens;
            base = index;
            continue;
        }
        if (at(Tok::Dot)) {
            ++p;
            if (!at(Tok::Word)) {
                fail(err::ExpectedIdentifier);
                return nullptr;
            }
            auto *m = I.make<Member>();
            m->line = cur().line;
            m->column = cur().column;
            m->object = base;
            m->name = cur().text;
            ++p;
            lastParenStart = 0;
            base = m;
            continue;
        }
        return base;
    }
}

} // namespace vbs
