#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <memory>

#include "context.h"
#include "dispatch.h"
#include "errors.h"
#include "value.h"

namespace vbs {

class Interp;

// The VBScript engine as a script host drives it: register objects, add code (its
// top-level statements run at once), run procedures by name. Failures return false and
// leave their number, description, line and column in error().
class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    void setHost(Host *host);
    Host *host() const { return m_host; }

    QString language() const { return QStringLiteral("VBScript"); }
    bool setLanguage(const QString &language);
    // Milliseconds of script execution before the host is asked whether to stop; 0: never.
    qint64 timeout() const { return m_timeout; }
    void setTimeout(qint64 milliseconds) { m_timeout = milliseconds; }
    const Limits &limits() const { return m_limits; }
    void setLimits(const Limits &limits);

    // Makes CreateObject(progId) give objects of this factory (kept across reset); an
    // empty factory takes the class away (a host that must not let scripts touch files).
    void registerClass(const QString &progId, ClassFactory factory);
    // Makes GetObject("scheme:...") answer with this factory (kept across reset).
    void registerMoniker(const QString &scheme, MonikerFactory factory);

    // Discards all code, variables and registered objects.
    void reset();
    // Makes the object reachable by name; with addMembers its members are global names too.
    // The engine holds a reference until reset() or its end: an object owned elsewhere
    // (one that does not delete itself) must outlive the engine.
    bool addObject(const QString &name, Object *object, bool addMembers);
    // Another name for a member of a registered object: a name that is no procedure or
    // variable of the script and no built-in calls that member.
    bool addAlias(const QString &alias, const QString &objectName, const QString &member);
    // Compiles the text and runs its top-level statements. A compile error runs nothing.
    bool addCode(const QString &code);
    // Compiles the text without running any of it: whether it is free of compile errors.
    bool check(const QString &code);
    // Calls a Sub or Function by name (any letter case) and returns its result.
    bool run(const QString &procedure, const QList<Value> &args = {}, Value *result = nullptr);
    // Ends the program: its variables let go of what they hold now, so that Class_Terminate
    // runs within the time limit of the last run, and a stop there fails like any error.
    bool end();
    // Whether a run (AddCode or Run) is under way right now, e.g. while a script waits in a
    // message box: the host must not reset the engine then.
    bool isRunning() const;

    const ScriptError &error() const { return m_error; }

private:
    template <typename Work> bool guarded(Work work);
    bool addCodeUnguarded(const QString &code);
    bool runUnguarded(const QString &procedure, const QList<Value> &args, Value *result);
    bool fail(const ScriptError &error);
    bool finish(bool ok);

    std::unique_ptr<Interp> m_interp;
    QHash<QString, ClassFactory> m_classes;
    QHash<QString, MonikerFactory> m_monikers;
    Host *m_host = nullptr;
    qint64 m_timeout = 0;
    Limits m_limits;
    ScriptError m_error;
};

} // namespace vbs
