#include "interpreter.h"

#include <QDateTime>
#include <QTime>
#include <cmath>

#include "compiler.h"
#include "convert.h"
#include "objects/err.h"
#include "objects/regexp.h"
#include "objects/scriptclass.h"
#include "operators.h"
#include "parser.h"

namespace vbs {

namespace {

// Operations (calls, loop turns) between two looks at the clock: often enough that a loop
// of slow operations stops close to the limit, rare enough to cost nothing measurable.
constexpr int TickBudget = 256;

bool isFixedArray(const Value &v) { return v.isArray() && v.asArray()->fixed; }

// A library call that raised an error has failed, whatever it returned: the error belongs
// to the call's own statement, never to a later one.
[[gnu::always_inline]] inline bool succeeded(Interp &I, bool ok) { return ok && !I.hasError(); }

// The work a value stands for when a library call takes or makes it: its characters or
// elements. A call is charged for its arguments before it runs and for its result after,
// so that a loop of calls on large strings or arrays stops at the time limit like any
// other loop, whichever call it is.
[[gnu::always_inline]] inline qint64 workOf(const Value &v)
{
    if (v.isString())
        return v.asString().size();
    if (v.isArray())
        return qint64(v.asArray()->data.size());
    return 0;
}

bool chargeArguments(Interp &I, Args a)
{
    qint64 work = 0;
    for (int i = 0; i < a.count; ++i)
        work += workOf(a[i]);
    return work < 64 || I.spend(work);
}

// peek without a virtual call for the operands that are most often variables and literals.
[[gnu::always_inline]] inline bool peekValue(Interp &I, Expr *e, const Value *&out, Value &tmp)
{
    switch (e->access) {
    case Expr::Access::Local:
        out = I.frame->refs[static_cast<LocalVar *>(e)->slot];
        return true;
    case Expr::Access::Global: {
        GlobalEntry *entry = static_cast<GlobalVar *>(e)->entry;
        if (entry->kind != GlobalEntry::Var)
            break;
        out = &entry->value;
        return true;
    }
    case Expr::Access::Held:
        out = &static_cast<HeldValue *>(e)->value;
        return true;
    default: // the rest compute a value: evaluated straight into tmp
        if (I.stackExhausted()) // (1 + (1 + (1 + ...))): one level per operand
            return I.raise(err::OutOfStack);
        break;
    }
    out = &tmp;
    return e->eval(I, tmp);
}

// A variable's storage for writing, without a virtual call where it is a plain variable.
[[gnu::always_inline]] inline Value *variableStorage(Interp &I, Expr *var)
{
    if (var->access == Expr::Access::Local)
        return I.frame->refs[static_cast<LocalVar *>(var)->slot];
    if (var->access == Expr::Access::Global) {
        GlobalEntry *entry = static_cast<GlobalVar *>(var)->entry;
        if (entry->kind == GlobalEntry::Var) {
            entry->exists = true;
            return &entry->value;
        }
    }
    return var->ref(I);
}

// An integer result in the smallest of Integer and Long that the operands allow, else a
// Double: VBScript's promotion on overflow.
[[gnu::always_inline]] inline void integerInto(Value &out, int64_t r, bool integerOperands)
{
    if (integerOperands && r >= -32768 && r <= 32767)
        out.setInteger(int16_t(r));
    else if (r >= INT32_MIN && r <= INT32_MAX)
        out.setLong(int32_t(r));
    else
        out.setDouble(double(r));
}

// What a value becomes when assigned: Set wants an object and keeps it; Let takes an
// object's default value.
bool assignable(Interp &I, Value &v, bool isSet, const QString &name)
{
    if (isSet)
        return v.isObject() || I.raiseNamed(err::ObjectRequired, name);
    if (v.isObject()) {
        Value inner;
        if (!valueOf(I, v, inner))
            return false;
        v = std::move(inner);
    }
    return true;
}

// Let and Set into a variable's storage. A fixed-size array is copied, the copy being
// resizable, and a variable holding one refuses a Let.
bool store(Interp &I, Value &target, Value &&v, bool isSet, const QString &name)
{
    if (!assignable(I, v, isSet, name))
        return false;
    if (isFixedArray(target)) // Set as well as Let
        return I.raiseNamed(err::ArrayLocked, name);
    if (isSet) {
        target = std::move(v);
        return true;
    }
    if (isFixedArray(v)) {
        Value copy = v;
        copy.mutableArray();
        if (copy.asArray() == v.asArray()) { // we were the only holder: unshare by hand
            auto *a = new ArrayData(*v.asArray());
            a->refs = 1;
            a->locks = 0;
            copy = Value::array(a);
        }
        copy.asArray()->fixed = false;
        v = std::move(copy);
    }
    target = std::move(v);
    return true;
}

bool condition(Interp &I, Expr *e, bool &out)
{
    if (e->test(I, out))
        return true;
    // Under On Error Resume Next a failing condition lets execution go on into the block.
    if (I.frame->resumeNext && !I.fatal) {
        I.trapError();
        out = true;
        return true;
    }
    return false;
}

// A value as a condition: Null counts as False.
bool truthOf(Interp &I, const Value &v, bool &out)
{
    if (v.type() == VType::Boolean) {
        out = v.asBool();
        return true;
    }
    if (v.isNull()) {
        out = false;
        return true;
    }
    return toBool(I, v, out);
}

bool subscriptsOf(Interp &I, const ArgList &args, Subscripts &out)
{
    out.resize(args.items.size());
    for (size_t i = 0; i < args.items.size(); ++i) {
        Expr *e = args.items[i];
        if (!e)
            return I.raise(err::SubscriptOutOfRange);
        const Value *v;
        Value tmp;
        if (!peekValue(I, e, v, tmp))
            return false;
        if (v->type() == VType::Integer)
            out[i] = v->asInteger();
        else if (v->type() == VType::Long)
            out[i] = v->asLong();
        else if (!toLong(I, *v, out[i]))
            return false;
    }
    return true;
}

// Reads an element of an array value, or raises 9.
bool element(Interp &I, const Value &array, const Subscripts &subs, Value &out, const QString &name)
{
    const ArrayData *a = array.asArray();
    const int64_t index = a->flatIndex(subs.data(), int(subs.size()));
    if (index < 0)
        return I.raiseNamed(err::SubscriptOutOfRange, name);
    out = a->data[size_t(index)];
    return true;
}

// A call of an object's default member with arguments: obj(1).
bool callDefault(Interp &I, Object *o, const ArgList &args, Invoke kind, Value *assigned, Value &out, const QString &name)
{
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    Value last;
    std::vector<Value *> ptrs(av.ptrs, av.ptrs + av.count);
    if (assigned)
        ptrs.push_back(assigned);
    if (!succeeded(I, o->invoke(I, DefaultMember, kind, Args{ptrs.data(), int(ptrs.size())}, out))) {
        if (!I.hasError())
            I.raiseNamed(err::NoSuchMember, name);
        return false;
    }
    return true;
}

// Indexes a value: an array's element or an object's default member.
bool indexValue(Interp &I, const Value &base, const ArgList &args, Value &out, const QString &name)
{
    if (base.isArray()) {
        Subscripts subs;
        Value hold = base;
        return subscriptsOf(I, args, subs) && element(I, hold, subs, out, name);
    }
    if (base.isObject()) {
        if (!base.asObject())
            return I.raiseNamed(err::ObjectRequired, name);
        Value hold = base;
        return callDefault(I, hold.asObject(), args, Invoke(InvokeMethod | InvokeGet), nullptr, out, name);
    }
    return I.raiseNamed(err::TypeMismatch, name);
}

// Indexes a value with arguments already evaluated: an array's element, or the default
// member of an object.
bool indexEvaluated(Interp &I, const Value &base, Args args, Value &out)
{
    if (base.isArray()) {
        Subscripts subs;
        for (int i = 0; i < args.count; ++i) {
            int32_t n;
            if (!toLong(I, args[i], n))
                return false;
            subs.append(n);
        }
        return element(I, base, subs, out, QString());
    }
    if (base.isObject() && base.asObject()) {
        Value hold = base;
        return succeeded(I, hold.asObject()->invoke(I, DefaultMember, Invoke(InvokeMethod | InvokeGet), args, out));
    }
    return I.raise(err::TypeMismatch);
}

// Fills in a description that names the call, when the failure brought none of its own.
bool annotate(Interp &I, const QString &name)
{
    I.nameError(name);
    return false;
}

} // namespace

// ---- Interp ----------------------------------------------------------------------------

Interp::Interp()
{
    m_err = new ErrObject;
    m_err->addRef();
    m_errHolder = Value::object(m_err);
    globalFrame.refs = nullptr;
    frame = &globalFrame;
    m_stack.arm();
}

Interp::~Interp()
{
    *m_alive = false;
    // Objects still held run their Class_Terminate while the program is still here. That
    // code may add globals (ExecuteGlobal): they are counted by index, never iterated over,
    // and what it leaves in new globals goes without running more script code.
    releaseGlobals();
    fatal = true;
    for (size_t i = 0; i < m_globals.size(); ++i)
        m_globals[i].value.clear();
    registered.clear();
    m_nodes.clear(); // literals hold objects too, Err among them
    // What is still alive holds itself through a cycle (Set a.Next = a). As on Windows, no
    // Class_Terminate runs for those; their fields are let go of so that the memory comes back.
    std::vector<ScriptObject *> cyclic(liveObjects.begin(), liveObjects.end());
    liveObjects.clear();
    std::vector<Container *> containers(liveContainers.begin(), liveContainers.end());
    liveContainers.clear();
    for (ScriptObject *o : cyclic) {
        o->orphan();
        o->addRef();
    }
    for (Container *c : containers) {
        c->untrack();
        c->addRef();
    }
    for (ScriptObject *o : cyclic)
        o->dropFields();
    for (Container *c : containers)
        c->dropValues();
    for (ScriptObject *o : cyclic)
        o->release();
    for (Container *c : containers)
        c->release();
    m_errHolder.clear();
    delete m_err;
}

void Interp::releaseGlobals()
{
    const size_t existing = m_globals.size();
    for (size_t i = 0; i < existing; ++i)
        m_globals[i].value.clear();
}

bool Interp::getObject(const QString &moniker, Value &out)
{
    // "winmgmts:\\.\root\cimv2", "WinMgmts:{impersonationLevel=impersonate}!...": the
    // scheme is what comes before the first colon, if that is no drive letter.
    const qsizetype colon = moniker.indexOf(QLatin1Char(':'));
    if (colon > 1 && m_monikers) {
        const auto factory = m_monikers->constFind(moniker.left(colon).trimmed().toLower());
        if (factory != m_monikers->constEnd()) {
            Object *made = (*factory)(*this, moniker);
            if (!made) {
                if (!hasError())
                    raiseNamed(err::CantCreateObject, moniker);
                return false;
            }
            out = Value::object(made);
            return true;
        }
        bool scheme = true;
        for (qsizetype i = 0; i < colon; ++i)
            scheme = scheme && (moniker[i].isLetterOrNumber() || moniker[i] == QLatin1Char('.'));
        if (scheme)
            return raiseNamed(err::CantCreateObject, moniker);
    }
    return raiseNamed(err::FileOrClassNotFound, moniker);
}

Object *Interp::createObject(const QString &progId)
{
    if (!m_classes)
        return nullptr;
    const auto factory = m_classes->constFind(progId.toLower());
    if (factory == m_classes->constEnd())
        return nullptr;
    Object *made = (*factory)();
    if (auto *container = dynamic_cast<Container *>(made))
        container->track(&liveContainers);
    return made;
}

namespace {

// What GetRef gives: the procedure as an object whose default member calls it.
class ProcRef : public Object {
public:
    ProcRef(Interp &interp, GlobalEntry *entry, std::shared_ptr<bool> alive)
        : m_interp(&interp), m_entry(entry), m_alive(std::move(alive)) {}
    QString typeName() const override { return QStringLiteral("Object"); }
    int memberId(const QString &) override { return NoMember; }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (!*m_alive || id != DefaultMember || (kind & (InvokeLet | InvokeSet))
            || m_entry->kind != GlobalEntry::Procedure)
            return cx.raise(err::NoSuchMember);
        return m_interp->callProc(m_entry->proc, args, &result);
    }

private:
    Interp *m_interp;
    GlobalEntry *m_entry;
    std::shared_ptr<bool> m_alive;
};

} // namespace

