#pragma once

#include "dispatch.h"
#include "errors.h"

namespace vbs {

// The Err object: the last trapped error, Raise and Clear.
class ErrObject : public Object {
public:
    QString typeName() const override { return QStringLiteral("ErrObject"); }
    int memberId(const QString &name) override;
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;

    void set(const ScriptError &error);
    bool raise(Context &cx, Args args);
    void clear() { m_error = ScriptError(); }
    const ScriptError &error() const { return m_error; }

protected:
    void lastReferenceGone() override {} // owned by the interpreter

private:
    ScriptError m_error;
};

} // namespace vbs
