#pragma once

#include <QString>

// Where the command object reports a failure: the main window's status line (text set,
// status timer started), or stderr in the console runner.
class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void writeStatus(const QString &message) = 0;
};