Object *Interp::procedureRef(const QString &name)
{
    GlobalEntry *e = global(name);
    if (!e || e->kind != GlobalEntry::Procedure)
        return nullptr;
    return new ProcRef(*this, e, m_alive);
}

bool Interp::evaluate(const QString &expression, Value &out)
{
    if (stackExhausted()) // Eval("Eval(...)") inside itself
        return raise(err::OutOfStack);
    // The expression's nodes are needed only while it runs.
    const size_t mark = m_nodes.size();
    Expr *e = nullptr;
    ScriptError error;
    bool ok = parseExpression(*this, expression, e, error);
    if (ok) {
        Resolver R(*this, false);
        R.proc = frame->proc;
        R.cls = frame->proc ? frame->proc->cls : nullptr;
        R.unknown = Resolver::Unknown::ReadEmpty;
        e = R.expr(e);
        if (R.failed())
            ok = raise(R.error().number, R.error().description);
        else
            ok = e->eval(*this, out);
    } else {
        raise(error.number, error.description, QLatin1String(CompileErrorSource));
    }
    releaseNodes(mark);
    return ok;
}

bool Interp::execute(const QString &code, bool global)
{
    if (stackExhausted()) // s = "Execute s": Execute s
        return raise(err::OutOfStack);
    const size_t mark = m_nodes.size();
    Unit unit;
    ScriptError error;
    Proc *scope = global ? nullptr : frame->proc;
    if (!parse(*this, code, unit, error) || !compileUnit(*this, unit, error, scope))
        return raise(error.number, error.description, error.number >= 1000 ? QLatin1String(CompileErrorSource) : QString());
    // Procedures and classes it defined live on; otherwise its nodes go when it is done.
    const bool keep = !unit.procs.empty() || !unit.classes.empty();
    Frame own = global ? Frame() : *frame;
    own.resumeNext = false;
    bool ok = true;
    {
        FrameScope running(frame, &own);
        ok = execBlock(unit.top) != Flow::Error;
    }
    if (keep)
        m_pinnedNodes = m_nodes.size();
    else
        releaseNodes(mark);
    return ok;
}

