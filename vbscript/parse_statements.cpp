// Statements: If, Select, the loops, With, Exit, On Error, Erase, calls and assignments.
#include "grammar.h"

namespace vbs {

bool Parser::ifStatement(Block &out)
{
    auto *s = node<IfStmt>();
    ++p;
    IfStmt::Branch first;
    if (!(first.cond = expr()) || !expectKw(Kw::Then, err::ExpectedThen))
        return false;
    s->branches.push_back(first);
    out.push_back(s);
    if (!at(Tok::EndOfStatement) || isColon(cur()))
        return singleLineIf(s);
    if (!block(s->branches.back().body, &Parser::stopIf))
        return false;
    for (;;) {
        if (acceptKw(Kw::ElseIf)) {
            IfStmt::Branch b;
            if (!(b.cond = expr()) || !expectKw(Kw::Then, err::ExpectedThen))
                return false;
            s->branches.push_back(b);
            if (!block(s->branches.back().body, &Parser::stopIf))
                return false;
            continue;
        }
        if (acceptKw(Kw::Else)) {
            if (!block(s->elseBody, &Parser::stopIf))
                return false;
            if (!atKw(Kw::EndKw))
                return fail(err::ExpectedEnd);
        }
        break;
    }
    if (!atKw(Kw::EndKw) || !nextKw(Kw::If))
        return fail(err::ExpectedEnd);
    p += 2;
    return true;
}

// If c Then a : b Else d : e   -- all on one line.
bool Parser::singleLineIf(IfStmt *s)
{
    Block *target = &s->branches.back().body;
    for (;;) {
        if (isColon(cur())) {
            ++p;
            continue;
        }
        if (atEnd())
            break;
        if (atKw(Kw::Else)) {
            if (target == &s->elseBody)
                return fail(err::ExpectedEndOfStatement);
            ++p;
            target = &s->elseBody;
            continue;
        }
        if (atKw(Kw::EndKw) && nextKw(Kw::If)) {
            p += 2;
            break;
        }
        if (!statement(*target))
            return false;
        if (!atEnd() && !atKw(Kw::Else) && !(atKw(Kw::EndKw) && nextKw(Kw::If)))
            return fail(err::ExpectedEndOfStatement);
    }
    return true;
}

bool Parser::selectStatement(Block &out)
{
    auto *s = node<SelectStmt>();
    ++p;
    if (!expectKw(Kw::Case, err::ExpectedCase) || !(s->subject = expr()) || !endOfStatement())
        return false;
    out.push_back(s);
    for (;;) {
        if (accept(Tok::EndOfStatement))
            continue;
        if (atKw(Kw::EndKw) && nextKw(Kw::Select)) {
            p += 2;
            return true;
        }
        if (!acceptKw(Kw::Case))
            return fail(s->cases.empty() && !s->hasElse ? err::ExpectedCase : err::ExpectedEnd);
        if (s->hasElse)
            return fail(err::ExpectedEnd);
        Block *body;
        if (acceptKw(Kw::Else)) {
            s->hasElse = true;
            body = &s->elseBody;
        } else {
            SelectStmt::Case c;
            do {
                Expr *v = expr();
                if (!v)
                    return false;
                c.values.push_back(v);
            } while (accept(Tok::Comma));
            s->cases.push_back(c);
            body = &s->cases.back().body;
        }
        // A statement may follow on the Case line without a colon: Case 1 s = "one".
        if (!block(*body, &Parser::stopSelect))
            return false;
        if (at(Tok::End))
            return fail(err::ExpectedEnd);
    }
}

// For name = a To b [Step c] ... Next [name]   |   For Each name In x ... Next [name]
bool Parser::forStatement(Block &out)
{
    ++p;
    const bool each = acceptKw(Kw::Each);
    auto *var = node<Name>();
    if (!name(var->name))
        return false;
    var->declares = true;
    Block *body;
    if (each) {
        auto *s = node<ForEachStmt>();
        s->var = var;
        if (!expectKw(Kw::In, err::ExpectedIn) || !(s->collection = expr()))
            return false;
        out.push_back(s);
        body = &s->body;
    } else {
        auto *s = node<ForStmt>();
        s->var = var;
        if (!expect(Tok::Eq, err::ExpectedEquals) || !(s->from = expr()) || !expectKw(Kw::To, err::ExpectedTo)
            || !(s->to = expr()))
            return false;
        if (acceptKw(Kw::Step) && !(s->step = expr()))
            return false;
        out.push_back(s);
        body = &s->body;
    }
    if (!endOfStatement())
        return false;
    ++forDepth;
    if (!block(*body, &Parser::stopNext))
        return false;
    --forDepth;
    if (!expectKw(Kw::Next, err::ExpectedNext))
        return false;
    if (atName())
        ++p;
    return true;
}

bool Parser::doStatement(Block &out)
{
    auto *s = node<DoStmt>();
    ++p;
    if (atKw(Kw::While) || atKw(Kw::Until)) {
        s->preUntil = atKw(Kw::Until);
        ++p;
        if (!(s->preCond = expr()))
            return false;
    }
    if (!endOfStatement())
        return false;
    ++doDepth;
    if (!block(s->body, &Parser::stopLoop))
        return false;
    --doDepth;
    if (!expectKw(Kw::Loop, err::ExpectedLoop))
        return false;
    if (atKw(Kw::While) || atKw(Kw::Until)) {
        if (s->preCond)
            return fail(err::ExpectedEndOfStatement);
        s->postUntil = atKw(Kw::Until);
        ++p;
        if (!(s->postCond = expr()))
            return false;
    }
    out.push_back(s);
    return true;
}

bool Parser::whileStatement(Block &out)
{
    auto *s = node<DoStmt>();
    ++p;
    if (!(s->preCond = expr()) || !endOfStatement())
        return false;
    if (!block(s->body, &Parser::stopWend))
        return false;
    if (!expectKw(Kw::Wend, err::ExpectedWend))
        return false;
    out.push_back(s);
    return true;
}

bool Parser::withStatement(Block &out)
{
    auto *s = node<WithStmt>();
    ++p;
    if (!(s->object = expr()) || !endOfStatement())
        return false;
    auto *holder = node<Name>();
    holder->name = declareLocal(QStringLiteral("#with%1").arg(++withCounter));
    s->holder = holder;
    withHolders << holder->name;
    if (!block(s->body, &Parser::stopWith))
        return false;
    withHolders.removeLast();
    if (!atKw(Kw::EndKw))
        return fail(err::ExpectedEnd);
    p += 2;
    out.push_back(s);
    return true;
}

bool Parser::exitStatement(Block &out)
{
    auto *s = node<ExitStmt>();
    ++p;
    if (acceptKw(Kw::Do)) {
        if (!doDepth)
            return fail(err::InvalidExit);
        s->flow = Flow::ExitDo;
    } else if (acceptKw(Kw::For)) {
        if (!forDepth)
            return fail(err::InvalidExit);
        s->flow = Flow::ExitFor;
    } else if (acceptKw(Kw::Sub)) {
        if (!proc || proc->kind != ProcKind::Sub)
            return fail(err::InvalidExit);
    } else if (acceptKw(Kw::Function)) {
        if (!proc || proc->kind != ProcKind::Function)
            return fail(err::InvalidExit);
    } else if (acceptKw(Kw::Property)) {
        if (!proc || proc->kind == ProcKind::Sub || proc->kind == ProcKind::Function)
            return fail(err::InvalidExit);
    } else {
        return fail(err::SyntaxError);
    }
    out.push_back(s);
    return true;
}

bool Parser::onError(Block &out)
{
    auto *s = node<OnErrorStmt>();
    ++p;
    if (!expectKw(Kw::Error, err::SyntaxError))
        return false;
    if (acceptKw(Kw::Resume)) {
        if (!expectKw(Kw::Next, err::SyntaxError))
            return false;
        s->resumeNext = true;
    } else if (acceptKw(Kw::GoTo)) {
        if (!at(Tok::Number) || cur().number.type() != VType::Integer || cur().number.asInteger() != 0)
            return fail(err::SyntaxError);
        ++p;
    } else {
        return fail(err::SyntaxError);
    }
    out.push_back(s);
    return true;
}

bool Parser::erase(Block &out)
{
    auto *s = node<EraseStmt>();
    do {
        auto *target = node<Name>();
        if (!name(target->name))
            return false;
        s->targets.push_back(target);
    } while (accept(Tok::Comma));
    out.push_back(s);
    return true;
}

// An assignment (target = value) or a call statement: Foo, Foo a, b, Foo(a), obj.M a.
bool Parser::simple(Block &out, bool isCall)
{
    const Token start = cur();
    lastParenStart = 0;
    spacedParenStart = 0;
    statementNesting = nesting;
    Expr *target = statementTarget(isCall);
    statementNesting = -1;
    if (!target)
        return false;
    if (!isCall && at(Tok::Eq)) {
        ++p;
        auto *a = node<Assign>();
        a->line = start.line;
        a->column = start.column;
        a->target = target;
        if (!(a->value = expr()))
            return false;
        out.push_back(a);
        return true;
    }
    auto *s = node<ExprStmt>();
    s->line = start.line;
    s->column = start.column;
    // WScript.Echo (x).Name: the chain went on after a group in parentheses with a blank
    // before it, so that group begins the arguments.
    const bool spacedGroupStartsArgs = !isCall && spacedParenStart && spacedParenStart != lastParenStart;
    // (End Sub may follow directly, on the same line: Call ok(x = 1, "x")End Sub.)
    if (!spacedGroupStartsArgs && (atEnd() || atKw(Kw::Else) || atKw(Kw::EndKw))) {
        // Foo(a) as a statement passes a by value; Foo(a, b) needs Call.
        if (auto *index = dynamic_cast<Index *>(target); index && !isCall) {
            if (index->args.items.size() > 1)
                return fail(err::ParenthesesOnSub);
            if (index->args.items.size() == 1 && index->args.items[0]) {
                auto *paren = I.make<Paren>();
                paren->inner = index->args.items[0];
                index->args.items[0] = paren;
            }
        } else if (auto *member = dynamic_cast<Member *>(target); member && member->hasArgs && !isCall) {
            if (member->args.items.size() > 1)
                return fail(err::ParenthesesOnSub);
            if (member->args.items.size() == 1 && member->args.items[0]) {
                auto *paren = I.make<Paren>();
                paren->inner = member->args.items[0];
                member->args.items[0] = paren;
            }
        }
        s->expr = target;
        out.push_back(s);
        return true;
    }
    if (isCall)
        return fail(err::ExpectedEndOfStatement);
    // Arguments without parentheses. When the chain ended in "(x)", that group is really
    // the start of the first argument: Foo (a) + 1, b.
    ArgList args;
    Expr *callee = target;
    if (spacedGroupStartsArgs) {
        p = spacedParenStart;
        callee = spacedCallee;
        if (auto *member = dynamic_cast<Member *>(callee)) {
            member->hasArgs = false;
            member->args.items.clear();
        }
    } else if (auto *index = dynamic_cast<Index *>(target); index && lastParenStart) {
        p = lastParenStart;
        callee = index->base;
    } else if (auto *member = dynamic_cast<Member *>(target); member && member->hasArgs && lastParenStart) {
        p = lastParenStart;
        member->hasArgs = false;
        member->args.items.clear();
    }
    if (!argList(args, Tok::EndOfStatement))
        return false;
    if (auto *member = dynamic_cast<Member *>(callee)) {
        member->args = args;
        member->hasArgs = true;
        s->expr = member;
    } else {
        auto *index = node<Index>();
        index->line = start.line;
        index->column = start.column;
        index->base = callee;
        index->args = args;
        s->expr = index;
    }
    out.push_back(s);
    return true;
}

// What an assignment or a call statement starts with: a name, a member of the With object,
// Me, or (after Call) a parenthesised expression; then what follows it: Me.X = 1,
// Call (New C).Run.
Expr *Parser::statementTarget(bool isCall)
{
    if (atKw(Kw::Me)) {
        auto *me = node<MeExpr>();
        ++p;
        return postfix(me);
    }
    if (isCall && at(Tok::LParen))
        return primary();
    return postfix(nullptr);
}

// Arguments separated by commas, any of them omitted, up to `close`.

} // namespace vbs
