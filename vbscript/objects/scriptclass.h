#pragma once

#include <vector>

#include "ast.h"
#include "dispatch.h"

namespace vbs {

class Interp;

// An instance of a class defined by the script: its fields, and its methods and
// properties run by the interpreter with Me bound to it.
class ScriptObject : public Object {
public:
    ScriptObject(Interp &interp, ClassDef *cls);
    ~ScriptObject() override;

    QString typeName() const override { return m_class->name; }
    int memberId(const QString &name) override { return m_class->memberId(name, false); }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;
    const void *memberKey() const override { return m_class; }

    // Makes the fields (arrays with their bounds) and runs Class_Initialize.
    bool initialize();
    Value *field(int index) { return &m_fields[size_t(index)]; }
    // The storage of the field of that name (a member that is a plain field, not a
    // property), or null; private fields only from inside the class.
    Value *fieldNamed(const QString &name, bool insideClass);
    // The program went away: no Class_Terminate can run any more.
    void orphan() { m_interp = nullptr; }
    // Lets go of what the fields hold: how objects that refer to each other are freed once
    // the program has gone.
    void dropFields() { std::vector<Value>().swap(m_fields); }

protected:
    void lastReferenceGone() override;

private:
    void runTerminate();

    Interp *m_interp;
    ClassDef *m_class;
    std::vector<Value> m_fields;
    bool m_terminated = false;
};

} // namespace vbs