Object *Interp::errObject() const
{
    return m_err;
}

GlobalEntry *Interp::addGlobal(const QString &name, GlobalEntry::Kind kind)
{
    const QString key = name.toLower();
    if (GlobalEntry *existing = m_globalIndex.value(key)) {
        existing->kind = kind;
        existing->proc = nullptr;
        existing->cls = nullptr;
        return existing;
    }
    m_globals.emplace_back();
    GlobalEntry *e = &m_globals.back();
    e->kind = kind;
    e->name = name;
    m_globalIndex.insert(key, e);
    return e;
}

void Interp::beginRun(qint64 timeoutMs)
{
    if (m_runDepth++ > 0)
        return;
    fatal = false;
    m_timeoutMs = timeoutMs;
    m_budget = TickBudget;
    m_pausedMs = 0;
    m_pauseStarted = -1;
    m_clock.start();
    m_lastPoll = 0;
    m_deadline = timeoutMs > 0 ? timeoutMs : -1;
    m_stack.arm();
}

void Interp::continueRun(qint64 timeoutMs)
{
    if (!m_clock.isValid()) {
        beginRun(timeoutMs);
        return;
    }
    if (m_runDepth++ == 0)
        m_stack.arm();
}

void Interp::endRun()
{
    --m_runDepth;
}

void Interp::abandonRun()
{
    m_runDepth = 0;
    frame = &globalFrame;
    clearError();
}

void Interp::pauseClock()
{
    if (m_pauseStarted < 0 && m_clock.isValid())
        m_pauseStarted = m_clock.elapsed();
}

void Interp::resumeClock()
{
    if (m_pauseStarted >= 0) {
        m_pausedMs += m_clock.elapsed() - m_pauseStarted;
        m_pauseStarted = -1;
    }
}

bool Interp::spend(qint64 work)
{
    // About 64 characters or elements of library work take as long as one operation.
    m_work += work;
    if (m_work < 64)
        return true;
    m_budget -= int(std::min<qint64>(m_work >> 6, TickBudget));
    m_work &= 63;
    return m_budget > 0 || checkClock();
}

qint64 Interp::msUntilDeadline() const
{
    if (m_deadline < 0 || !m_clock.isValid())
        return -1;
    const qint64 paused = m_pausedMs + (m_pauseStarted >= 0 ? m_clock.elapsed() - m_pauseStarted : 0);
    return std::max<qint64>(0, m_deadline - (m_clock.elapsed() - paused));
}

bool Interp::checkClock()
{
    if (fatal) // stopped already (a Class_Terminate that ran into the limit)
        return raiseStop();
    m_budget = TickBudget;
    if (!m_clock.isValid())
        return true;
    const qint64 now = m_clock.elapsed();
    if (now - m_lastPoll >= Host::PollInterval) {
        m_lastPoll = now;
        if (m_host && m_host->poll())
            return stopScript(err::UserStop, errorText(err::UserStop));
        // Memory the script has taken in many small pieces: once the cap is passed, the
        // script ends before the system's out-of-memory killer would take the process.
        m_resident = residentBytes();
        if (m_resident > limits.maxMemoryBytes)
            return stopScript(err::OutOfMemory, errorText(err::OutOfMemory));
    }
    if (m_deadline < 0)
        return true;
    const qint64 ran = now - m_pausedMs - (m_pauseStarted >= 0 ? now - m_pauseStarted : 0);
    if (ran < m_deadline)
        return true;
    pauseClock();
    const bool stop = !m_host || m_host->stopRunawayScript();
    resumeClock();
    if (!stop) {
        m_deadline = ran + m_timeoutMs;
        return true;
    }
    return stopScript(err::TimeLimit, errorText(err::TimeLimit));
}

void Interp::trapError()
{
    m_err->set(m_error);
    clearError();
}

bool Interp::objectOf(const Value &v, Object *&o, const QString &name)
{
    if (!v.isObject())
        return raiseNamed(err::ObjectRequired, name);
    o = v.asObject();
    if (!o)
        return raiseNamed(err::ObjectRequired, name);
    return true;
}

