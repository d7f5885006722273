// The interpreter's state: globals, runs and the clock, frames, calls, argument lists.
#include "evaluation.h"

#include <QDateTime>

#include "compiler.h"
#include "objects/err.h"
#include "objects/scriptclass.h"
#include "parser.h"

namespace vbs {

namespace {

// Operations (calls, loop turns) between two looks at the clock: often enough that a loop
// of slow operations stops close to the limit, rare enough to cost nothing measurable.
constexpr int TickBudget = 256;

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

Flow Interp::outOfStack()
{
    raise(err::OutOfStack);
    return Flow::Error;
}

Flow Interp::outOfMemory()
{
    // Memory ran out in the middle of the statement: its error, at its line.
    raise(err::OutOfMemory);
    return Flow::Error;
}

Flow Interp::afterStatement(const Stmt *s, Flow f)
{
    if (f == Flow::Normal) {
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
            return Flow::Normal;
        }
    }
    return f;
}

namespace {
// A procedure's local slots (its result first, then parameters and locals) and where each
// slot's value lives. The usual few are on the stack, made only as far as the procedure has
// slots, which keeps a call cheap; they go in reverse order when the call ends.
class LocalSlots {
public:
    [[gnu::always_inline]] explicit LocalSlots(int n) : m_count(n)
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
    [[gnu::always_inline]] ~LocalSlots()
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

[[gnu::always_inline]] inline bool Interp::runProc(Proc *proc, Value **refs, Value *result, Object *me)
{
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
        *result = std::move(*refs[0]);
    return true;
}

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
    return runProc(proc, refs, result, me);
}

bool Interp::callProcedure(GlobalEntry *entry, const ArgList &args, Value *result, const QString &name)
{
    if (entry->kind != GlobalEntry::Procedure)
        return raiseNamed(err::TypeMismatch, name);
    Proc *proc = entry->proc;
    const int count = int(args.items.size());
    if (fatal || count != int(proc->params.size()) || stackExhausted()) {
        // The arguments run first, then the call fails: as a call of any other kind does.
        ArgValues av;
        if (!av.evaluate(*this, args))
            return false;
        if (entry->kind != GlobalEntry::Procedure) // the arguments made the name a variable
            return raiseNamed(err::TypeMismatch, name);
        return callProc(entry->proc, av.args(), result);
    }
    // The arguments are evaluated straight into the procedure's slots, in the caller's
    // frame. A variable or an element goes by reference; for a ByVal parameter, its value
    // is copied once every argument has run, as a call with evaluated arguments does.
    LocalSlots locals(proc->slotCount());
    Value *storage = locals.values();
    Value **refs = locals.refs();
    LockedArrays locked;
    for (int i = 0; i < count; ++i) {
        Expr *e = args.items[size_t(i)];
        if (!e) {
            storage[i + 1] = Value::missing();
            continue;
        }
        if (!e->computed) {
            if (Value *r = e->argRef(*this, locked.arrays)) {
                refs[i + 1] = r;
                continue;
            }
            if (hasError())
                return false;
        } else if (e->arithmetic) { // F(n - 1)
            const Scalar r = e->scalar(*this);
            if (!r.isNone()) {
                storage[i + 1].setScalar(r);
                continue;
            }
            if (!e->evalInFull(*this, storage[i + 1]))
                return false;
            continue;
        }
        if (!e->eval(*this, storage[i + 1]))
            return false;
    }
    if (entry->kind != GlobalEntry::Procedure || entry->proc != proc) {
        // An argument redefined the name (ExecuteGlobal): what it names now is called.
        if (entry->kind != GlobalEntry::Procedure)
            return raiseNamed(err::TypeMismatch, name);
        return callProc(entry->proc, Args{refs + 1, count}, result);
    }
    for (int i = 0; i < count; ++i) {
        if (!proc->params[size_t(i)].byRef && refs[i + 1] != &storage[i + 1]) {
            storage[i + 1] = *refs[i + 1];
            refs[i + 1] = &storage[i + 1];
        }
    }
    if (!tick())
        return false;
    return runProc(proc, refs, result, nullptr);
}

// ---- argument lists --------------------------------------------------------------------

ArgValues::~ArgValues()
{
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
            Value *r = e->argRef(I, lockedArrays.arrays);
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

} // namespace vbs
