#include "scriptcontrol.h"

#include "winenv.h"

ScriptControl::ScriptControl()
{
    // The library objects of a Windows machine that scripts reach for.
    winenv::registerObjects([this](const QString &progId, vbs::ClassFactory factory) {
        m_engine.registerClass(progId, std::move(factory));
    });
    winenv::registerMonikers([this](const QString &scheme, vbs::MonikerFactory factory) {
        m_engine.registerMoniker(scheme, std::move(factory));
    });
}

bool ScriptControl::setLanguage(const QString &language)
{
    return m_engine.setLanguage(language) || failed();
}

void ScriptControl::Reset()
{
    m_engine.reset();
    m_error = Error();
}

bool ScriptControl::AddObject(const QString &name, vbs::Object *object, bool addMembers)
{
    return m_engine.addObject(name, object, addMembers) || failed();
}

bool ScriptControl::AddAlias(const QString &alias, const QString &objectName, const QString &member)
{
    return m_engine.addAlias(alias, objectName, member) || failed();
}

bool ScriptControl::AddCode(const QString &code)
{
    return m_engine.addCode(code) || failed();
}

bool ScriptControl::Run(const QString &procedure)
{
    return m_engine.run(procedure) || failed();
}

bool ScriptControl::failed()
{
    const vbs::ScriptError &e = m_engine.error();
    m_error = {e.number, e.description, e.line, e.column};
    return false;
}
