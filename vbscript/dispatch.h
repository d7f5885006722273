#pragma once

#include <QHash>
#include <QString>
#include <unordered_set>
#include <initializer_list>
#include <vector>

#include "value.h"

namespace vbs {

class Context;

// How a member is reached: called, read, or assigned with Let (a value) or Set (an object).
// A statement call may be met by a method or a property read, so it asks for both.
enum Invoke : uint8_t {
    InvokeMethod = 1,
    InvokeGet = 2,
    InvokeLet = 4,
    InvokeSet = 8,
};

// Arguments by position. Each points at the caller's storage where the script passed a
// variable or array element (by reference), otherwise at a temporary. An omitted argument
// holds Value::missing(). For Let and Set the assigned value comes last.
struct Args {
    Value *const *items = nullptr;
    int count = 0;

    Value &operator[](int i) const { return *items[i]; }
    bool has(int i) const { return i < count && !items[i]->isMissing(); }
};

// Member id of an object's default member (obj(1), a value read of an object).
constexpr int DefaultMember = 0;
constexpr int NoMember = -1;

// Everything a script can hold as an object implements this: script classes, Err, the
// runner's WScript, host objects such as the command object, library objects. Resolve a
// name to an id once, then invoke by id.
class Object {
public:
    virtual ~Object() = default;

    void addRef() { ++m_refs; }
    void release()
    {
        if (--m_refs == 0)
            reclaim(this);
    }
    int refCount() const { return m_refs; }

    // TypeName() of the object.
    virtual QString typeName() const = 0;
    // Member id for a name in any letter case: >= 1, DefaultMember, or NoMember.
    virtual int memberId(const QString &name) = 0;
    // Calls the member. On failure raise through the context and return false.
    virtual bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) = 0;
    // For Each: the items to visit. By default an object is not a collection.
    virtual bool enumerate(Context &cx, std::vector<Value> &items);
    // Objects whose member ids mean the same share a key, so a call site can cache ids.
    virtual const void *memberKey() const { return this; }

protected:
    // Runs when the last reference goes (Class_Terminate runs here for script classes).
    virtual void lastReferenceGone() { delete this; }
    // Gives back a reference taken by the object itself, without ending its life.
    int dropReference() { return --m_refs; }

private:
    // Ends an object's life. Objects that go because another one went (a long chain of
    // linked objects) are ended one after the other, not inside each other, so that no
    // chain is long enough to exhaust the stack.
    static void reclaim(Object *object);

    int m_refs = 0;
};

// An object that holds script values of its own (a Dictionary, a collection), and so can
// hold itself through a cycle (d.Add 1, d). The program tracks the containers it makes;
// those still alive at its end are in such a cycle, and let go of their values so that
// the memory comes back, as script objects in cycles do.
class Container : public Object {
public:
    ~Container() override
    {
        if (m_tracker)
            m_tracker->erase(this);
    }
    virtual void dropValues() = 0;
    void track(std::unordered_set<Container *> *tracker)
    {
        m_tracker = tracker;
        tracker->insert(this);
    }
    void untrack() { m_tracker = nullptr; }

private:
    std::unordered_set<Container *> *m_tracker = nullptr;
};

// A host object's member names; ids are the positions from 1, compared in any letter case.
class MemberTable {
public:
    MemberTable(std::initializer_list<const char *> names)
    {
        int id = 0;
        for (const char *n : names)
            m_ids.insert(QString::fromLatin1(n).toLower(), ++id);
    }
    int id(const QString &name) const { return m_ids.value(name.toLower(), NoMember); }

private:
    QHash<QString, int> m_ids;
};

} // namespace vbs
