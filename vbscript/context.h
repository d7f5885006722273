#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "dispatch.h"
#include "errors.h"
#include "value.h"

namespace vbs {

class Context;

// What the engine asks of whoever hosts it: the language's dialogs, and what to do with a
// script that has run past its time limit. The GUI answers with dialogs, the console runner
// on the console, tests with scripted answers.
class Host {
public:
    virtual ~Host() = default;
    // Shows a message box; returns the constant of the chosen button (vbOK = 1, ...).
    // A host that waits for an answer itself does so through the context, within the time
    // limit.
    virtual int msgBox(Context &cx, const QString &prompt, int buttons, const QString &title) = 0;
    // Asks for a line of text; nothing (Cancel) gives the empty string in the script. A host
    // that waits for input itself does so through the context, within the time limit.
    virtual std::optional<QString> inputBox(Context &cx, const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
    // Asks for a folder (Shell.Application's BrowseForFolder), starting at root when it is
    // not empty; nothing when the user cancels or the host cannot ask.
    virtual std::optional<QString> browseForFolder(Context &, const QString &, const QString &) { return std::nullopt; }
    // The script has executed for the time limit: true stops it, false grants another period.
    virtual bool stopRunawayScript() = 0;
    // Whether time spent in the message and input boxes counts against the time limit. On
    // the console the limit is wall-clock; in a window the user's reading time is not the
    // script's.
    virtual bool dialogTimeCounts() const { return false; }
    // Lets time pass while a script waits (Sleep); a window keeps painting meanwhile.
    virtual void idle(int milliseconds);
    // Whether Sleep counts against the time limit. On the console the limit is wall-clock;
    // in a window a script that sleeps is not stuck in a loop.
    virtual bool sleepCounts() const { return true; }
    // Called every PollInterval milliseconds or so while a script runs, whatever it does: a
    // window lets its event loop take a turn, so that it repaints and the user can stop the
    // script. True stops the script now (error UserStop).
    static constexpr int PollInterval = 30;
    virtual bool poll() { return false; }
};

// How big a script may make a string or an array; beyond, 7 Out of memory. A host lowers
// them to run untrusted text in a small budget (the fuzzing harnesses do).
struct Limits {
    qint64 maxStringLength = qint64(1) << 28; // 256 Mi characters
    qint64 maxArrayElements = qint64(1) << 27;
    // The whole process's resident memory a script may bring it to: half of what the
    // machine (or the control group the process runs in) has, by default.
    qint64 maxMemoryBytes = defaultMemoryCap();
    static qint64 defaultMemoryCap();
};

// The process's resident memory now, in bytes (0 where the system does not say).
qint64 residentBytes();

// Makes objects for CreateObject("Program.Class").
using ClassFactory = std::function<Object *()>;
// Answers GetObject("scheme:..."): the object the whole moniker names, or null with the
// error raised through the context (a remote computer, a query that is malformed).
using MonikerFactory = std::function<Object *(Context &cx, const QString &moniker)>;

// The engine as built-in functions and objects see it: raising errors, the host, and the
// conversions every built-in shares.
class Context {
public:
    virtual ~Context() = default;

    // Sets the pending error and returns false, so failing paths read `return cx.raise(13);`.
    bool raise(int32_t number, const QString &description = QString(), const QString &source = QString());
    // For the checks after an argument's conversion: keeps the error the conversion raised,
    // else raises this one; false either way, so the call fails at its own statement.
    bool raiseUnlessPending(int32_t number) { return m_hasError ? false : raise(number); }
    // VBScript's text, naming what failed for the host: "Type mismatch: 'x'".
    bool raiseNamed(int32_t number, const QString &name)
    {
        raise(number);
        m_error.name = name;
        return false;
    }
    // Names the pending error when nothing named it yet (the call that failed). Running out
    // of stack is not the call's fault and reads the same wherever the guard caught it.
    void nameError(const QString &name)
    {
        if (m_hasError && m_error.name.isEmpty() && m_error.description.isEmpty() && m_error.number != err::OutOfStack)
            m_error.name = name;
    }
    // Ends the script for good: no On Error Resume Next can swallow this error, and no more
    // script code runs, Class_Terminate included.
    bool stopScript(int32_t number, const QString &description)
    {
        raise(number, description);
        fatal = true;
        m_fatalError = m_error;
        return false;
    }
    bool fatal = false;
    const ScriptError &fatalError() const { return m_fatalError; }
    Limits limits;
    bool hasError() const { return m_hasError; }
    const ScriptError &error() const { return m_error; }
    void clearError() { m_hasError = false; m_error = ScriptError(); }
    void setError(const ScriptError &error) { m_hasError = true; m_error = error; }

    virtual Host *host() const = 0;
    // CreateObject: a new object of the class the host registered under the name, or null.
    virtual Object *createObject(const QString &progId) = 0;
    // GetObject(moniker): the object a registered scheme makes of it; false with 429 for a
    // scheme nobody handles, or 432 for a file whose type nothing handles.
    virtual bool getObject(const QString &moniker, Value &out) = 0;
    // Eval, Execute, ExecuteGlobal and GetRef: code given as text while the script runs.
    virtual bool evaluate(const QString &expression, Value &out) = 0;
    virtual bool execute(const QString &code, bool global) = 0;
    virtual Object *procedureRef(const QString &name) = 0;

    // Rnd: below 0 the same number for the same argument, 0 the last number again, else
    // the next number of the sequence that Randomize seeds.
    float nextRandom(double argument);
    // Randomize number: a sequence that depends on the number.
    void randomize(double number);
    // ---- the time limit, for library code that works or waits long ----------------
    // Library code that works long (a loop over a large string or array, a long string
    // built) reports its work here, in characters or elements: now and then the clock is
    // read, and false comes back with the stop raised once the limit has passed.
    virtual bool spend(qint64 work) = 0;
    // Before a large allocation: whether `bytes` more still fit under the memory cap;
    // false with 7 Out of memory raised when they do not.
    bool reserveMemory(qint64 bytes);
    // Milliseconds until the limit passes (0 once it has), or -1 when there is none.
    virtual qint64 msUntilDeadline() const = 0;
    // Looks at the clock now: false with the stop raised when the limit has passed.
    virtual bool checkTime() = 0;
    // Waits in slices that never run past the limit: `ready` waits at most the given
    // milliseconds and says whether the wait is over. False when the script was stopped.
    bool waitUntil(const std::function<bool(int milliseconds)> &ready);
    // Sleep: lets the milliseconds pass through the host's idle(), within the limit.
    bool sleep(qint64 milliseconds);
    // Shows one of the host's boxes: the user's time in it counts against the limit only
    // where the host says it does. False when the limit passed meanwhile.
    template <typename Show> bool inDialog(Host &host, Show show)
    {
        if (host.dialogTimeCounts()) {
            show();
            return checkTime();
        }
        pauseClock();
        show();
        resumeClock();
        return true;
    }
    virtual void pauseClock() = 0;
    virtual void resumeClock() = 0;

protected:
    // The process's resident memory as the clock last looked (Context::reserveMemory).
    qint64 m_resident = 0;
    uint32_t m_seed = 0x50000; // VBScript's generator: 24 bits, the same start in every run
    bool m_hasError = false;
    ScriptError m_error;
    ScriptError m_fatalError;
};

} // namespace vbs
