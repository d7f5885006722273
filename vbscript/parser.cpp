#include "parser.h"

#include "interpreter.h"

namespace vbs {

namespace {

// How deep blocks, statements and parenthesised expressions may nest. The count keeps the
// tree shallow enough for every later pass; the stack guard catches what the count cannot
// (code compiled by Execute deep inside a recursion).
constexpr int MaxNesting = 1000;

bool isColon(const Token &t) { return t.kind == Tok::EndOfStatement && t.text == QLatin1String(":"); }

class Parser {
public:
    Parser(Interp &interp, std::vector<Token> &tokens, Unit &unit, ScriptError &error)
        : I(interp), t(tokens), u(unit), err(error) {}

    bool program();
    // One expression and nothing after it.
    Expr *expressionOnly()
    {
        Expr *e = expr();
        if (e && !atEnd()) {
            fail(err::ExpectedEndOfStatement);
            return nullptr;
        }
        return e;
    }

private:
    // ---- tokens --------------------------------------------------------------------
    const Token &cur() const { return t[p]; }
    const Token &next(int ahead = 1) const { return t[std::min(p + ahead, t.size() - 1)]; }
    bool at(Tok k) const { return cur().kind == k; }
    bool atKw(Kw k) const { return cur().kind == Tok::Word && cur().keyword == k; }
    bool nextKw(Kw k, int ahead = 1) const { return next(ahead).kind == Tok::Word && next(ahead).keyword == k; }
    bool accept(Tok k) { if (!at(k)) return false; ++p; return true; }
    bool acceptKw(Kw k) { if (!atKw(k)) return false; ++p; return true; }
    bool atEnd() const { return at(Tok::EndOfStatement) || at(Tok::End); }
    bool fail(int number)
    {
        err.number = number;
        err.description = errorText(number);
        err.line = cur().line;
        err.column = cur().column;
        return false;
    }
    bool expect(Tok k, int number) { return accept(k) || fail(number); }
    // One level deeper in the grammar's recursion; the caller undoes it with --nesting.
    bool deeper()
    {
        if (++nesting > MaxNesting || I.stackExhausted())
            return fail(err::OutOfStack);
        return onTime();
    }
    // Parsing a huge text counts against the time limit too: false with the stop.
    bool onTime()
    {
        if (I.tick())
            return true;
        err = I.error();
        err.line = cur().line;
        err.column = cur().column;
        return false;
    }
    bool expectKw(Kw k, int number) { return acceptKw(k) || fail(number); }
    template <typename T> T *node()
    {
        T *n = I.make<T>();
        n->line = cur().line;
        n->column = cur().column;
        return n;
    }
    // A word usable as a name: not a reserved keyword (a few keywords are names too).
    bool atName() const
    {
        if (!at(Tok::Word))
            return false;
        switch (cur().keyword) {
        case Kw::None: case Kw::Error: case Kw::Explicit: case Kw::Step: case Kw::Get:
        case Kw::Default: case Kw::Property: case Kw::Preserve: case Kw::Randomize:
            return true;
        default:
            return false;
        }
    }
    bool name(QString &out)
    {
        if (!atName())
            return fail(err::ExpectedIdentifier);
        out = cur().text;
        ++p;
        return true;
    }

    // ---- statements ----------------------------------------------------------------
    using Stop = bool (Parser::*)() const;
    bool block(Block &out, Stop stop);
    bool endOfStatement() { return atEnd() || fail(err::ExpectedEndOfStatement); }
    // Inside a block, `End Sub`, `End If`, ... may follow a statement on its line: Sub F() x = 1 End Sub.
    bool endOfBlockStatement() { return atEnd() || atKw(Kw::EndKw) || fail(err::ExpectedEndOfStatement); }
    bool statement(Block &out);
    bool statementAt(Block &out);
    bool declaration(Block &out, bool isPublic);
    bool dim(Block &out, bool isPublic);
    bool redim(Block &out);
    bool constant();
    bool procedure(bool isPublic, bool isDefault);
    bool classDef();
    bool ifStatement(Block &out);
    bool singleLineIf(IfStmt *s);
    bool selectStatement(Block &out);
    bool forStatement(Block &out);
    bool doStatement(Block &out);
    bool whileStatement(Block &out);
    bool withStatement(Block &out);
    bool exitStatement(Block &out);
    bool onError(Block &out);
    bool simple(Block &out, bool isCall);
    Expr *statementTarget(bool isCall);
    bool erase(Block &out);

