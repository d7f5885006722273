#pragma once

// The parser's state and its grammar rules, one function a rule. The rules live in three
// files, as the grammar splits: statements (parse_statements.cpp), declarations of
// variables, procedures and classes (parse_declarations.cpp), expressions
// (parse_expressions.cpp); parser.cpp holds the program, blocks and the entry points.

#include "interpreter.h"
#include "parser.h"

namespace vbs {

// How deep blocks, statements and parenthesised expressions may nest. The count keeps the
// tree shallow enough for every later pass; the stack guard catches what the count cannot
// (code compiled by Execute deep inside a recursion).
inline constexpr int MaxNesting = 1000;

inline bool isColon(const Token &t) { return t.kind == Tok::EndOfStatement && t.text == QLatin1String(":"); }

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
    bool bounds(std::vector<Expr *> &out);
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

} // namespace vbs
