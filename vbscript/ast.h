#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <memory>
#include <vector>

#include "dispatch.h"
#include "value.h"

// The syntax tree, which is also what runs: the parser builds nodes with names in them,
// the compiler (resolve) replaces every name by what it stands for (a local slot, a global,
// a constant, a procedure, a built-in, a member of a registered object), and the
// interpreter walks the resolved tree.
namespace vbs {

class Interp;
class Resolver;
struct Proc;
struct ClassDef;
struct GlobalEntry;
struct Builtin;

// Names in the order they were declared, found in any letter case without a scan.
class NameList {
public:
    int indexOf(const QString &name) const { return m_index.value(name.toLower(), -1); }
    bool contains(const QString &name) const { return m_index.contains(name.toLower()); }
    // Appends the name; a name met again keeps its first index.
    int add(const QString &name)
    {
        const int i = int(m_names.size());
        m_names.append(name);
        m_index.insert(name.toLower(), i);
        return i;
    }
    int size() const { return int(m_names.size()); }
    const QString &operator[](int i) const { return m_names[i]; }
    auto begin() const { return m_names.begin(); }
    auto end() const { return m_names.end(); }

private:
    QStringList m_names;
    QHash<QString, int> m_index;
};

// Array subscripts of one access: a few, kept on the stack.
using Subscripts = QVarLengthArray<int32_t, 8>;

struct Node {
    int line = 0;
    int column = 0;
    virtual ~Node() = default;
};

struct Expr : Node {
    // What the interpreter may read without a virtual call: a local slot, a global, or a
    // value held by the node itself (literals and constants). Set by the node's class.
    enum class Access : uint8_t { Other, Local, Global, Held };
    Access access = Access::Other;
    // Evaluating it runs no script code, so a peeked value cannot change meanwhile.
    bool simple = false;
    // Always a new value, never storage: passed by reference, it is passed by value.
    bool computed = false;
    // Arithmetic, comparisons and logic on variables, literals and array elements: it may
    // be evaluated as a Scalar first.
    bool arithmetic = false;

