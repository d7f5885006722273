#pragma once

#include <QStringList>
#include <cstdio>

#include "dispatch.h"

// The console host's WScript object: Echo, Quit, Arguments, the standard streams, Sleep.
class WScriptObject : public vbs::Object {
public:
    WScriptObject(const QString &scriptPath, const QStringList &arguments);
    ~WScriptObject() override;

    QString typeName() const override { return QStringLiteral("Object"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;

    bool quitRequested() const { return m_quit; }
    int exitCode() const { return m_exitCode; }

private:
    QString m_path;
    vbs::Value m_arguments;
    vbs::Value m_stdout, m_stderr, m_stdin;
    bool m_quit = false;
    int m_exitCode = 0;
};

// A text stream over one of the process's standard streams.
class ConsoleStream : public vbs::Object {
public:
    explicit ConsoleStream(FILE *file) : m_file(file) {}
    QString typeName() const override { return QStringLiteral("TextStream"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;

private:
    FILE *m_file;
    int m_line = 1;
};
