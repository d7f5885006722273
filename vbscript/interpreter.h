#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <deque>
#include <unordered_set>
#include <memory>
#include <new>
#include <vector>

#include "ast.h"
#include "context.h"
#include "stackguard.h"

namespace vbs {

class ErrObject;
class ScriptObject;

// A script-level name: a variable, a constant, a procedure or a class. Entries never move,
// so resolved code points straight at them.
struct GlobalEntry {
    enum Kind : uint8_t { Var, Const, Procedure, Class } kind = Var;
    // A variable declared at script level (Dim) exists from the start; an undeclared one
    // once script-level code has assigned it. Procedures use an undeclared name as their
    // own local unless the global exists when they run.
    bool declared = false;
    bool exists = false;
    // Assigned by script-level code without a declaration: a variable of the whole script.
    // (An undeclared name inside a procedure also has an entry here, for the run where the
    // global exists; that one does not hide a built-in function of the same name.)
    bool assignedAtTop = false;
    QString name;
    Value value;
    Proc *proc = nullptr;
    ClassDef *cls = nullptr;
};

// One row of the built-in function table: name, argument counts, body.
using BuiltinFn = bool (*)(Context &cx, Args args, Value &result);
struct Builtin {
    const char *name;
    int8_t minArgs;
    int8_t maxArgs;
    BuiltinFn fn;
};

// The activation of a procedure (or of top-level code): where its variables live.
struct Frame {
    Value **refs = nullptr; // slot -> storage (a by-reference parameter points at the caller's)
    Proc *proc = nullptr;
    Object *me = nullptr;
    bool resumeNext = false;
};

// Makes a frame the running one for a scope, and the previous one again when the scope
// ends, however it ends.
class FrameScope {
public:
    FrameScope(Frame *&current, Frame *f) : m_current(current), m_saved(current) { current = f; }
    ~FrameScope() { m_current = m_saved; }
    FrameScope(const FrameScope &) = delete;
    FrameScope &operator=(const FrameScope &) = delete;

private:
    Frame *&m_current;
    Frame *m_saved;
};

// The arrays whose elements a call passes by reference: each locked (no ReDim or Erase)
// and held until the call is over.
struct LockedArrays {
    std::vector<Value> arrays;
    LockedArrays() = default;
    ~LockedArrays()
    {
        for (Value &v : arrays)
            --v.asArray()->locks;
    }
    LockedArrays(const LockedArrays &) = delete;
    LockedArrays &operator=(const LockedArrays &) = delete;
};

// Arguments evaluated for a call: by reference where the script passed a variable or an
// array element (the array is locked meanwhile), else temporaries.
struct ArgValues {
    static constexpr int Inline = 6;
    // Room for the first few values, made only as far as a call has arguments: a call costs
    // no more than its arguments.
    alignas(Value) unsigned char inlineRoom[Inline * sizeof(Value)];
    int inlineMade = 0;
    Value *inlinePtrs[Inline];
    std::unique_ptr<Value[]> heapTemps;
    std::unique_ptr<Value *[]> heapPtrs;
    Value *temps = reinterpret_cast<Value *>(inlineRoom);
    Value **ptrs = inlinePtrs;
    int count = 0;
    LockedArrays lockedArrays;
    std::vector<Value *> withAssigned; // for argsWith, past the inline room

    ~ArgValues();
    Args args() const { return Args{ptrs, count}; }
    // The arguments and, last, the value a Let or Set assigns.
    Args argsWith(Value *assigned)
    {
        if (!assigned)
            return args();
        if (ptrs == inlinePtrs && count < Inline) {
            inlinePtrs[count] = assigned;
            return Args{ptrs, count + 1};
        }
        withAssigned.assign(ptrs, ptrs + count);
        withAssigned.push_back(assigned);
        return Args{withAssigned.data(), count + 1};
    }
    bool evaluate(Interp &I, const ArgList &list, bool byRef = true);
    // For a built-in, which never writes its arguments: when one is an object (whose
    // default property it may read) or an array (of objects, perhaps), script code may run
    // during the call and reassign the variables passed by reference; the call then works
    // on copies of its own, which keep strings, arrays and objects alive and unchanged.
    void ownCopiesIfCodeMayRun();
};

class Interp : public Context {
public:
    Interp();
    ~Interp() override;

    Host *host() const override { return m_host; }
    void pauseClock() override;
    void resumeClock() override;
    bool spend(qint64 work) override;
    qint64 msUntilDeadline() const override;
    bool checkTime() override { return checkClock(); }
    void setHost(Host *host) { m_host = host; }
    Object *createObject(const QString &progId) override;
    bool evaluate(const QString &expression, Value &out) override;
    bool execute(const QString &code, bool global) override;
    Object *procedureRef(const QString &name) override;
    void setClasses(const QHash<QString, ClassFactory> *classes) { m_classes = classes; }
    void setMonikers(const QHash<QString, MonikerFactory> *monikers) { m_monikers = monikers; }
    bool getObject(const QString &moniker, Value &out) override;

