#pragma once

#include "ast.h"
#include "errors.h"

namespace vbs {

class Interp;
struct GlobalEntry;
struct Unit;

// Resolves names once, before anything runs: every Name becomes a local slot, a global, a
// constant, a procedure, a built-in, a member of Me or of a registered object.
class Resolver {
public:
    Resolver(Interp &interp, bool optionExplicit) : I(interp), m_explicit(optionExplicit) {}

    Expr *lookup(Name *name, ArgList *args);
    // An expression assigned to (Let, Set, a For counter, ReDim): like expr, except that a
    // built-in function's name becomes a variable.
    Expr *target(Expr *e);
    Expr *expr(Expr *e)
    {
        if (!e)
            return nullptr;
        if (tooDeep(e))
            return e;
        return e->resolve(*this);
    }
    void block(Block &b)
    {
        if (b.empty() || tooDeep(b.front()))
            return;
        for (Stmt *s : b)
            s->resolve(*this);
    }
    // Fails with 28 where resolving would go deeper than the stack allows.
    bool tooDeep(const Node *at);
    void fail(int number, const Node *at);
    bool failed() const { return m_failed; }
    const ScriptError &error() const { return m_error; }

    Interp &I;
    Proc *proc = nullptr;
    ClassDef *cls = nullptr;
    // Code compiled while a procedure runs (Eval, Execute) cannot add slots to its frame:
    // a name it does not know reads as Empty (Eval) or becomes a global (Execute).
    enum class Unknown { Declare, ReadEmpty, MakeGlobal } unknown = Unknown::Declare;

private:
    int localSlot(const QString &name) const;
    Expr *implicitLocal(Name *n, GlobalEntry *global);
    Expr *implicitVariable(Name *n);
    bool m_explicit;
    bool m_failed = false;
    ScriptError m_error;
};

// Declares what the unit defines and resolves all of its code. With a scope, the unit's
// top-level statements see that procedure's variables (Execute inside a procedure).
bool compileUnit(Interp &I, Unit &unit, ScriptError &error, Proc *scope = nullptr);

} // namespace vbs
