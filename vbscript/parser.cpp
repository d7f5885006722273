// The program and its blocks, the statement dispatch, and the entry points.
#include "grammar.h"

namespace vbs {

bool Parser::program()
{
    while (!at(Tok::End)) {
        if (accept(Tok::EndOfStatement))
            continue;
        if (!statement(u.top))
            return false;
        if (!endOfStatement())
            return false;
    }
    return true;
}

bool Parser::block(Block &out, Stop stop)
{
    if (!deeper())
        return false;
    for (;;) {
        if (accept(Tok::EndOfStatement))
            continue;
        if (at(Tok::End) || (this->*stop)())
            break;
        if (!statement(out) || !endOfBlockStatement())
            return false;
    }
    --nesting;
    return true;
}

bool Parser::declare(const QString &n)
{
    NameList &names = proc ? proc->slotNames : u.globalDims;
    if (names.contains(n))
        return fail(err::NameRedefined);
    names.add(n);
    return true;
}

QString Parser::declareLocal(const QString &n)
{
    (proc ? proc->slotNames : u.globalDims).add(n);
    return n;
}

bool Parser::statement(Block &out)
{
    // Single-line Ifs nest statements inside statements.
    if (!deeper())
        return false;
    const bool ok = statementAt(out);
    --nesting;
    return ok;
}

bool Parser::statementAt(Block &out)
{
    if (!onTime())
        return false;
    const Token &tok = cur();
    if (tok.kind == Tok::WithDot)
        return simple(out, false);
    if (tok.kind != Tok::Word)
        return fail(err::ExpectedStatement);
    switch (tok.keyword) {
    case Kw::Dim: ++p; return dim(out, true);
    case Kw::ReDim: ++p; return redim(out);
    case Kw::Const: ++p; return constant();
    case Kw::Public: ++p; return declaration(out, true);
    case Kw::Private: ++p; return declaration(out, false);
    case Kw::Sub:
    case Kw::Function:
        return procedure(true, false);
    case Kw::Class: return classDef();
    case Kw::If: return ifStatement(out);
    case Kw::Select: return selectStatement(out);
    case Kw::For: return forStatement(out);
    case Kw::Do: return doStatement(out);
    case Kw::While: return whileStatement(out);
    case Kw::With: return withStatement(out);
    case Kw::Exit: return exitStatement(out);
    case Kw::On: return onError(out);
    case Kw::Erase: ++p; return erase(out);
    case Kw::Option:
        ++p;
        if (!expectKw(Kw::Explicit, err::ExpectedStatement))
            return false;
        u.optionExplicit = true;
        return true;
    case Kw::Set: {
        ++p;
        Assign *a = node<Assign>();
        a->isSet = true;
        if (!(a->target = statementTarget(false)) || !expect(Tok::Eq, err::ExpectedEquals) || !(a->value = expr()))
            return false;
        out.push_back(a);
        return true;
    }
    case Kw::Let: ++p; return simple(out, false);
    case Kw::Call: ++p; return simple(out, true);
    case Kw::Randomize: {
        ++p;
        auto *s = node<RandomizeStmt>();
        if (!atEnd() && !(s->seed = expr()))
            return false;
        out.push_back(s);
        return true;
    }
    case Kw::Stop: ++p; return true;
    case Kw::Loop: return fail(err::LoopWithoutDo);
    case Kw::Next: return fail(err::UnexpectedNext);
    case Kw::Property: // a declaration in a class; elsewhere an ordinary name
        if (cls && !proc && (nextKw(Kw::Get) || nextKw(Kw::Let) || nextKw(Kw::Set)))
            return procedure(true, false);
        return simple(out, false);
    case Kw::Me: return simple(out, false);
    case Kw::None: case Kw::Error: case Kw::Explicit: case Kw::Step: case Kw::Get:
    case Kw::Default: case Kw::Preserve:
        return simple(out, false);
    default:
        return fail(err::ExpectedStatement);
    }
}

bool parseExpression(Interp &I, const QString &text, Expr *&expression, ScriptError &error)
{
    std::vector<Token> tokens;
    if (!tokenize(text, tokens, error, &I))
        return false;
    Unit unused;
    Parser parser(I, tokens, unused, error);
    expression = parser.expressionOnly();
    return expression != nullptr;
}

bool parse(Interp &I, const QString &text, Unit &unit, ScriptError &error)
{
    std::vector<Token> tokens;
    if (!tokenize(text, tokens, error, &I))
        return false;
    Parser parser(I, tokens, unit, error);
    return parser.program();
}

} // namespace vbs