bool Interp::raiseStop()
{
    if (!m_hasError || m_error.number != m_fatalError.number)
        setError(m_fatalError);
    return false;
}

Flow Interp::execBlock(const Block &block)
{
    if (stackExhausted()) {
        raise(err::OutOfStack);
        return Flow::Error;
    }
    for (Stmt *s : block) {
        Flow f;
        try {
            f = s->exec(*this);
        } catch (const std::bad_alloc &) {
            // Memory ran out in the middle of the statement: its error, at its line.
            raise(err::OutOfMemory);
            f = Flow::Error;
        }
        if (f == Flow::Normal) {
            if (!fatal)
                continue;
            raiseStop(); // the stop came from code that could not report it (Class_Terminate)
            f = Flow::Error;
        }
        if (f == Flow::Error) {
            if (m_error.line == 0) {
                m_error.line = s->line;
                m_error.column = s->column;
            }
            if (frame->resumeNext && !fatal) {
                trapError();
                continue;
            }
        }
        return f;
    }
    return Flow::Normal;
}

namespace {
// A procedure's local slots (its result first, then parameters and locals) and where each
// slot's value lives. The usual few are on the stack, made only as far as the procedure has
// slots, which keeps a call cheap; they go in reverse order when the call ends.
class LocalSlots {
public:
    explicit LocalSlots(int n) : m_count(n)
    {
        if (n > Inline) {
            m_heapValues.reset(new Value[size_t(n)]);
            m_heapRefs.reset(new Value *[size_t(n)]);
            m_values = m_heapValues.get();
            m_refs = m_heapRefs.get();
            for (int i = 0; i < n; ++i)
                m_refs[i] = &m_values[i];
        } else {
            for (int i = 0; i < n; ++i)
                m_refs[i] = new (&m_values[i]) Value;
        }
    }
    ~LocalSlots()
    {
        if (!m_heapValues)
            for (int i = m_count; i-- > 0;)
                m_values[i].~Value();
    }
    LocalSlots(const LocalSlots &) = delete;
    LocalSlots &operator=(const LocalSlots &) = delete;

    Value *values() { return m_values; }
    Value **refs() { return m_refs; }

private:
    static constexpr int Inline = 8;
    int m_count;
    alignas(Value) unsigned char m_room[Inline * sizeof(Value)];
    Value *m_inlineRefs[Inline];
    Value *m_values = reinterpret_cast<Value *>(m_room);
    Value **m_refs = m_inlineRefs;
    std::unique_ptr<Value[]> m_heapValues;
    std::unique_ptr<Value *[]> m_heapRefs;
};
} // namespace

bool Interp::callProc(Proc *proc, Args args, Value *result, Object *me)
{
    if (fatal)
        return raiseStop();
    if (args.count != int(proc->params.size()))
        return raiseNamed(err::WrongArgs, proc->name);
    if (stackExhausted())
        return raise(err::OutOfStack);
    if (!tick())
        return false;
    LocalSlots locals(proc->slotCount());
    Value *storage = locals.values();
    Value **refs = locals.refs();
    for (int i = 0; i < args.count; ++i) {
        if (proc->params[size_t(i)].byRef)
            refs[i + 1] = args.items[i];
        else
            storage[i + 1] = *args.items[i];
    }
    for (const auto &[slot, global] : proc->implicitGlobals)
        if (global->kind == GlobalEntry::Var && global->exists)
            refs[slot] = &global->value;
    Frame f;
    f.refs = refs;
    f.proc = proc;
    f.me = me;
    FrameScope running(frame, &f);
    if (execBlock(proc->body) == Flow::Error)
        return false;
    if (result)
        *result = std::move(storage[0]);
    return true;
}

// ---- argument lists --------------------------------------------------------------------

ArgValues::~ArgValues()
{
    for (Value &v : lockedArrays)
        --v.asArray()->locks;
    Value *made = reinterpret_cast<Value *>(inlineRoom);
    for (int i = 0; i < inlineMade; ++i)
        made[i].~Value();
}

bool ArgValues::evaluate(Interp &I, const ArgList &list, bool byRef)
{
    if (I.stackExhausted())
        return I.raise(err::OutOfStack);
    count = int(list.items.size());
    if (count > Inline) {
        heapTemps.reset(new Value[size_t(count)]);
        heapPtrs.reset(new Value *[size_t(count)]);
        temps = heapTemps.get();
        ptrs = heapPtrs.get();
    } else {
        for (; inlineMade < count; ++inlineMade)
            new (&temps[inlineMade]) Value;
    }
    for (int i = 0; i < count; ++i) {
        Expr *e = list.items[size_t(i)];
        if (!e) {
            temps[i] = Value::missing();
            ptrs[i] = &temps[i];
            continue;
        }
        if (byRef && !e->computed) {
            Value *r = e->argRef(I, lockedArrays);
            if (r) {
                ptrs[i] = r;
                continue;
            }
            if (I.hasError())
                return false;
        }
        if (!e->eval(I, temps[i]))
            return false;
        ptrs[i] = &temps[i];
    }
    return true;
}

void ArgValues::ownCopiesIfCodeMayRun()
{
    bool mayRun = false;
    for (int i = 0; i < count && !mayRun; ++i)
        mayRun = ptrs[i]->isObject() || ptrs[i]->isArray();
    if (!mayRun)
        return;
    for (int i = 0; i < count; ++i) {
        if (ptrs[i] != &temps[i]) {
            temps[i] = *ptrs[i];
            ptrs[i] = &temps[i];
        }
    }
}

// ---- expressions -----------------------------------------------------------------------

bool Expr::assign(Interp &I, Value &&, bool)
{
    return I.raiseNamed(err::IllegalAssignment, written());
}

bool Expr::test(Interp &I, bool &out)
{
    const Value *v;
    Value tmp;
    return peekValue(I, this, v, tmp) && truthOf(I, *v, out);
}

bool Expr::call(Interp &I)
{
    Value ignored;
    return eval(I, ignored);
}

bool Name::eval(Interp &I, Value &)
{
    return I.raiseNamed(err::Undefined, name); // never runs: names are resolved first
}

bool LocalVar::eval(Interp &I, Value &out)
{
    out = *I.frame->refs[slot];
    return true;
}

