#include "compiler.h"

#include "convert.h"
#include "interpreter.h"
#include "parser.h"
#include "runtime/builtins.h"

namespace vbs {

void Resolver::fail(int number, const Node *at)
{
    if (m_failed)
        return;
    m_failed = true;
    m_error.number = number;
    m_error.description = errorText(number);
    m_error.line = at ? at->line : 0;
    m_error.column = at ? at->column : 0;
}

bool Resolver::tooDeep(const Node *at)
{
    if (m_failed)
        return true;
    if (I.stackExhausted()) {
        fail(err::OutOfStack, at);
        return true;
    }
    if (!I.tick()) { // resolving a huge text counts against the time limit too
        fail(I.error().number, at);
        m_error.description = I.error().description;
        return true;
    }
    return false;
}

int Resolver::localSlot(const QString &name) const
{
    return proc ? proc->slotNames.indexOf(name) : -1;
}

// The order in which a name is looked up: the procedure's own variables and constants, the
// members of the class it belongs to, the script's globals, constants and procedures, the
// registered objects and their members, the built-ins; else an implicit variable.
Expr *Resolver::lookup(Name *n, ArgList *args)
{
    const QString &name = n->name;
    auto at = [n](Expr *e) {
        e->line = n->line;
        e->column = n->column;
        return e;
    };
    if (proc) {
        // Inside a Function (or Property Get) its own name is the result variable.
        if (!args && proc->returnsValue() && name.compare(proc->name, Qt::CaseInsensitive) == 0) {
            auto *v = at(I.make<LocalVar>());
            static_cast<LocalVar *>(v)->slot = 0;
            static_cast<LocalVar *>(v)->name = name;
            return v;
        }
        const int slot = localSlot(name);
        if (slot > 0) {
            auto *v = static_cast<LocalVar *>(at(I.make<LocalVar>()));
            v->slot = slot;
            v->name = name;
            return v;
        }
        auto c = proc->constValues.constFind(name.toLower());
        if (c != proc->constValues.constEnd()) {
            auto *k = static_cast<ConstRef *>(at(I.make<ConstRef>()));
            k->value = *c;
            k->name = name;
            return k;
        }
    }
    if (cls) {
        const int id = cls->memberId(name, true);
        if (id != NoMember) {
            auto *m = static_cast<ClassMemberRef *>(at(I.make<ClassMemberRef>()));
            m->name = name;
            m->id = id;
            if (args) {
                m->args = *args;
                m->hasArgs = true;
            }
            m->arithmetic = !args; // a field's value is read as it is; anything else has no scalar
            return m;
        }
    }
    GlobalEntry *e = I.global(name);
    if (e && e->kind == GlobalEntry::Var && !e->declared && !e->assignedAtTop && findBuiltin(name))
        e = nullptr; // only a procedure's own variable of that name: elsewhere the built-in
    if (e) {
        if (e->kind == GlobalEntry::Var && !e->declared && m_explicit && !n->declares)
            return implicitVariable(n); // it may exist when the statement runs
        if (e->kind == GlobalEntry::Var && !e->declared && proc && unknown == Unknown::Declare)
            return implicitLocal(n, e);
        switch (e->kind) {
        case GlobalEntry::Var: {
            auto *v = static_cast<GlobalVar *>(at(I.make<GlobalVar>()));
            v->entry = e;
            v->name = name;
            return v;
        }
        case GlobalEntry::Const: {
            auto *k = static_cast<ConstRef *>(at(I.make<ConstRef>()));
            k->value = e->value;
            k->name = name;
            return k;
        }
        case GlobalEntry::Procedure: {
            auto *c = static_cast<ProcCall *>(at(I.make<ProcCall>()));
            c->entry = e;
            c->name = name;
            if (args)
                c->args = *args;
            return c;
        }
        case GlobalEntry::Class:
            break;
        }
    }
    for (const Interp::Registered &r : I.registered) {
        if (r.name.compare(name, Qt::CaseInsensitive) == 0) {
            auto *l = static_cast<ObjectRef *>(at(I.make<ObjectRef>()));
            l->value = r.object;
            l->name = name;
            return l;
        }
    }
    for (const Interp::Registered &r : I.registered) {
        if (!r.addMembers)
            continue;
        Object *o = r.object.asObject();
        const int id = o->memberId(name);
        if (id > 0) {
            auto *h = static_cast<HostMember *>(at(I.make<HostMember>()));
            h->object = o;
            h->objectName = r.name;
            h->id = id;
            h->name = name;
            if (args)
                h->args = *args;
            return h;
        }
    }
    if (name.compare(QLatin1String("Err"), Qt::CaseInsensitive) == 0) {
        auto *l = static_cast<ObjectRef *>(at(I.make<ObjectRef>()));
        l->value = Value::object(I.errObject());
        l->name = name;
        return l;
    }
    if (const Builtin *b = findBuiltin(name)) {
        auto *c = static_cast<BuiltinCall *>(at(I.make<BuiltinCall>()));
        c->fn = b;
        c->name = name;
        if (args)
            c->args = *args;
        return c;
    }
    if (const Value *v = findConstant(name)) {
        auto *k = static_cast<ConstRef *>(at(I.make<ConstRef>()));
        k->value = *v;
        k->name = name;
        return k;
    }
    for (const Interp::Registered &r : I.registered) {
        const auto alias = r.aliases.constFind(name.toLower());
        if (alias == r.aliases.constEnd())
            continue;
        auto *h = static_cast<HostMember *>(at(I.make<HostMember>()));
        h->object = r.object.asObject();
        h->objectName = r.name;
        h->id = h->object->memberId(*alias);
        h->name = *alias;
        if (args)
            h->args = *args;
        return h;
    }
    return implicitVariable(n);
}

Expr *Resolver::implicitVariable(Name *n)
{
    const QString &name = n->name;
    auto at = [n](Expr *e) {
        e->line = n->line;
        e->column = n->column;
        return e;
    };
    if (m_explicit && !n->declares) {
        auto *u = static_cast<Undefined *>(at(I.make<Undefined>()));
        u->name = name;
        u->entry = I.global(name);
        if (!u->entry)
            u->entry = I.addGlobal(name, GlobalEntry::Var);
        return u;
    }
    if (unknown == Unknown::ReadEmpty)
        return at(I.make<Literal>());
    // An implicit variable: global at script level; inside a procedure its own local,
    // or the global of that name where that exists when the procedure runs.
    if (proc && unknown == Unknown::Declare)
        return implicitLocal(n, I.addGlobal(name, GlobalEntry::Var));
    auto *v = static_cast<GlobalVar *>(at(I.make<GlobalVar>()));
    v->entry = I.addGlobal(name, GlobalEntry::Var);
    v->entry->assignedAtTop = true;
    v->name = name;
    return v;
}

Expr *Resolver::target(Expr *e)
{
    // The names of built-in functions are no keywords: a script that assigns to one (For
    // year = 2008 To 2121) has a variable of that name, which hides the function in its
    // scope from there on.
    if (auto *n = dynamic_cast<Name *>(e); n && findBuiltin(n->name)) {
        Expr *found = lookup(n, nullptr);
        return dynamic_cast<BuiltinCall *>(found) ? implicitVariable(n) : found;
    }
    return expr(e);
}

Expr *Resolver::implicitLocal(Name *n, GlobalEntry *global)
{
    auto *v = I.make<LocalVar>();
    v->line = n->line;
    v->column = n->column;
    v->slot = proc->slotNames.add(n->name);
    v->name = n->name;
    proc->implicitGlobals.emplace_back(v->slot, global);
    return v;
}

void ArgList::resolveAll(Resolver &R)
{
    for (Expr *&e : items)
        e = R.expr(e);
}

Expr *Name::resolve(Resolver &R)
{
    return R.lookup(this, nullptr);
}

Expr *Paren::resolve(Resolver &R)
{
    inner = R.expr(inner);
    return this;
}

Expr *Index::resolve(Resolver &R)
{
    args.resolveAll(R);
    if (auto *n = dynamic_cast<Name *>(base)) {
        if (nameInParens && !args.items.empty()) {
            Expr *alone = R.lookup(n, nullptr);
            auto *call = dynamic_cast<ProcCall *>(alone);
            if (call && call->entry->proc && call->entry->proc->params.empty()) {
                base = call; // (F)(0): F's result, indexed
                return this;
            }
        }
        Expr *target = R.lookup(n, &args);
        if (dynamic_cast<LocalVar *>(target) || dynamic_cast<GlobalVar *>(target)
            || dynamic_cast<Undefined *>(target) || dynamic_cast<ConstRef *>(target)) {
            auto *e = ElementOf::make(R.I, target, args);
            e->line = line;
            e->column = column;
            if (auto *g = dynamic_cast<GlobalVar *>(target))
                e->global = g->entry;
            return e;
        }
        if (dynamic_cast<Literal *>(target)) { // a registered object: its default member
            base = target;
            return this;
        }
        return target; // a call that took the arguments
    }
    base = R.expr(base);
    return this;
}

Expr *Member::resolve(Resolver &R)
{
    object = R.expr(object);
    args.resolveAll(R);
    return this;
}

Expr *Unary::resolve(Resolver &R)
{
    operand = R.expr(operand);
    while (auto *p = dynamic_cast<Paren *>(operand)) // -(x), Not (a = b): a value anyway
        operand = p->inner;
    arithmetic = operand->arithmetic;
    return this;
}

// A left-nested chain (a + b + c + ...) is resolved in a loop, not one level per term.
// Links with more than a few links below them are evaluated in a loop too.
Expr *Binary::resolve(Resolver &R)
{
    constexpr size_t ShortChain = 32;
    std::vector<Binary *> spine{this};
    while (auto *inner = dynamic_cast<Binary *>(spine.back()->lhs))
        spine.push_back(inner);
    for (size_t i = 0; i < spine.size(); ++i)
        spine[i]->longChain = spine.size() - i > ShortChain;
    // An operand in parentheses is a value anyway: the parentheses go.
    auto unwrapped = [](Expr *e) {
        while (auto *p = dynamic_cast<Paren *>(e))
            e = p->inner;
        return e;
    };
    spine.back()->lhs = unwrapped(R.expr(spine.back()->lhs));
    Binary *resolved = nullptr; // the link below, in its final form
    for (auto b = spine.rbegin(); b != spine.rend() && !R.failed(); ++b) {
        if (resolved)
            (*b)->lhs = resolved;
        (*b)->rhs = unwrapped(R.expr((*b)->rhs));
        resolved = (*b)->specialised(R.I);
    }
    return R.failed() ? this : resolved;
}

Expr *NewObject::resolve(Resolver &R)
{
    entry = R.I.global(className); // a class that ExecuteGlobal defines later is looked up then
    return this;
}

void ExprStmt::resolve(Resolver &R)
{
    expr = R.expr(expr);
}

namespace {
bool sameVariable(Expr *a, Expr *b)
{
    auto *la = dynamic_cast<LocalVar *>(a);
    auto *lb = dynamic_cast<LocalVar *>(b);
    if (la && lb)
        return la->slot == lb->slot;
    auto *ga = dynamic_cast<GlobalVar *>(a);
    auto *gb = dynamic_cast<GlobalVar *>(b);
    // (A name looked for when it runs is not known to be a variable.)
    return ga && gb && ga->entry == gb->entry && !dynamic_cast<Undefined *>(a) && !dynamic_cast<Undefined *>(b);
}
} // namespace

void Assign::resolve(Resolver &R)
{
    target = R.target(target);
    value = R.expr(value);
}

void DimStmt::resolve(Resolver &R)
{
    for (Var &v : vars) {
        v.target = R.target(v.target);
        for (Expr *&b : v.bounds)
            b = R.expr(b);
    }
}

void EraseStmt::resolve(Resolver &R)
{
    for (Expr *&t : targets)
        t = R.expr(t);
}

void IfStmt::resolve(Resolver &R)
{
    for (Branch &b : branches) {
        b.cond = R.expr(b.cond);
        R.block(b.body);
    }
    R.block(elseBody);
}

void SelectStmt::resolve(Resolver &R)
{
    subject = R.expr(subject);
    for (Case &c : cases) {
        for (Expr *&v : c.values)
            v = R.expr(v);
        R.block(c.body);
    }
    R.block(elseBody);
}

void ForStmt::resolve(Resolver &R)
{
    var = R.target(var);
    from = R.expr(from);
    to = R.expr(to);
    step = R.expr(step);
    R.block(body);
}

void ForEachStmt::resolve(Resolver &R)
{
    var = R.target(var);
    collection = R.expr(collection);
    R.block(body);
}

void DoStmt::resolve(Resolver &R)
{
    preCond = R.expr(preCond);
    postCond = R.expr(postCond);
    R.block(body);
}

void RandomizeStmt::resolve(Resolver &R)
{
    seed = R.expr(seed);
}

void WithStmt::resolve(Resolver &R)
{
    holder = R.expr(holder);
    object = R.expr(object);
    R.block(body);
}

int ClassDef::memberId(const QString &name, bool insideClass) const
{
    const int i = memberNames.indexOf(name);
    if (i < 0)
        return NoMember;
    return (insideClass || members[size_t(i)].isPublic) ? i + 1 : NoMember;
}

namespace {

// Whether two expressions always name the same storage and reading them runs no code: the
// same variable, the same field, the same element by the same simple subscripts.
bool sameStorage(Expr *a, Expr *b)
{
    if (sameVariable(a, b))
        return true;
    if (auto *ca = dynamic_cast<ClassMemberRef *>(a)) {
        auto *cb = dynamic_cast<ClassMemberRef *>(b);
        return cb && !ca->hasArgs && !cb->hasArgs && ca->id == cb->id;
    }
    if (auto *ma = dynamic_cast<Member *>(a)) {
        auto *mb = dynamic_cast<Member *>(b);
        const bool bothMe = dynamic_cast<MeExpr *>(ma->object) && mb && dynamic_cast<MeExpr *>(mb->object);
        return mb && !ma->hasArgs && !mb->hasArgs && ma->name.compare(mb->name, Qt::CaseInsensitive) == 0
               && (bothMe || sameVariable(ma->object, mb->object));
    }
    if (auto *ea = dynamic_cast<ElementOf *>(a)) {
        auto *eb = dynamic_cast<ElementOf *>(b);
        if (!eb || !sameVariable(ea->var, eb->var) || ea->args.items.size() != eb->args.items.size())
            return false;
        for (size_t i = 0; i < ea->args.items.size(); ++i) {
            Expr *x = ea->args.items[i], *y = eb->args.items[i];
            if (!x || !y)
                return false;
            auto *lx = dynamic_cast<Literal *>(x), *ly = dynamic_cast<Literal *>(y);
            const bool sameLiteral = lx && ly && lx->value.type() == ly->value.type()
                                     && displayText(lx->value) == displayText(ly->value);
            if (!sameLiteral && !sameVariable(x, y))
                return false;
        }
        return true;
    }
    return false;
}

// Appending to a string in place: s = s & a & b ..., the target first in the chain.
Stmt *optimised(Interp &I, Assign *a)
{
    if (a->isSet)
        return a;
    std::vector<Expr *> pieces;
    Expr *e = a->value;
    while (auto *b = dynamic_cast<Binary *>(e)) {
        if (b->op != BinOp::Concat)
            break;
        pieces.push_back(b->rhs);
        e = b->lhs;
    }
    if (pieces.empty() || !sameStorage(a->target, e))
        return a->specialised(I);
    auto *append = I.make<AppendAssign>();
    append->line = a->line;
    append->column = a->column;
    append->target = a->target;
    append->pieces.assign(pieces.rbegin(), pieces.rend());
    return append;
}

void optimiseBlock(Interp &I, Block &block);

void optimiseStmt(Interp &I, Stmt *&s)
{
    if (auto *a = dynamic_cast<Assign *>(s)) {
        s = optimised(I, a);
    } else if (auto *i = dynamic_cast<IfStmt *>(s)) {
        for (auto &b : i->branches)
            optimiseBlock(I, b.body);
        optimiseBlock(I, i->elseBody);
    } else if (auto *sel = dynamic_cast<SelectStmt *>(s)) {
        for (auto &c : sel->cases)
            optimiseBlock(I, c.body);
        optimiseBlock(I, sel->elseBody);
    } else if (auto *f = dynamic_cast<ForStmt *>(s)) {
        optimiseBlock(I, f->body);
    } else if (auto *fe = dynamic_cast<ForEachStmt *>(s)) {
        optimiseBlock(I, fe->body);
    } else if (auto *d = dynamic_cast<DoStmt *>(s)) {
        optimiseBlock(I, d->body);
    } else if (auto *w = dynamic_cast<WithStmt *>(s)) {
        optimiseBlock(I, w->body);
    }
}

void optimiseBlock(Interp &I, Block &block)
{
    for (Stmt *&s : block)
        optimiseStmt(I, s);
}

// Constants are evaluated once, here: their expressions may use only literals, operators
// and other constants.
// Whether the expression is made of literals, constants and operators only, so that
// working it out at compile time runs no script code. Walked with a list of its own, not
// by recursion: a constant may be a long chain of operators.
bool onlyConstants(Expr *e)
{
    std::vector<Expr *> pending{e};
    while (!pending.empty()) {
        Expr *x = pending.back();
        pending.pop_back();
        if (dynamic_cast<Literal *>(x) || dynamic_cast<ConstRef *>(x))
            continue;
        if (auto *u = dynamic_cast<Unary *>(x))
            pending.push_back(u->operand);
        else if (auto *b = dynamic_cast<Binary *>(x))
            pending.insert(pending.end(), {b->lhs, b->rhs});
        else if (auto *p = dynamic_cast<Paren *>(x))
            pending.push_back(p->inner);
        else
            return false;
    }
    return true;
}

bool constantValue(Interp &I, Resolver &R, Expr *e, Value &out)
{
    e = R.expr(e);
    if (R.failed())
        return false;
    if (!onlyConstants(e)) {
        R.fail(err::ExpectedLiteral, e);
        return false;
    }
    const bool ok = e->eval(I, out);
    if (!ok || out.isObject() || out.isArray()) {
        I.clearError();
        R.fail(err::ExpectedLiteral, e);
        return false;
    }
    return true;
}

void buildClassMembers(ClassDef *cls)
{
    auto memberFor = [cls](const QString &name) -> ClassDef::MemberInfo & {
        const int i = cls->memberNames.indexOf(name);
        if (i >= 0)
            return cls->members[size_t(i)];
        cls->memberNames.add(name);
        cls->members.push_back({});
        cls->members.back().name = name;
        return cls->members.back();
    };
    for (size_t i = 0; i < cls->fields.size(); ++i) {
        ClassDef::MemberInfo &m = memberFor(cls->fields[i].name);
        m.field = int(i);
        m.isPublic = cls->fields[i].isPublic;
    }
    for (Proc *p : cls->methods) {
        if (p->name.compare(QLatin1String("Class_Initialize"), Qt::CaseInsensitive) == 0)
            cls->initialize = p;
        else if (p->name.compare(QLatin1String("Class_Terminate"), Qt::CaseInsensitive) == 0)
            cls->terminate = p;
        ClassDef::MemberInfo &m = memberFor(p->name);
        m.method = p;
        m.isPublic = p->isPublic;
        if (p->isDefault)
            cls->defaultId = cls->memberId(p->name, true);
    }
    for (Proc *p : cls->properties) {
        ClassDef::MemberInfo &m = memberFor(p->name);
        (p->kind == ProcKind::PropertyGet ? m.get : p->kind == ProcKind::PropertyLet ? m.let : m.set) = p;
        m.isPublic = p->isPublic;
        if (p->isDefault)
            cls->defaultId = cls->memberId(p->name, true);
    }
}

} // namespace

bool compileUnit(Interp &I, Unit &unit, ScriptError &error, Proc *scope)
{
    Resolver R(I, unit.optionExplicit);
    auto failWith = [&](int number, int line) {
        error.number = number;
        error.description = errorText(number);
        error.line = line;
        error.column = 1;
        return false;
    };
    // Names that this text defines twice, or that clash with a procedure of earlier text.
    // A procedure defined twice is no error: the last definition wins, for every call.
    for (auto &p : unit.procs) {
        if (!p->cls && unit.globalDims.contains(p->name))
            return failWith(err::NameRedefined, p->line);
    }

    for (auto &c : unit.classes) {
        GlobalEntry *e = I.addGlobal(c->name, GlobalEntry::Class);
        e->cls = c.get();
        buildClassMembers(c.get());
    }
    for (auto &p : unit.procs) {
        if (p->cls)
            continue;
        GlobalEntry *e = I.addGlobal(p->name, GlobalEntry::Procedure);
        e->proc = p.get();
    }
    for (const QString &d : unit.globalDims) {
        GlobalEntry *e = I.global(d);
        if (!e || e->kind != GlobalEntry::Var)
            e = I.addGlobal(d, GlobalEntry::Var);
        e->declared = e->exists = true;
    }
    for (auto &[name, init] : unit.globalConsts) {
        Value v;
        if (!constantValue(I, R, init, v))
            break;
        GlobalEntry *e = I.addGlobal(name, GlobalEntry::Const);
        e->value = v;
    }
    for (auto &p : unit.procs) {
        R.proc = p.get();
        R.cls = p->cls;
        for (auto &[name, init] : p->consts) {
            Value v;
            R.proc = nullptr; // constants see only other constants
            if (!constantValue(I, R, init, v))
                break;
            R.proc = p.get();
            p->constValues.insert(name.toLower(), v);
        }
    }
    R.proc = nullptr;
    R.cls = nullptr;
    if (R.failed()) {
        error = R.error();
        return false;
    }

    R.proc = scope;
    R.cls = scope ? scope->cls : nullptr;
    if (scope)
        R.unknown = Resolver::Unknown::MakeGlobal;
    R.block(unit.top);
    optimiseBlock(I, unit.top);
    R.proc = nullptr;
    R.cls = nullptr;
    R.unknown = Resolver::Unknown::Declare;
    for (auto &p : unit.procs) {
        R.proc = p.get();
        R.cls = p->cls;
        R.block(p->body);
        optimiseBlock(I, p->body);
    }
    R.proc = nullptr;
    for (auto &c : unit.classes) {
        R.cls = c.get();
        for (auto &f : c->fields)
            for (Expr *&b : f.bounds)
                b = R.expr(b);
    }
    if (R.failed()) {
        error = R.error();
        return false;
    }
    for (auto &p : unit.procs)
        I.procs.push_back(std::move(p));
    for (auto &c : unit.classes)
        I.classes.push_back(std::move(c));
    return true;
}

} // namespace vbs