    // Evaluates into out; false with the interpreter's error set.
    virtual bool eval(Interp &I, Value &out) = 0;
    // For an arithmetic expression: its value when every operand is an Integer, a Long, a
    // Double or a Boolean and the result needs no error; else none. Either way it runs no
    // script code and changes nothing, so a none costs only the time it took.
    virtual Scalar scalar(Interp &) { return Scalar::none(); }
    // eval without trying the scalar way first: it was tried higher up already.
    virtual bool evalInFull(Interp &I, Value &out) { return eval(I, out); }
    // Storage the expression names, for by-reference passing; nullptr for a value.
    virtual Value *ref(Interp &) { return nullptr; }
    // The variable's own storage when a plain assignment may write it directly.
    virtual Value *plainRef(Interp &) { return nullptr; }
    // Like ref, for an argument: an array element keeps its array alive and locked in `locked`.
    virtual Value *argRef(Interp &I, std::vector<Value> &) { return ref(I); }
    // Evaluates without copying where the value already lives somewhere (variables,
    // literals); otherwise into tmp. The pointer is valid until the next evaluation.
    virtual bool peek(Interp &I, const Value *&out, Value &tmp)
    {
        out = &tmp;
        return eval(I, tmp);
    }
    bool isSimple() const { return simple; }
    // Assignment to the expression (Let, or Set when isSet).
    virtual bool assign(Interp &I, Value &&v, bool isSet);
    // As a statement: a call whose result is dropped.
    virtual bool call(Interp &I);
    // As the condition of If, Do or While: True or False, Null counting as False.
    virtual bool test(Interp &I, bool &out);
    virtual Expr *resolve(Resolver &) { return this; }
    // The name as the script wrote it, for error descriptions ("Type mismatch: 'x'").
    virtual QString written() const { return QString(); }
};

enum class Flow : uint8_t { Normal, Error, ExitDo, ExitFor, ExitProc };

struct Stmt : Node {
    virtual Flow exec(Interp &I) = 0;
    virtual void resolve(Resolver &) {}
};

using Block = std::vector<Stmt *>;

// ---- Expressions as parsed -------------------------------------------------------------

// A value the node holds itself: a literal, or a constant once resolved.
struct HeldValue : Expr {
    HeldValue()
    {
        access = Access::Held;
        simple = true;
        arithmetic = true;
    }
    Value value;
    bool eval(Interp &, Value &out) override { out = value; return true; }
    bool peek(Interp &, const Value *&out, Value &) override { out = &value; return true; }
};

struct Literal : HeldValue {};

struct ObjectRef : Literal { // a registered object by its name
    QString name;
    QString written() const override { return name; }
};

struct Name : Expr { // a bare name, before resolution
    QString name;
    bool declares = false; // ReDim and For declare an undeclared name even under Option Explicit
    bool eval(Interp &I, Value &out) override;
    Expr *resolve(Resolver &R) override;
    QString written() const override { return name; }
};

struct Paren : Expr { // (expr): always a value, never by reference
    Expr *inner = nullptr;
    bool eval(Interp &I, Value &out) override;
    Expr *resolve(Resolver &R) override;
};

struct ArgList {
    std::vector<Expr *> items; // nullptr for an omitted argument
    void resolveAll(Resolver &R);
};

struct Index : Expr { // base(args): a call, an array element, or a default member
    Expr *base = nullptr;
    ArgList args;
    // (f)(x): the name was in parentheses. It calls f with x, but a Function that takes no
    // arguments is called first and its result indexed, as (F)(0) always read.
    bool nameInParens = false;
    bool eval(Interp &I, Value &out) override;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    bool call(Interp &I) override;
    Expr *resolve(Resolver &R) override;
    QString written() const override;
};

struct Member : Expr { // object.name or object.name(args)
    Expr *object = nullptr;
    QString name;
    ArgList args;
    bool hasArgs = false;
    // The member id found last, for objects with that member key.
    const void *cachedKey = nullptr;
    int cachedId = NoMember;
    bool eval(Interp &I, Value &out) override;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    bool call(Interp &I) override;
    Expr *resolve(Resolver &R) override;
    QString written() const override;
    bool invoke(Interp &I, Invoke kind, Value *assigned, Value &out);
};

struct Unary : Expr {
    Unary() { computed = true; }
    enum Op : uint8_t { Neg, Not, Plus } op;
    Expr *operand = nullptr;
    Scalar scalar(Interp &I) override;
    bool eval(Interp &I, Value &out) override;
    bool evalInFull(Interp &I, Value &out) override;
    Expr *resolve(Resolver &R) override;
};

enum class BinOp : uint8_t {
    Add, Sub, Mul, Div, IntDiv, Mod, Pow, Concat,
    Eq, Ne, Lt, Gt, Le, Ge, Is,
    And, Or, Xor, Eqv, Imp,
};

struct Binary : Expr {
    Binary() { computed = true; }
    BinOp op;
    bool longChain = false; // the top of a long left-nested chain, evaluated in a loop
    bool comparesBoth = false; // And/Or of two comparisons: a condition tests each side
    Expr *lhs = nullptr;
    Expr *rhs = nullptr;
    bool eval(Interp &I, Value &out) override;
    bool evalChain(Interp &I, Value &out);
    Expr *resolve(Resolver &R) override;
    // The operator on two values.
    [[gnu::always_inline]] inline bool apply(Interp &I, const Value &a, const Value &b, Value &out) const;
    [[gnu::noinline]] bool applyGeneral(Interp &I, const Value &a, const Value &b, Value &out) const;
    // Once its operands are resolved: a node of a class made for this operator and these
    // kinds of operand (the arithmetic, comparison and logical operators), or this one.
    Binary *specialised(Interp &I);
};

struct NewObject : Expr {
    QString className;
    GlobalEntry *entry = nullptr; // found when compiled, or when it first runs
    bool eval(Interp &I, Value &out) override;
    Expr *resolve(Resolver &R) override;
};

struct MeExpr : Expr {
    bool eval(Interp &I, Value &out) override;
};

// ---- Resolved expressions --------------------------------------------------------------

struct LocalVar : Expr {
    LocalVar()
    {
        access = Access::Local;
        simple = true;
        arithmetic = true;
    }
    bool peek(Interp &I, const Value *&out, Value &tmp) override;
    Value *plainRef(Interp &I) override;
    int slot = 0;
    QString name;
    bool eval(Interp &I, Value &out) override;
    Value *ref(Interp &I) override;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    bool call(Interp &I) override;
    QString written() const override { return name; }
};

struct GlobalVar : Expr {
    GlobalVar()
    {
        access = Access::Global;
        simple = true;
        arithmetic = true;
    }
    bool peek(Interp &I, const Value *&out, Value &tmp) override;
    Value *plainRef(Interp &I) override;
    GlobalEntry *entry = nullptr;
    QString name;
    bool eval(Interp &I, Value &out) override;
    Value *ref(Interp &I) override;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    bool call(Interp &I) override;
    QString written() const override { return name; }
};

struct ConstRef : HeldValue { // a named constant: reads as its value, refuses assignment
    QString name;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    QString written() const override { return name; }
};

// A name that Option Explicit leaves undeclared when it is compiled. It is looked for when
// the statement runs, against everything that exists by then: the include idiom defines
// procedures and variables with ExecuteGlobal before the script uses them. Until the name
// exists, every use raises 500 Variable is undefined.
struct Undefined : GlobalVar {
    Undefined()
    {
        access = Access::Other;
        simple = false;
        arithmetic = false;
    }
    bool known(Interp &I) const;
    bool peek(Interp &I, const Value *&out, Value &tmp) override;
    Value *plainRef(Interp &) override { return nullptr; }
    bool eval(Interp &I, Value &out) override;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    bool call(Interp &I) override;
    Value *ref(Interp &I) override;
};

struct ArgValues; // evaluated arguments, see interpreter.h

struct ProcCall : Expr { // a script Sub or Function, by name
    GlobalEntry *entry = nullptr;
    ArgList args;
    QString name;
    bool eval(Interp &I, Value &out) override;
    bool call(Interp &I) override;
    QString written() const override { return name; }
};

struct BuiltinCall : Expr {
    const Builtin *fn = nullptr;
    ArgList args;
    QString name;
    bool eval(Interp &I, Value &out) override;
    bool call(Interp &I) override;
    QString written() const override { return name; }
};

struct HostMember : Expr { // a member of a registered object, by its bare name
    Object *object = nullptr;
    QString objectName;
    int id = NoMember;
    ArgList args;
    QString name;
    bool eval(Interp &I, Value &out) override;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    bool call(Interp &I) override;
    QString written() const override { return name; }
};

struct ElementOf : Expr { // variable(args): an array element or the default member of an object
    Expr *var = nullptr; // LocalVar, GlobalVar or Undefined
    // For a global: a procedure of that name may be defined later (ExecuteGlobal).
    GlobalEntry *global = nullptr;
    bool callLateProcedure(Interp &I, Value *out);
    ArgList args;
    bool eval(Interp &I, Value &out) override;
    Value *argRef(Interp &I, std::vector<Value> &locked) override;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    bool call(Interp &I) override;
    QString written() const override { return var->written(); }
    bool subscripts(Interp &I, Subscripts &out);
    // The node for var(args): for a variable with one subscript, of a class made for where
    // the variable and the subscript come from; else this one.
    static ElementOf *make(Interp &I, Expr *var, const ArgList &args);
};

struct ClassMemberRef : Expr { // inside a class: a member of Me by its bare name
    QString name;
    ArgList args;
    bool hasArgs = false;
    int id = NoMember;
    // The field of Me this names, or nullptr (a method, a property, or with arguments).
    Value *field(Interp &I) const;
    Scalar scalar(Interp &I) override;
    bool eval(Interp &I, Value &out) override;
    Value *ref(Interp &I) override;
    bool assign(Interp &I, Value &&v, bool isSet) override;
    bool call(Interp &I) override;
    QString written() const override { return name; }
};

// ---- Statements ------------------------------------------------------------------------

struct ExprStmt : Stmt { // a call statement
    Expr *expr = nullptr;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct Assign : Stmt {
    Expr *target = nullptr;
    Expr *value = nullptr;
    bool isSet = false;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
    // A Let into a local or global variable, as a statement of its own class (after
    // resolving): the variable found without a virtual call.
    Stmt *specialised(Interp &I);
};

// s = s & a & b ..., the target first in the chain: the pieces are appended to the string
// in place, so that building a text in a loop takes time in proportion to its length. The
// target is a variable, a field (buf, Me.buf, o.buf) or an element with simple subscripts
// (arr(i)); where it holds no string, or is a property, the statement runs as written.
struct AppendAssign : Stmt {
    Expr *target = nullptr;
    std::vector<Expr *> pieces;
    Flow exec(Interp &I) override;

private:
    Value *storage(Interp &I, Value &hold);
};

struct DimStmt : Stmt { // Dim/ReDim with bounds: (re)creates arrays when it runs
    struct Var {
        Expr *target = nullptr;
        std::vector<Expr *> bounds;
        bool hasBounds = false;
    };
    std::vector<Var> vars;
    bool isReDim = false;
    bool preserve = false;
    Flow exec(Interp &I) override;
    // ReDim Preserve where the storage can stay: Failed with the error set (no memory).
    enum class Resize : uint8_t { NotInPlace, Done, Failed };
    static Resize resizeInPlace(Interp &I, Value &target, const Subscripts &counts, int64_t total);
    void resolve(Resolver &R) override;
};

struct EraseStmt : Stmt {
    std::vector<Expr *> targets;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct IfStmt : Stmt {
    struct Branch {
        Expr *cond = nullptr;
        Block body;
    };
    std::vector<Branch> branches;
    Block elseBody;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct SelectStmt : Stmt {
    struct Case {
        std::vector<Expr *> values;
        Block body;
    };
    Expr *subject = nullptr;
    std::vector<Case> cases;
    Block elseBody;
    bool hasElse = false;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct ForStmt : Stmt {
    Expr *var = nullptr;
    Expr *from = nullptr;
    Expr *to = nullptr;
    Expr *step = nullptr;
    Block body;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct ForEachStmt : Stmt {
    Expr *var = nullptr;
    Expr *collection = nullptr;
    Block body;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct DoStmt : Stmt {
    Expr *preCond = nullptr;
    bool preUntil = false;
    Expr *postCond = nullptr;
    bool postUntil = false;
    Block body;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct ExitStmt : Stmt {
    Flow flow = Flow::ExitProc;
    Flow exec(Interp &I) override;
};

struct OnErrorStmt : Stmt {
    bool resumeNext = false;
    Flow exec(Interp &I) override;
};

struct RandomizeStmt : Stmt {
    Expr *seed = nullptr;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct WithStmt : Stmt {
    Expr *holder = nullptr; // hidden variable that holds the object
    Expr *object = nullptr;
    Block body;
    Flow exec(Interp &I) override;
    void resolve(Resolver &R) override;
};

struct NoOp : Stmt {
    Flow exec(Interp &) override { return Flow::Normal; }
};

// ---- Procedures and classes ------------------------------------------------------------

struct Param {
    QString name;
    bool byRef = true;
};

enum class ProcKind : uint8_t { Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct Proc {
    QString name;
    ProcKind kind = ProcKind::Sub;
    bool isPublic = true;
    bool isDefault = false;
    std::vector<Param> params;
    Block body;
    ClassDef *cls = nullptr;
    int line = 0;
    // Local slots: 0 is the result, params follow, then Dim'd and implicit locals.
    NameList slotNames;
    std::vector<std::pair<QString, Expr *>> consts;      // Const: values known at compile time
    QHash<QString, Value> constValues;
    // Undeclared names the procedure uses: its local slot, and the global of that name that
    // takes the slot's place in a run where the global exists.
    std::vector<std::pair<int, GlobalEntry *>> implicitGlobals;
    int hiddenSlots = 0;
    int slotCount() const { return int(slotNames.size()); }
    bool returnsValue() const { return kind == ProcKind::Function || kind == ProcKind::PropertyGet; }
};

struct ClassDef {
    QString name;
    struct Field {
        QString name;
        bool isPublic = true;
        std::vector<Expr *> bounds; // Dim a(3) inside a class
        bool hasBounds = false;     // an array: fixed with bounds, dynamic without (Dim a())
    };
    std::vector<Field> fields;
    std::vector<Proc *> methods; // Subs and Functions
    std::vector<Proc *> properties;
    Proc *initialize = nullptr;
    Proc *terminate = nullptr;
    // Member ids: fields 1..n, then one id per method or property name.
    struct MemberInfo {
        QString name;
        int field = -1;
        Proc *method = nullptr;
        Proc *get = nullptr;
        Proc *let = nullptr;
        Proc *set = nullptr;
        bool isPublic = true;
    };
    std::vector<MemberInfo> members; // index = id - 1
    NameList memberNames;            // the same order
    int defaultId = NoMember;
    int memberId(const QString &name, bool insideClass) const;
};

} // namespace vbs
