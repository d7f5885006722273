#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <random>

#include "dispatch.h"
#include "errors.h"
#include "value.h"

namespace vbs {

// What the engine asks of whoever hosts it: the language's dialogs, and what to do with a
// script that has run past its time limit. The GUI answers with dialogs, the console runner
// on the console, tests with scripted answers.
class Host {
public:
    virtual ~Host() = default;
    // Shows a message box; returns the constant of the chosen button (vbOK = 1, ...).
    virtual int msgBox(const QString &prompt, int buttons, const QString &title) = 0;
    // Asks for a line of text; nothing (Cancel) gives the empty string in the script.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
    // The script has executed for the time limit: true stops it, false grants another period.
    virtual bool stopRunawayScript() = 0;
};

// Makes objects for CreateObject("Program.Class").
using ClassFactory = std::function<Object *()>;

// The engine as built-in functions and objects see it: raising errors, the host, and the
// conversions every built-in shares.
class Context {
public:
    virtual ~Context() = default;

    // Sets the pending error and returns false, so failing paths read `return cx.raise(13);`.
    bool raise(int32_t number, const QString &description = QString(), const QString &source = QString());
    // Ends the script for good: no On Error Resume Next can swallow this error.
    bool stopScript(int32_t number, const QString &description)
    {
        fatal = true;
        return raise(number, description);
    }
    bool fatal = false;
    bool hasError() const { return m_hasError; }
    const ScriptError &error() const { return m_error; }
    void clearError() { m_hasError = false; m_error = ScriptError(); }
    void setError(const ScriptError &error) { m_hasError = true; m_error = error; }

    virtual Host *host() const = 0;
    // CreateObject: a new object of the class the host registered under the name, or null.
    virtual Object *createObject(const QString &progId) = 0;
    // Eval, Execute, ExecuteGlobal and GetRef: code given as text while the script runs.
    virtual bool evaluate(const QString &expression, Value &out) = 0;
    virtual bool execute(const QString &code, bool global) = 0;
    virtual Object *procedureRef(const QString &name) = 0;

    // Rnd: below 0 the same number for the same argument, 0 the last number again, else
    // the next number of the sequence that Randomize seeds.
    float nextRandom(double argument);
    void randomize(uint32_t seed) { m_random.seed(seed); }
    // Time spent waiting for the user does not count against the time limit.
    virtual void pauseClock() = 0;
    virtual void resumeClock() = 0;

protected:
    std::mt19937 m_random{0x5eed};
    float m_lastRandom = 0;
    bool m_hasError = false;
    ScriptError m_error;
};

} // namespace vbs
