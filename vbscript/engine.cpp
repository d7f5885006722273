#include "engine.h"

#include "compiler.h"
#include "interpreter.h"
#include "objects/dictionary.h"
#include "objects/filesystem.h"
#include "objects/regexp.h"
#include "parser.h"

namespace vbs {

Engine::Engine() : m_interp(std::make_unique<Interp>())
{
    m_interp->setClasses(&m_classes);
    m_interp->setMonikers(&m_monikers);
    // The language's own library objects.
    registerClass(Dictionary::ClassId, [] { return new Dictionary; });
    registerClass(QStringLiteral("VBScript.RegExp"), [] { return new RegExpObject; });
    registerClass(FileSystemObject::ClassId, [] { return new FileSystemObject; });
}

void Engine::registerClass(const QString &progId, ClassFactory factory)
{
    if (factory)
        m_classes.insert(progId.toLower(), std::move(factory));
    else
        m_classes.remove(progId.toLower());
}

void Engine::registerMoniker(const QString &scheme, MonikerFactory factory)
{
    if (factory)
        m_monikers.insert(scheme.toLower(), std::move(factory));
    else
        m_monikers.remove(scheme.toLower());
}

Engine::~Engine()
{
    // The program goes first: Class_Terminate of objects still alive runs now, and may use
    // the registered classes and the host.
    m_interp.reset();
}

void Engine::setLimits(const Limits &limits)
{
    m_limits = limits;
    m_interp->limits = limits;
}

void Engine::setHost(Host *host)
{
    m_host = host;
    m_interp->setHost(host);
}

bool Engine::setLanguage(const QString &language)
{
    if (language.compare(QLatin1String("VBScript"), Qt::CaseInsensitive) == 0)
        return true;
    ScriptError e;
    e.number = err::InvalidCall;
    e.description = QStringLiteral("Unknown script language: '%1'").arg(language);
    return fail(e);
}

void Engine::reset()
{
    m_interp = std::make_unique<Interp>();
    m_interp->setHost(m_host);
    m_interp->setClasses(&m_classes);
    m_interp->setMonikers(&m_monikers);
    m_interp->limits = m_limits;
    m_error = ScriptError();
}

bool Engine::isRunning() const
{
    return m_interp->inRun();
}

bool Engine::fail(const ScriptError &error)
{
    m_error = error;
    m_error.description = error.hostDescription();
    return false;
}

bool Engine::finish(bool ok)
{
    Interp &I = *m_interp;
    I.endRun();
    if (I.fatal) // perhaps a stop that came after the last statement, from Class_Terminate
        ok = I.raiseStop();
    if (ok)
        return true;
    ScriptError e = I.error();
    I.clearError();
    if (e.number == 0)
        e.number = err::OutOfStack; // nothing else fails without saying why
    return fail(e);
}

bool Engine::addObject(const QString &name, Object *object, bool addMembers)
{
    if (!object || name.isEmpty()) {
        ScriptError e;
        e.number = err::InvalidCall;
        return fail(e);
    }
    for (const Interp::Registered &r : m_interp->registered) {
        if (r.name.compare(name, Qt::CaseInsensitive) == 0) {
            ScriptError e;
            e.number = err::NameRedefined;
            e.name = name;
            return fail(e);
        }
    }
    m_interp->registered.push_back({name, Value::object(object), addMembers, {}});
    return true;
}

bool Engine::addAlias(const QString &alias, const QString &objectName, const QString &member)
{
    for (Interp::Registered &r : m_interp->registered) {
        if (r.name.compare(objectName, Qt::CaseInsensitive) == 0 && r.object.asObject()->memberId(member) > 0) {
            r.aliases.insert(alias.toLower(), member);
            return true;
        }
    }
    ScriptError e;
    e.number = err::InvalidCall;
    e.name = objectName + QLatin1Char('.') + member;
    return fail(e);
}

// The last guard: an allocation that nothing could serve ends the run with 7 Out of memory
// instead of the process. Checks before the large allocations catch the usual cases.
template <typename Work>
bool Engine::guarded(Work work)
{
    try {
        return work();
    } catch (const std::bad_alloc &) {
        m_interp->abandonRun();
        ScriptError e;
        e.number = err::OutOfMemory;
        return fail(e);
    }
}

bool Engine::addCode(const QString &code)
{
    return guarded([&] { return addCodeUnguarded(code); });
}

bool Engine::addCodeUnguarded(const QString &code)
{
    Interp &I = *m_interp;
    Unit unit;
    ScriptError error;
    I.beginRun(m_timeout);
    const bool compiled = parse(I, code, unit, error) && compileUnit(I, unit, error);
    if (!compiled) {
        I.endRun();
        return fail(error);
    }
    FrameScope scope(I.frame, &I.globalFrame);
    I.globalFrame.resumeNext = false;
    return finish(I.execBlock(unit.top) != Flow::Error);
}

bool Engine::check(const QString &code)
{
    return guarded([&] {
        Interp &I = *m_interp;
        Unit unit;
        ScriptError error;
        I.beginRun(m_timeout);
        const bool compiled = parse(I, code, unit, error) && compileUnit(I, unit, error);
        I.endRun();
        return compiled || fail(error);
    });
}

bool Engine::end()
{
    return guarded([&] {
        Interp &I = *m_interp;
        I.continueRun(m_timeout);
        FrameScope scope(I.frame, &I.globalFrame);
        I.releaseGlobals();
        return finish(!I.hasError());
    });
}

bool Engine::run(const QString &procedure, const QList<Value> &args, Value *result)
{
    return guarded([&] { return runUnguarded(procedure, args, result); });
}

bool Engine::runUnguarded(const QString &procedure, const QList<Value> &args, Value *result)
{
    Interp &I = *m_interp;
    GlobalEntry *entry = I.global(procedure);
    if (!entry || entry->kind != GlobalEntry::Procedure) {
        ScriptError e;
        e.number = err::NotDefined;
        e.name = procedure;
        return fail(e);
    }
    QList<Value> values = args;
    std::vector<Value *> ptrs;
    for (Value &v : values)
        ptrs.push_back(&v);
    I.beginRun(m_timeout);
    Value out;
    bool ok;
    {
        FrameScope scope(I.frame, &I.globalFrame);
        ok = I.callProc(entry->proc, Args{ptrs.data(), int(ptrs.size())}, &out);
    }
    if (ok && result)
        *result = std::move(out);
    return finish(ok);
}

} // namespace vbs
