#pragma once

#include <QString>

#include "engine.h"

// The script engine as the run routine drives it: the settings Language and Timeout, the
// operations Reset, AddObject, AddCode and Run, and the last error's Number and
// Description (with the line and column where the engine knows them).
class ScriptControl {
public:
    struct Error {
        int Number = 0;
        QString Description;
        int Line = 0;
        int Column = 0;
    };

    ScriptControl();

    QString Language() const { return m_engine.language(); }
    bool setLanguage(const QString &language);
    qint64 Timeout() const { return m_engine.timeout(); }
    void setTimeout(qint64 milliseconds) { m_engine.setTimeout(milliseconds); }
    void setHost(vbs::Host *host) { m_engine.setHost(host); }
    void registerClass(const QString &progId, vbs::ClassFactory factory) { m_engine.registerClass(progId, std::move(factory)); }

    void Reset();
    bool AddObject(const QString &name, vbs::Object *object, bool addMembers);
    // Another name for a member of an added object (see vbs::Engine::addAlias).
    bool AddAlias(const QString &alias, const QString &objectName, const QString &member);
    bool AddCode(const QString &code);
    bool Run(const QString &procedure);
    // True while a script runs (and perhaps waits in a dialog or processes events).
    bool isRunning() const { return m_engine.isRunning(); }

    const Error &error() const { return m_error; }

private:
    bool failed();

    vbs::Engine m_engine;
    Error m_error;
};