    // ---- program --------------------------------------------------------------------
    template <typename T> T *make()
    {
        auto node = std::make_unique<T>();
        T *raw = node.get();
        m_nodes.push_back(std::move(node));
        return raw;
    }
    std::vector<std::unique_ptr<Node>> &nodes() { return m_nodes; }
    GlobalEntry *global(const QString &name) const { return m_globalIndex.value(name.toLower()); }
    GlobalEntry *addGlobal(const QString &name, GlobalEntry::Kind kind);
    std::vector<std::unique_ptr<Proc>> procs;
    std::vector<std::unique_ptr<ClassDef>> classes;

    struct Registered {
        QString name;
        Value object;
        bool addMembers = false;
        // Other names for members (lower case -> member name), for names the script and
        // the language leave free: Shell(...) anywhere in an expression is qxCmd.qxShell.
        QHash<QString, QString> aliases;
    };
    std::vector<Registered> registered;
    Object *errObject() const;
    ErrObject *err() const { return m_err; }

    // ---- running --------------------------------------------------------------------
    Frame *frame = nullptr;
    Frame globalFrame;

    // Starts a call from the host: resets the time budget and the stack guard.
    void beginRun(qint64 timeoutMs);
    // Another step of the same run (the end of the program): the clock goes on.
    void continueRun(qint64 timeoutMs);
    void endRun();
    // The end of the program: lets go of what the variables hold, so that Class_Terminate
    // of the objects runs now (the globals that code adds stay as they are).
    void releaseGlobals();
    // After an allocation failed in the middle of a run: back to script level, no run.
    void abandonRun();
    bool inRun() const { return m_runDepth > 0; }

    // Runs the statements in turn: inline, since every block of every loop, If and call
    // comes here. What ends a statement other than normally goes to afterStatement.
    [[gnu::always_inline]] Flow execBlock(const Block &block)
    {
        if (stackExhausted()) [[unlikely]]
            return outOfStack();
        for (Stmt *s : block) {
            Flow f;
            try {
                f = s->exec(*this);
            } catch (const std::bad_alloc &) {
                f = outOfMemory();
            }
            if (f == Flow::Normal && !fatal) [[likely]]
                continue;
            f = afterStatement(s, f);
            if (f != Flow::Normal)
                return f;
        }
        return Flow::Normal;
    }
    // Calls a script procedure with arguments already evaluated.
    bool callProc(Proc *proc, Args args, Value *result, Object *me = nullptr);
    // Calls the script procedure a global names with these arguments, evaluated here; what
    // the name stands for once they have run is what is called (13 if no procedure).
    bool callProcedure(GlobalEntry *entry, const ArgList &args, Value *result, const QString &name);
    // Records the pending error in Err and clears it (On Error Resume Next).
    void trapError();
    // The countdown behind the time limit; false with error when the script is stopped.
    bool tick()
    {
        if (--m_budget > 0)
            return true;
        return checkClock();
    }
    bool stackExhausted() const { return m_stack.exhausted(); }
    // The element counts and their product for Dim a(b1, b2, ...), charged to the clock: 9
    // for a bound below -1 or more than 60 dimensions, 7 beyond the limits. Whoever then
    // allocates asks for the memory (Context::reserveMemory).
    bool arrayShape(const std::vector<Expr *> &bounds, Subscripts &counts, int64_t &total, const QString &name);
    // After the script was stopped (time limit, WScript.Quit): the stop's error again.
    bool raiseStop();
    bool objectOf(const Value &v, Object *&o, const QString &name);

    // Live script objects, told when the program they run goes away.
    std::unordered_set<ScriptObject *> liveObjects;
    // Live containers the program made (CreateObject), likewise.
    std::unordered_set<Container *> liveContainers;

private:
    bool checkClock();
    [[gnu::noinline]] Flow outOfStack();
    [[gnu::noinline]] Flow outOfMemory();
    // A statement that failed, or ran while the script was stopped: the error gets the
    // statement's line, and On Error Resume Next takes it (Normal: go on with the next).
    [[gnu::noinline]] Flow afterStatement(const Stmt *s, Flow f);
    // The body of a call whose slots are ready: refs[0] is the result's slot.
    bool runProc(Proc *proc, Value **refs, Value *result, Object *me);

    Host *m_host = nullptr;
    // Tells objects that outlive the interpreter (GetRef's) that it is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    const QHash<QString, ClassFactory> *m_classes = nullptr;
    const QHash<QString, MonikerFactory> *m_monikers = nullptr; // by scheme, lower case, without ':'
    std::vector<std::unique_ptr<Node>> m_nodes;
    // Nodes below this index are kept for good (procedures defined by ExecuteGlobal).
    size_t m_pinnedNodes = 0;
    void releaseNodes(size_t mark) { m_nodes.resize(std::max(mark, m_pinnedNodes)); }
    std::deque<GlobalEntry> m_globals;
    QHash<QString, GlobalEntry *> m_globalIndex;
    ErrObject *m_err = nullptr;
    Value m_errHolder;

    int m_runDepth = 0;
    int m_budget = 0;
    qint64 m_work = 0; // work reported by spend() not yet taken from the budget
    qint64 m_timeoutMs = 0;
    qint64 m_pausedMs = 0;
    qint64 m_pauseStarted = -1;
    qint64 m_deadline = 0;
    qint64 m_lastPoll = 0; // when the host was last polled, on m_clock
    QElapsedTimer m_clock;
    StackGuard m_stack;
};

} // namespace vbs