bool LocalVar::peek(Interp &I, const Value *&out, Value &)
{
    out = I.frame->refs[slot];
    return true;
}

Value *LocalVar::ref(Interp &I)
{
    return I.frame->refs[slot];
}

Value *LocalVar::plainRef(Interp &I)
{
    return I.frame->refs[slot];
}

bool LocalVar::assign(Interp &I, Value &&v, bool isSet)
{
    return store(I, *I.frame->refs[slot], std::move(v), isSet, name);
}

bool LocalVar::call(Interp &I)
{
    const Value &v = *I.frame->refs[slot];
    if (v.isObject() && v.asObject()) {
        Value out;
        Value hold = v;
        return callDefault(I, hold.asObject(), ArgList(), InvokeMethod, nullptr, out, name);
    }
    return I.raiseNamed(err::TypeMismatch, name);
}

bool GlobalVar::eval(Interp &I, Value &out)
{
    if (entry->kind == GlobalEntry::Procedure) // defined since this was compiled
        return I.callProc(entry->proc, Args(), &out);
    out = entry->value;
    return true;
}

bool GlobalVar::peek(Interp &I, const Value *&out, Value &tmp)
{
    if (entry->kind == GlobalEntry::Procedure) {
        out = &tmp;
        return eval(I, tmp);
    }
    out = &entry->value;
    return true;
}

// Writing a global (assignment, ReDim, a For counter, passing it by reference) makes it exist.
Value *GlobalVar::ref(Interp &)
{
    entry->exists = true;
    return &entry->value;
}

Value *GlobalVar::plainRef(Interp &)
{
    if (entry->kind != GlobalEntry::Var)
        return nullptr;
    entry->exists = true;
    return &entry->value;
}

bool GlobalVar::assign(Interp &I, Value &&v, bool isSet)
{
    if (entry->kind == GlobalEntry::Const)
        return I.raiseNamed(err::IllegalAssignment, name);
    entry->exists = true;
    return store(I, entry->value, std::move(v), isSet, name);
}

bool GlobalVar::call(Interp &I)
{
    if (entry->kind == GlobalEntry::Procedure)
        return I.callProc(entry->proc, Args(), nullptr);
    const Value &v = entry->value;
    if (v.isObject() && v.asObject()) {
        Value out;
        Value hold = v;
        return callDefault(I, hold.asObject(), ArgList(), InvokeMethod, nullptr, out, name);
    }
    return I.raiseNamed(err::TypeMismatch, name);
}

bool ConstRef::assign(Interp &I, Value &&, bool)
{
    return I.raiseNamed(err::IllegalAssignment, name);
}

bool Undefined::known(Interp &I) const
{
    if (entry->kind != GlobalEntry::Var || entry->declared || entry->exists)
        return true;
    return I.raiseNamed(err::Undefined, name);
}
bool Undefined::peek(Interp &I, const Value *&out, Value &tmp) { return known(I) && GlobalVar::peek(I, out, tmp); }
bool Undefined::eval(Interp &I, Value &out) { return known(I) && GlobalVar::eval(I, out); }
bool Undefined::assign(Interp &I, Value &&v, bool isSet) { return known(I) && GlobalVar::assign(I, std::move(v), isSet); }
bool Undefined::call(Interp &I) { return known(I) && GlobalVar::call(I); }
Value *Undefined::ref(Interp &I) { return known(I) ? GlobalVar::ref(I) : nullptr; }

bool Index::eval(Interp &I, Value &out)
{
    if (I.stackExhausted()) // a(0)(0)(0)...: one level per link
        return I.raise(err::OutOfStack);
    Value base_;
    if (!base->eval(I, base_))
        return false;
    return indexValue(I, base_, args, out, base->written());
}

bool Index::call(Interp &I)
{
    Value ignored;
    return eval(I, ignored);
}

bool Index::assign(Interp &I, Value &&v, bool isSet)
{
    Value base_;
    if (!base->eval(I, base_))
        return false;
    Object *o;
    if (!I.objectOf(base_, o, base->written()))
        return false;
    Value ignored;
    return callDefault(I, o, args, isSet ? InvokeSet : InvokeLet, &v, ignored, base->written());
}

bool ElementOf::subscripts(Interp &I, Subscripts &out)
{
    return subscriptsOf(I, args, out);
}

bool ElementOf::callLateProcedure(Interp &I, Value *out)
{
    ArgValues av;
    return av.evaluate(I, args) && I.callProc(global->proc, av.args(), out);
}