    bool stopIf() const { return atKw(Kw::ElseIf) || atKw(Kw::Else) || (atKw(Kw::EndKw) && nextKw(Kw::If)); }
    bool stopSelect() const { return atKw(Kw::Case) || (atKw(Kw::EndKw) && nextKw(Kw::Select)); }
    bool stopNext() const { return atKw(Kw::Next); }
    bool stopLoop() const { return atKw(Kw::Loop); }
    bool stopWend() const { return atKw(Kw::Wend); }
    bool stopWith() const { return atKw(Kw::EndKw) && nextKw(Kw::With); }
    bool stopProc() const { return atKw(Kw::EndKw) && (nextKw(Kw::Sub) || nextKw(Kw::Function) || nextKw(Kw::Property)); }
    bool stopTop() const { return false; }

    // ---- expressions ---------------------------------------------------------------
    Expr *expr();
    Expr *binaryLevel(int level);
    Expr *negation();
    Expr *power();
    Expr *primary();
    Expr *postfix(Expr *base);
    bool argList(ArgList &args, Tok close);
    Expr *binary(BinOp op, Expr *lhs, Expr *rhs, const Token &at);

    QString declareLocal(const QString &n);
    bool declare(const QString &n);

    Interp &I;
    std::vector<Token> &t;
    Unit &u;
    ScriptError &err;
    size_t p = 0;
    Proc *proc = nullptr;
    ClassDef *cls = nullptr;
    QStringList withHolders;
    int withCounter = 0;
    int doDepth = 0;
    int forDepth = 0;
    int nesting = 0;
    size_t lastParenStart = 0; // where the last argument list of a postfix chain began
    // A statement's callee chain: where its first '(' with a blank before it was, what
    // came before that group, and the nesting at which the chain is parsed.
    size_t spacedParenStart = 0;
    Expr *spacedCallee = nullptr;
    int statementNesting = -1;
};

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

bool Parser::declaration(Block &out, bool isPublic)
{
    if (proc)
        return fail(err::ExpectedStatement);
    if (atKw(Kw::Default)) {
        ++p;
        if (!isPublic)
            return fail(err::DefaultOnlyOnGet);
        return procedure(true, true);
    }
    if (atKw(Kw::Sub) || atKw(Kw::Function) || atKw(Kw::Property))
        return procedure(isPublic, false);
    if (atKw(Kw::Const)) {
        ++p;
        return constant();
    }
    acceptKw(Kw::Dim);
    return dim(out, isPublic);
}

bool Parser::dim(Block &out, bool isPublic)
{
    do {
        QString n;
        if (!name(n))
            return false;
        DimStmt::Var var;
        if (accept(Tok::LParen)) {
            var.hasBounds = true;
            if (!at(Tok::RParen)) {
                do {
                    Expr *b = expr();
                    if (!b)
                        return false;
                    var.bounds.push_back(b);
                } while (accept(Tok::Comma));
            }
            if (!expect(Tok::RParen, err::ExpectedRParen))
                return false;
        }
        if (cls && !proc) {
            for (const ClassDef::Field &f : cls->fields)
                if (f.name.compare(n, Qt::CaseInsensitive) == 0)
                    return fail(err::NameRedefined);
            cls->fields.push_back({n, isPublic, var.bounds, var.hasBounds});
            continue;
        }
        if (!declare(n))
            return false;
        if (var.hasBounds) {
            // Dim a(3) makes its array, Dim a() an empty dynamic one, when the statement runs.
            auto *target = node<Name>();
            target->name = n;
            var.target = target;
            auto *s = node<DimStmt>();
            s->vars.push_back(var);
            out.push_back(s);
        }
    } while (accept(Tok::Comma));
    return true;
}

bool Parser::redim(Block &out)
{
    auto *s = node<DimStmt>();
    s->isReDim = true;
    s->preserve = acceptKw(Kw::Preserve);
    do {
        DimStmt::Var var;
        auto *target = node<Name>();
        if (!name(target->name))
            return false;
        target->declares = true;
        var.target = target;
        var.hasBounds = true;
        if (!expect(Tok::LParen, err::ExpectedLParen))
            return false;
        do {
            Expr *b = expr();
            if (!b)
                return false;
            var.bounds.push_back(b);
        } while (accept(Tok::Comma));
        if (!expect(Tok::RParen, err::ExpectedRParen))
            return false;
        s->vars.push_back(var);
    } while (accept(Tok::Comma));
    out.push_back(s);
    return true;
}

bool Parser::constant()
{
    do {
        QString n;
        if (!name(n) || !expect(Tok::Eq, err::ExpectedEquals))
            return false;
        Expr *value = expr();
        if (!value)
            return false;
        if (proc) {
            if (proc->slotNames.contains(n))
                return fail(err::NameRedefined);
            proc->consts.emplace_back(n, value);
        } else {
            u.globalConsts.emplace_back(n, value);
        }
    } while (accept(Tok::Comma));
    return true;
}

bool Parser::procedure(bool isPublic, bool isDefault)
{
    if (proc)
        return fail(err::ExpectedStatement);
    auto owned = std::make_unique<Proc>();
    Proc *pr = owned.get();
    pr->isPublic = isPublic;
    pr->isDefault = isDefault;
    pr->line = cur().line;
    Kw endWord;
    if (acceptKw(Kw::Sub)) {
        pr->kind = ProcKind::Sub;
        endWord = Kw::Sub;
    } else if (acceptKw(Kw::Function)) {
        pr->kind = ProcKind::Function;
        endWord = Kw::Function;
    } else {
        if (!expectKw(Kw::Property, err::ExpectedStatement))
            return false;
        if (!cls)
            return fail(err::ExpectedStatement);
        endWord = Kw::Property;
        if (acceptKw(Kw::Get))
            pr->kind = ProcKind::PropertyGet;
        else if (acceptKw(Kw::Let))
            pr->kind = ProcKind::PropertyLet;
        else if (acceptKw(Kw::Set))
            pr->kind = ProcKind::PropertySet;
        else
            return fail(err::ExpectedLetSetGet);
    }
    if (isDefault && pr->kind != ProcKind::PropertyGet && pr->kind != ProcKind::Function && pr->kind != ProcKind::Sub)
        return fail(err::DefaultOnlyOnGet);
    if (!name(pr->name))
        return false;
    pr->slotNames.add(QStringLiteral("#result"));
    if (accept(Tok::LParen)) {
        if (!at(Tok::RParen)) {
            do {
                Param param;
                if (acceptKw(Kw::ByVal))
                    param.byRef = false;
                else
                    acceptKw(Kw::ByRef);
                if (!name(param.name))
                    return false;
                if (accept(Tok::LParen) && !expect(Tok::RParen, err::ExpectedRParen))
                    return false;
                if (pr->slotNames.contains(param.name))
                    return fail(err::NameRedefined);
                pr->slotNames.add(param.name);
                pr->params.push_back(param);
            } while (accept(Tok::Comma));
        }
        if (!expect(Tok::RParen, err::ExpectedRParen))
            return false;
    }
    if ((pr->kind == ProcKind::PropertyLet || pr->kind == ProcKind::PropertySet) && pr->params.empty())
        return fail(err::PropertyNeedsArgument);
    // The body may begin on the header's line: Function G()G = 2 End Function.
    proc = pr;
    const int savedDo = doDepth, savedFor = forDepth;
    doDepth = forDepth = 0;
    const QStringList savedWith = withHolders;
    withHolders.clear();
    if (!block(pr->body, &Parser::stopProc))
        return false;
    withHolders = savedWith;
    doDepth = savedDo;
    forDepth = savedFor;
    proc = nullptr;
    if (!atKw(Kw::EndKw))
        return fail(err::ExpectedEnd);
    ++p;
    if (!acceptKw(endWord))
        return fail(endWord == Kw::Sub ? err::ExpectedSub : endWord == Kw::Function ? err::ExpectedFunction : err::ExpectedProperty);
    pr->cls = cls;
    if (cls) {
        if (pr->name.compare(QLatin1String("Class_Initialize"), Qt::CaseInsensitive) == 0
            || pr->name.compare(QLatin1String("Class_Terminate"), Qt::CaseInsensitive) == 0) {
            if (!pr->params.empty())
                return fail(err::ClassEventArguments);
        }
        if (pr->kind == ProcKind::Sub || pr->kind == ProcKind::Function)
            cls->methods.push_back(pr);
        else
            cls->properties.push_back(pr);
    }
    u.procs.push_back(std::move(owned));
    return true;
}

bool Parser::classDef()
{
    if (proc || cls)
        return fail(err::ExpectedStatement);
    ++p;
    auto owned = std::make_unique<ClassDef>();
    if (!name(owned->name) || !endOfStatement())
        return false;
    cls = owned.get();
    for (;;) {
        if (accept(Tok::EndOfStatement))
            continue;
        if (at(Tok::End))
            return fail(err::ExpectedEnd);
        if (atKw(Kw::EndKw) && nextKw(Kw::Class)) {
            p += 2;
            break;
        }
        Block ignored;
        bool ok;
        if (atKw(Kw::Dim)) {
            ++p;
            ok = dim(ignored, true);
        } else if (atKw(Kw::Public) || atKw(Kw::Private)) {
            const bool isPublic = atKw(Kw::Public);
            ++p;
            ok = declaration(ignored, isPublic);
        } else if (atKw(Kw::Sub) || atKw(Kw::Function) || atKw(Kw::Property)) {
            ok = procedure(true, false);
        } else {
            return fail(err::ExpectedStatement);
        }
        if (!ok || !endOfBlockStatement())
            return false;
    }
    cls = nullptr;
    u.classes.push_back(std::move(owned));
    return true;
}

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

} // namespace

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
