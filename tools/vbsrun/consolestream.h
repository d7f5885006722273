#pragma once

#include <QString>
#include <cstdio>

#include "dispatch.h"

// The console's output as the host writes it: UTF-8, or UTF-16LE under //U.
class ConsoleOutput {
public:
    static void setUtf16(bool on);
    // With the script's context, a write that cannot go on (a reader that does not read)
    // waits against the time limit, and one that fails (a full disk, a closed pipe) raises
    // 57 with the reason; false then.
    static bool write(FILE *file, const QString &text, vbs::Context *cx = nullptr);
};

// WScript.StdIn, StdOut and StdErr: text streams over the process's standard streams.
// StdIn is only read, the others only written (54 Bad file mode otherwise).
class ConsoleStream : public vbs::Object {
public:
    explicit ConsoleStream(FILE *file) : m_file(file) {}
    QString typeName() const override { return QStringLiteral("TextStream"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;

private:
    bool read(vbs::Context &cx, int id, vbs::Args args, vbs::Value &result);
    // Keeps Line and Column in step with what was read.
    void count(const QByteArray &text);

    FILE *m_file;
    int m_line = 1;
    int m_column = 1;
};