namespace {

// The subscript of a(i), as a Long. `ranCode` tells whether script code may have run on
// the way (a computed index, or an object's default property): the variable holding the
// array must then be read again, since that code may have reassigned or erased it.
inline bool singleSubscript(Interp &I, Expr *e, int32_t &i, bool &ranCode)
{
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

// The call as written, for error descriptions: o.Items(1).Name gives "o.Items.Name". The
// chain is walked in a loop, and a very long one keeps only its last links.
QString Member::written() const
{
    constexpr int MaxLinks = 16;
    QStringList names{name};
    const Expr *e = object;
    for (;;) {
        if (auto *m = dynamic_cast<const Member *>(e)) {
            if (names.size() < MaxLinks)
                names.append(m->name);
            e = m->object;
        } else if (auto *index = dynamic_cast<const Index *>(e)) {
            e = index->base;
        } else {
            break;
        }
    }
    std::reverse(names.begin(), names.end());
    const QString root = e->written();
    if (!root.isEmpty() && !root.startsWith(QLatin1Char('#'))) // not the hidden With object
        names.prepend(root);
    return names.join(QLatin1Char('.'));
}

QString Index::written() const
{
    const Expr *e = base;
    while (auto *index = dynamic_cast<const Index *>(e))
        e = index->base;
    return e->written();
}

bool Paren::eval(Interp &I, Value &out)
{
    if (I.stackExhausted())
        return I.raise(err::OutOfStack);
    return inner->eval(I, out);
}

bool Member::invoke(Interp &I, Invoke kind, Value *assigned, Value &out)
{
    if (I.stackExhausted()) // o.P.P.P...: one level per link
        return I.raise(err::OutOfStack);
    Value objectValue;
    if (!object->eval(I, objectValue))
        return false;
    Object *o;
    if (!objectValue.isObject())
        return I.raiseNamed(err::ObjectRequired, object->written().startsWith(QLatin1Char('#')) ? name : object->written());
    o = objectValue.asObject();
    if (!o)
        return I.raiseNamed(err::ObjectRequired, object->written().startsWith(QLatin1Char('#')) ? name : object->written());
    int id;
    if (o->memberKey() == cachedKey) {
        id = cachedId;
    } else {
        id = o->memberId(name);
        cachedKey = o->memberKey();
        cachedId = id;
    }
    if (id == NoMember)
        return I.raiseNamed(err::NoSuchMember, written());
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    Args a = av.args();
    std::vector<Value *> withValue;
    if (assigned) {
        withValue.assign(av.ptrs, av.ptrs + av.count);
        withValue.push_back(assigned);
        a = Args{withValue.data(), int(withValue.size())};
    }
    if (!chargeArguments(I, a))
        return false;
    if (succeeded(I, o->invoke(I, id, kind, a, out)) && I.spend(workOf(out)))
        return true;
    // obj.Prop(i) where Prop takes no arguments: read Prop, then index what it gave.
    if (I.error().number == err::WrongArgs && av.count > 0 && !assigned && (kind & InvokeGet)) {
        const ScriptError first = I.error();
        I.clearError();
        Value whole;
        if (succeeded(I, o->invoke(I, id, InvokeGet, Args(), whole)) && indexEvaluated(I, whole, a, out))
            return true;
        I.setError(first);
    }
    return annotate(I, written());
}

bool Member::eval(Interp &I, Value &out)
{
    return invoke(I, Invoke(InvokeMethod | InvokeGet), nullptr, out);
}

bool Member::call(Interp &I)
{
    Value ignored;
    return invoke(I, InvokeMethod, nullptr, ignored);
}

bool Member::assign(Interp &I, Value &&v, bool isSet)
{
    Value ignored;
    return invoke(I, isSet ? InvokeSet : InvokeLet, &v, ignored);
}

bool Unary::eval(Interp &I, Value &out)
{
    const Value *v;
    Value tmp;
    if (!peekValue(I, operand, v, tmp))
        return false;
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
bool isIntegerOrLong(VType t) { return t == VType::Integer || t == VType::Long; }
bool isPlainNumber(VType t) { return isIntegerOrLong(t) || t == VType::Double; }
int64_t wholeOf(const Value &v) { return v.type() == VType::Integer ? v.asInteger() : v.asLong(); }
double doubleOf(const Value &v) { return v.type() == VType::Double ? v.asDouble() : double(wholeOf(v)); }

constexpr bool isComparison(BinOp op) { return op >= BinOp::Eq && op <= BinOp::Ge; }

// A comparison of Integers, Longs and Doubles; false for any other operands.
template <BinOp Op> [[gnu::always_inline]] inline bool quickCompare(const Value &a, const Value &b, bool &out)
{
    const VType at = a.type(), bt = b.type();
    auto compare = [&out](auto p, auto q) {
        if constexpr (Op == BinOp::Eq) out = p == q;
        else if constexpr (Op == BinOp::Ne) out = p != q;
        else if constexpr (Op == BinOp::Lt) out = p < q;
        else if constexpr (Op == BinOp::Gt) out = p > q;
        else if constexpr (Op == BinOp::Le) out = p <= q;
        else out = p >= q;
        return true;
    };
    if (isIntegerOrLong(at) && isIntegerOrLong(bt))
        return compare(wholeOf(a), wholeOf(b));
    if ((at == VType::Double || bt == VType::Double) && isPlainNumber(at) && isPlainNumber(bt))
        return compare(doubleOf(a), doubleOf(b));
    return false;
}

// An operator on the commonest operand types: Integers and Longs, a Double alone or mixed
// with them, two Booleans. False for anything else, and where the result would be an error
// (division by zero, overflow): the general path decides those.
template <BinOp Op> [[gnu::always_inline]] inline bool quickApply(const Value &a, const Value &b, Value &out)
{
    if constexpr (isComparison(Op)) {
        bool r;
        if (!quickCompare<Op>(a, b, r))
            return false;
        out.setBool(r);
        return true;
    }
    const VType at = a.type(), bt = b.type();
    if (isIntegerOrLong(at) && isIntegerOrLong(bt)) {
        const int64_t p = wholeOf(a), q = wholeOf(b);
        const bool integers = at == VType::Integer && bt == VType::Integer;
        if constexpr (Op == BinOp::Add) integerInto(out, p + q, integers);
        else if constexpr (Op == BinOp::Sub) integerInto(out, p - q, integers);
        else if constexpr (Op == BinOp::Mul) integerInto(out, p * q, integers);
        else if constexpr (Op == BinOp::Div) {
            if (q == 0)
                return false;
            out.setDouble(double(p) / double(q));
        } else if constexpr (Op == BinOp::Mod) {
            if (q == 0)
                return false;
            integerInto(out, p % q, integers);
        } else if constexpr (Op == BinOp::IntDiv) {
            if (q == 0 || p / q > INT32_MAX) // -2147483648 \ -1
                return false;
            integerInto(out, p / q, integers);
        } else {
            return false;
        }
        return true;
    }
    if ((at == VType::Double || bt == VType::Double) && isPlainNumber(at) && isPlainNumber(bt)) {
        const double p = doubleOf(a), q = doubleOf(b);
        double r;
        if constexpr (Op == BinOp::Add) r = p + q;
        else if constexpr (Op == BinOp::Sub) r = p - q;
        else if constexpr (Op == BinOp::Mul) r = p * q;
        else if constexpr (Op == BinOp::Div) {
            if (q == 0)
                return false;
            r = p / q;
        } else {
            return false; // \ and Mod round their operands first
        }
        if (!std::isfinite(r))
            return false;
        out.setDouble(r);
        return true;
    }
    if constexpr (Op == BinOp::And || Op == BinOp::Or) {
        if (at == VType::Boolean && bt == VType::Boolean) {
            out.setBool(Op == BinOp::And ? a.asBool() && b.asBool() : a.asBool() || b.asBool());
            return true;
        }
    }
    return false;
}
} // namespace

namespace {
// Where an operator's operand comes from, known once names are resolved.
enum class Operand : uint8_t { Local, Global, Held, Computed };

Operand operandKind(const Expr *e)
{
    switch (e->access) {
    case Expr::Access::Local: return Operand::Local;
    case Expr::Access::Global: return Operand::Global;
    case Expr::Access::Held: return Operand::Held;
    default: return Operand::Computed;
    }
}

// peekValue for an operand whose kind is known when compiling.
template <Operand K> [[gnu::always_inline]] inline bool operandValue(Interp &I, Expr *e, const Value *&out, Value &tmp)
{
    if constexpr (K == Operand::Local) {
        out = I.frame->refs[static_cast<LocalVar *>(e)->slot];
        return true;
    } else if constexpr (K == Operand::Held) {
        out = &static_cast<HeldValue *>(e)->value;
        return true;
    } else {
        if constexpr (K == Operand::Global) {
            GlobalEntry *entry = static_cast<GlobalVar *>(e)->entry;
            if (entry->kind == GlobalEntry::Var) [[likely]] {
                out = &entry->value;
                return true;
            }
        } else if (I.stackExhausted()) { // (1 + (1 + (1 + ...))): one level per operand
            return I.raise(err::OutOfStack);
        }
        out = &tmp;
        return e->eval(I, tmp);
    }
}

// An operator with its own copy of the evaluation for each kind of operand on either side,
// and its common operand types inline: no switch on the operator or on where the operands
// come from, and each copy's branches are predicted on their own.
template <BinOp Op, Operand L, Operand R> struct BinaryOf final : Binary {
    bool eval(Interp &I, Value &out) override
    {
        return withOperands(I, [&](const Value &a, const Value &b) {
            return quickApply<Op>(a, b, out) || applyGeneral(I, a, b, out);
        });
    }
    // A comparison as a condition gives its answer straight away.
    bool test(Interp &I, bool &out) override
    {
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
    template <typename Use> [[gnu::always_inline]] bool withOperands(Interp &I, Use use)
    {
        const Value *a, *b;
        Value ta, tb;
        if (!operandValue<L>(I, lhs, a, ta))
            return false;
        if constexpr (R == Operand::Computed) {
            if (a != &ta) { // the right side may change the left's variable
                ta = *a;
                a = &ta;
            }
        }
        if (!operandValue<R>(I, rhs, b, tb))
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

namespace {
// A variable's storage by the kind of the variable (Local or Global): for reading, and for
// writing (a global then exists). Null for a global that is not a variable.
template <Operand V> [[gnu::always_inline]] inline Value *arrayVariable(Interp &I, Expr *var, bool writing)
{
    if constexpr (V == Operand::Local) {
        return I.frame->refs[static_cast<LocalVar *>(var)->slot];
    } else {
        GlobalEntry *entry = static_cast<GlobalVar *>(var)->entry;
        if (entry->kind != GlobalEntry::Var)
            return nullptr;
        if (writing)
            entry->exists = true;
        return &entry->value;
    }
}

// a(i) with a a local or global variable and one subscript, specialised for where the
// variable and the subscript come from. An array and a subscript inside its bounds take
// the short way; everything else (objects' default members, procedures defined later,
// conversions, errors) the general one.
template <Operand V, Operand X> struct ElementAt final : ElementOf {
    bool eval(Interp &I, Value &out) override
    {
        const Value *base = arrayVariable<V>(I, var, false);
        if (!base || !base->isArray())
            return ElementOf::eval(I, out);
        Expr *index = args.items[0];
        if constexpr (X == Operand::Computed) {
            int32_t i;
            bool ranCode;
            if (!singleSubscript(I, index, i, ranCode))
                return false;
            base = arrayVariable<V>(I, var, false); // the subscript may have changed the variable
            if (!base || !base->isArray())
                return I.raiseNamed(err::TypeMismatch, var->written());
            return readElement(I, *base, i, out, var);
        } else {
            const Value *at;
            if constexpr (X == Operand::Local) {
                at = I.frame->refs[static_cast<LocalVar *>(index)->slot];
            } else if constexpr (X == Operand::Held) {
                at = &static_cast<HeldValue *>(index)->value;
            } else if (!(at = arrayVariable<Operand::Global>(I, index, false))) {
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
        Value *base = arrayVariable<V>(I, var, true);
        if (!base || !base->isArray() || isSet != v.isObject()) // nothing to convert: v is stored as it is
            return ElementOf::assign(I, std::move(v), isSet);
        int32_t i;
        bool ranCode;
        if (!singleSubscript(I, args.items[0], i, ranCode))
            return false;
        if (X == Operand::Computed || ranCode) {
            base = arrayVariable<V>(I, var, true); // the subscript may have changed the variable
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
    if (args.items.size() == 1 && args.items[0] && (v == Operand::Local || v == Operand::Global))
        e = v == Operand::Local ? makeElementAt<Operand::Local>(I, operandKind(args.items[0]))
                                : makeElementAt<Operand::Global>(I, operandKind(args.items[0]));
    else
        e = I.make<ElementOf>();
    e->var = var;
    e->args = args;
    if (auto *g = dynamic_cast<GlobalVar *>(var))
        e->global = g->entry;
    return e;
}

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

bool Binary::applyGeneral(Interp &I, const Value &a, const Value &b, Value &out) const
{
    if (op == BinOp::Concat && a.isString() && b.isString()) {
        QString joined;
        if (!joinText(I, a.asString(), b.asString(), joined))
            return false;
        out = Value::string(std::move(joined));
        return true;
    }
    return binaryOp(I, op, a, b, out);
}

bool NewObject::eval(Interp &I, Value &out)
{
    // The language's own class that New makes, whatever classes the script defines.
    if (className.compare(RegExpObject::ClassName, Qt::CaseInsensitive) == 0) {
        out = Value::object(new RegExpObject);
        return true;
    }
    if (!entry)
        entry = I.global(className);
    ClassDef *cls = entry && entry->kind == GlobalEntry::Class ? entry->cls : nullptr;
    if (!cls)
        return I.raiseNamed(err::ClassNotDefined, className);
    auto *o = new ScriptObject(I, cls);
    Value holder = Value::object(o);
    if (!o->initialize())
        return false;
    out = std::move(holder);
    return true;
}

bool MeExpr::eval(Interp &I, Value &out)
{
    if (!I.frame->me)
        return I.raise(err::InvalidMe);
    out = Value::object(I.frame->me);
    return true;
}

bool ProcCall::eval(Interp &I, Value &out)
{
    if (entry->kind != GlobalEntry::Procedure)
        return I.raiseNamed(err::TypeMismatch, name);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    return I.callProc(entry->proc, av.args(), &out);
}

bool ProcCall::call(Interp &I)
{
    if (entry->kind != GlobalEntry::Procedure)
        return I.raiseNamed(err::TypeMismatch, name);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    return I.callProc(entry->proc, av.args(), nullptr);
}

bool BuiltinCall::eval(Interp &I, Value &out)
{
    const int n = int(args.items.size());
    if (n < fn->minArgs || n > fn->maxArgs)
        return I.raiseNamed(err::WrongArgs, name);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    av.ownCopiesIfCodeMayRun();
    if (!chargeArguments(I, av.args()) || !succeeded(I, fn->fn(I, av.args(), out)) || !I.spend(workOf(out)))
        return annotate(I, name);
    return true;
}

bool BuiltinCall::call(Interp &I)
{
    Value ignored;
    return eval(I, ignored);
}

bool HostMember::eval(Interp &I, Value &out)
{
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    if (!chargeArguments(I, av.args()) || !succeeded(I, object->invoke(I, id, Invoke(InvokeMethod | InvokeGet), av.args(), out))
        || !I.spend(workOf(out)))
        return annotate(I, objectName + QLatin1Char('.') + name);
    return true;
}

bool HostMember::call(Interp &I)
{
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    Value ignored;
    if (!chargeArguments(I, av.args()) || !succeeded(I, object->invoke(I, id, InvokeMethod, av.args(), ignored)))
        return annotate(I, objectName + QLatin1Char('.') + name);
    return true;
}

bool HostMember::assign(Interp &I, Value &&v, bool isSet)
{
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    std::vector<Value *> ptrs(av.ptrs, av.ptrs + av.count);
    ptrs.push_back(&v);
    Value ignored;
    if (!succeeded(I, object->invoke(I, id, isSet ? InvokeSet : InvokeLet, Args{ptrs.data(), int(ptrs.size())}, ignored)))
        return annotate(I, objectName + QLatin1Char('.') + name);
    return true;
}

// Inside a class: fields of Me directly, other members through Me's own dispatch.
bool ClassMemberRef::eval(Interp &I, Value &out)
{
    auto *me = static_cast<ScriptObject *>(I.frame->me);
    if (!me)
        return I.raise(err::InvalidMe);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    return succeeded(I, me->invoke(I, id, Invoke(InvokeMethod | InvokeGet), av.args(), out)) || annotate(I, name);
}

Value *ClassMemberRef::ref(Interp &I)
{
    auto *me = static_cast<ScriptObject *>(I.frame->me);
    if (!me || hasArgs)
        return nullptr;
    const ClassDef::MemberInfo &m = I.frame->proc->cls->members[size_t(id - 1)];
    return m.field >= 0 ? me->field(m.field) : nullptr;
}

bool ClassMemberRef::assign(Interp &I, Value &&v, bool isSet)
{
    auto *me = static_cast<ScriptObject *>(I.frame->me);
    if (!me)
        return I.raise(err::InvalidMe);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    std::vector<Value *> ptrs(av.ptrs, av.ptrs + av.count);
    ptrs.push_back(&v);
    Value ignored;
    return succeeded(I, me->invoke(I, id, isSet ? InvokeSet : InvokeLet, Args{ptrs.data(), int(ptrs.size())}, ignored))
           || annotate(I, name);
}

bool ClassMemberRef::call(Interp &I)
{
    auto *me = static_cast<ScriptObject *>(I.frame->me);
    if (!me)
        return I.raise(err::InvalidMe);
    ArgValues av;
    if (!av.evaluate(I, args))
        return false;
    Value ignored;
    return succeeded(I, me->invoke(I, id, InvokeMethod, av.args(), ignored)) || annotate(I, name);
}

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
    if (!isSet && v.type() < VType::String) {
        if (Value *t = target->plainRef(I); t && t->type() < VType::String) {
            *t = std::move(v);
            return Flow::Normal;
        }
    }
    return target->assign(I, std::move(v), isSet) ? Flow::Normal : Flow::Error;
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
    return reserveMemory(total * qint64(sizeof(Value))) && spend(total);
}

// ReDim Preserve of an array that only this variable holds, where only the last
// dimension changes: the elements keep their places, so the storage grows where it is
// (amortised, so growing an array one element at a time stays linear).
bool DimStmt::resizeInPlace(Value &target, const Subscripts &counts, int64_t total)
{
    if (!target.isArray())
        return false;
    ArrayData *a = target.asArray();
    if (a->refs != 1 || a->dims() != int(counts.size()) || a->dims() == 0)
        return false;
    for (int d = 0; d + 1 < a->dims(); ++d)
        if (a->counts[size_t(d)] != counts[size_t(d)])
            return false;
    // Elements cut off leave the array before they are let go of: a Class_Terminate they
    // run may ReDim or erase the very array.
    std::vector<Value> cut;
    if (size_t(total) < a->data.size()) {
        cut.assign(std::make_move_iterator(a->data.begin() + ptrdiff_t(total)), std::make_move_iterator(a->data.end()));
    } else if (size_t(total) > a->data.capacity()) {
        a->data.reserve(std::max(size_t(total), a->data.capacity() * 2));
    }
    a->data.resize(size_t(total));
    a->counts.back() = counts.back();
    cut.clear();
    return true;
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
        if (preserve && resizeInPlace(*target, counts, total))
            continue;
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
Flow countLoop(Interp &I, const Block &body, Number from, Number to, Number step, Store store, Load load)
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
        auto store = [&](int64_t &i) {
            if (i > INT32_MAX || i < INT32_MIN)
                return I.raise(err::Overflow);
            Value *c = variableStorage(I, var);
            if (type == VType::Integer && i >= -32768 && i <= 32767)
                c->setInteger(int16_t(i));
            else
                c->setLong(int32_t(i));
            return true;
        };
        auto load = [&](int64_t &i) {
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
