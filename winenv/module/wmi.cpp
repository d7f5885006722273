#include "wmi.h"

#include <QDateTime>
#include <QHostInfo>
#include <QRegularExpression>
#include <QTimeZone>

#include "convert.h"
#include "processes.h"

using namespace vbs;

namespace winenv::wmi {

namespace {

constexpr int32_t WbemNotFound = int32_t(0x80041002);
constexpr int32_t WbemInvalidNamespace = int32_t(0x8004100E);
constexpr int32_t WbemInvalidClass = int32_t(0x80041010);
constexpr int32_t WbemNotSupported = int32_t(0x8004100C);
constexpr int32_t WbemInvalidQuery = int32_t(0x80041017);
constexpr int32_t WbemAccessDenied = int32_t(0x80041003);
constexpr int32_t WbemInvalidParameter = int32_t(0x80041008);
constexpr int32_t RemoteServerUnavailable = 462;

QString hostName()
{
    static const QString name = QHostInfo::localHostName().section(QLatin1Char('.'), 0, 0).toUpper();
    return name;
}

bool isLocal(const QString &server)
{
    const QString s = server.trimmed();
    return s.isEmpty() || s == QLatin1String(".") || s.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
           || s == QLatin1String("127.0.0.1") || s.compare(hostName(), Qt::CaseInsensitive) == 0
           || s.compare(QHostInfo::localHostName(), Qt::CaseInsensitive) == 0;
}

bool checkNamespace(Context &cx, const QString &ns)
{
    QString n = ns.trimmed();
    n.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (n.isEmpty() || n.compare(QLatin1String("root\\cimv2"), Qt::CaseInsensitive) == 0)
        return true;
    return cx.raise(WbemInvalidNamespace, QStringLiteral("Invalid namespace: %1 (only root\\cimv2 is answered here)").arg(ns));
}

// ---- WQL ---------------------------------------------------------------------------------

struct Token {
    enum Kind { Word, Text, Number, Op, Open, Close, Comma, Star, End } kind = End;
    QString text;
    double number = 0;
};

bool tokenize(const QString &q, std::vector<Token> &out)
{
    for (qsizetype i = 0; i < q.size();) {
        const QChar c = q[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        if (c.isLetter() || c == QLatin1Char('_')) {
            qsizetype j = i;
            while (j < q.size() && (q[j].isLetterOrNumber() || q[j] == QLatin1Char('_')))
                ++j;
            t = {Token::Word, q.mid(i, j - i)};
            i = j;
        } else if (c.isDigit() || (c == QLatin1Char('-') && i + 1 < q.size() && q[i + 1].isDigit())) {
            qsizetype j = i + 1;
            while (j < q.size() && (q[j].isDigit() || q[j] == QLatin1Char('.')))
                ++j;
            t = {Token::Number, q.mid(i, j - i)};
            bool ok = false;
            t.number = t.text.toDouble(&ok);
            if (!ok)
                return false;
            i = j;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            QString text;
            for (; j < q.size() && q[j] != c; ++j) {
                if (q[j] == QLatin1Char('\\') && j + 1 < q.size()) // \' and \\ inside a literal
                    ++j;
                text += q[j];
            }
            if (j >= q.size())
                return false;
            t = {Token::Text, text};
            i = j + 1;
        } else if (c == QLatin1Char('(')) {
            t = {Token::Open, QStringLiteral("(")};
            ++i;
        } else if (c == QLatin1Char(')')) {
            t = {Token::Close, QStringLiteral(")")};
            ++i;
        } else if (c == QLatin1Char(',')) {
            t = {Token::Comma, QStringLiteral(",")};
            ++i;
        } else if (c == QLatin1Char('*')) {
            t = {Token::Star, QStringLiteral("*")};
            ++i;
        } else if (QStringLiteral("=<>!").contains(c)) {
            qsizetype j = i + 1;
            if (j < q.size() && QStringLiteral("=>").contains(q[j]))
                ++j;
            t = {Token::Op, q.mid(i, j - i)};
            if (t.text == QLatin1String("!"))
                return false;
            i = j;
        } else {
            return false;
        }
        out.push_back(t);
    }
    out.push_back(Token{});
    return true;
}

// A WHERE condition as a tree.
struct Condition {
    enum Kind { And, Or, Not, Compare, IsNull, IsNotNull, Like } kind = Compare;
    std::unique_ptr<Condition> left, right;
    QString property, op;
    Value literal;
    bool propertyOnRight = false; // 5 < Priority
};

struct Query {
    QString className;
    QStringList selected; // empty: *
    std::unique_ptr<Condition> where;
};

class QueryParser {
public:
    explicit QueryParser(std::vector<Token> tokens) : t(std::move(tokens)) {}
    bool parse(Query &q)
    {
        if (!keyword("SELECT"))
            return false;
        if (at(Token::Star)) {
            ++p;
        } else {
            do {
                if (!at(Token::Word))
                    return false;
                q.selected << t[p++].text;
            } while (accept(Token::Comma));
        }
        if (!keyword("FROM") || !at(Token::Word))
            return false;
        q.className = t[p++].text;
        if (keyword("WHERE") && !(q.where = orExpr()))
            return false;
        return at(Token::End);
    }

private:
    bool at(Token::Kind k) const { return t[p].kind == k; }
    bool accept(Token::Kind k) { return at(k) && ++p; }
    bool isWord(const char *w) const { return at(Token::Word) && t[p].text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0; }
    bool keyword(const char *w) { return isWord(w) && ++p; }
    std::unique_ptr<Condition> orExpr()
    {
        auto left = andExpr();
        while (left && keyword("OR")) {
            auto node = std::make_unique<Condition>();
            node->kind = Condition::Or;
            node->left = std::move(left);
            if (!(node->right = andExpr()))
                return nullptr;
            left = std::move(node);
        }
        return left;
    }
    std::unique_ptr<Condition> andExpr()
    {
        auto left = notExpr();
        while (left && keyword("AND")) {
            auto node = std::make_unique<Condition>();
            node->kind = Condition::And;
            node->left = std::move(left);
            if (!(node->right = notExpr()))
                return nullptr;
            left = std::move(node);
        }
        return left;
    }
    std::unique_ptr<Condition> notExpr()
    {
        if (keyword("NOT")) {
            auto node = std::make_unique<Condition>();
            node->kind = Condition::Not;
            if (!(node->left = notExpr()))
                return nullptr;
            return node;
        }
        if (accept(Token::Open)) {
            auto inner = orExpr();
            return inner && accept(Token::Close) ? std::move(inner) : nullptr;
        }
        return comparison();
    }
    bool literal(Value &out)
    {
        if (at(Token::Text)) {
            out = Value::string(t[p++].text);
            return true;
        }
        if (at(Token::Number)) {
            out = Value::dbl(t[p++].number);
            return true;
        }
        if (keyword("TRUE") || keyword("FALSE")) {
            out = Value::boolean(t[p - 1].text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0);
            return true;
        }
        if (keyword("NULL")) {
            out = Value::null();
            return true;
        }
        return false;
    }
    std::unique_ptr<Condition> comparison()
    {
        auto node = std::make_unique<Condition>();
        if (at(Token::Word) && !isWord("TRUE") && !isWord("FALSE") && !isWord("NULL")) {
            node->property = t[p++].text;
            if (keyword("IS")) {
                node->kind = keyword("NOT") ? Condition::IsNotNull : Condition::IsNull;
                return keyword("NULL") ? std::move(node) : nullptr;
            }
            if (keyword("LIKE")) {
                node->kind = Condition::Like;
                return at(Token::Text) && literal(node->literal) ? std::move(node) : nullptr;
            }
            if (!at(Token::Op))
                return nullptr;
            node->op = t[p++].text;
            return literal(node->literal) ? std::move(node) : nullptr;
        }
        if (!literal(node->literal) || !at(Token::Op))
            return nullptr;
        node->op = t[p++].text;
        node->propertyOnRight = true;
        if (!at(Token::Word))
            return nullptr;
        node->property = t[p++].text;
        return node;
    }
    std::vector<Token> t;
    size_t p = 0;
};

// Whether every property the query names belongs to the class.
bool knownProperties(const ClassInfo &cls, const Condition *c, QString &unknown)
{
    if (!c)
        return true;
    if (c->kind == Condition::And || c->kind == Condition::Or)
        return knownProperties(cls, c->left.get(), unknown) && knownProperties(cls, c->right.get(), unknown);
    if (c->kind == Condition::Not)
        return knownProperties(cls, c->left.get(), unknown);
    if (!cls.properties.contains(c->property, Qt::CaseInsensitive)) {
        unknown = c->property;
        return false;
    }
    return true;
}

QRegularExpression likePattern(const QString &pattern)
{
    QString rx = QStringLiteral("^");
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('%')) {
            rx += QLatin1String(".*");
        } else if (c == QLatin1Char('_')) {
            rx += QLatin1Char('.');
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = pattern.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0) {
                rx += QLatin1String("\\[");
                continue;
            }
            QString set = pattern.mid(i + 1, close - i - 1);
            if (set.startsWith(QLatin1Char('^')))
                set = QLatin1Char('^') + QRegularExpression::escape(set.mid(1)).replace(QLatin1String("\\-"), QLatin1String("-"));
            else
                set = QRegularExpression::escape(set).replace(QLatin1String("\\-"), QLatin1String("-"));
            rx += QLatin1Char('[') + set + QLatin1Char(']');
            i = close;
        } else {
            rx += QRegularExpression::escape(QString(c));
        }
    }
    return QRegularExpression(rx + QLatin1Char('$'), QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

// A process's name as a query means it: "firefox", "firefox.exe", and a Windows program
// by its name ("notepad.exe") for the desktop's counterparts (gedit, kate, ...).
bool processNameMatches(const QString &name, const QString &wanted)
{
    QString w = wanted;
    if (w.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        w.chop(4);
    if (name.compare(w, Qt::CaseInsensitive) == 0)
        return true;
    for (const QString &counterpart : platform::processes::counterparts(wanted))
        if (name.compare(counterpart, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int compareValues(const Value &a, const Value &b)
{
    // Numbers by value (uint64 properties come as text), text in any letter case.
    const bool aNumber = a.isNumeric() || a.type() == VType::Boolean, bNumber = b.isNumeric() || b.type() == VType::Boolean;
    if (aNumber || bNumber) {
        bool okA = true, okB = true;
        const double x = aNumber ? (a.type() == VType::Boolean ? (a.asBool() ? 1 : 0) : displayText(a).toDouble(&okA))
                                 : a.asString().toDouble(&okA);
        const double y = bNumber ? (b.type() == VType::Boolean ? (b.asBool() ? 1 : 0) : displayText(b).toDouble(&okB))
                                 : b.asString().toDouble(&okB);
        if (okA && okB)
            return x < y ? -1 : x > y ? 1 : 0;
    }
    return QString::compare(displayText(a), displayText(b), Qt::CaseInsensitive);
}

bool matches(const ClassInfo &cls, const Instance &row, const Condition *c)
{
    if (!c)
        return true;
    switch (c->kind) {
    case Condition::And: return matches(cls, row, c->left.get()) && matches(cls, row, c->right.get());
    case Condition::Or: return matches(cls, row, c->left.get()) || matches(cls, row, c->right.get());
    case Condition::Not: return !matches(cls, row, c->left.get());
    default: break;
    }
    const Value *v = row.find(c->property);
    const bool null = !v || v->isNull() || v->isEmpty();
    if (c->kind == Condition::IsNull)
        return null;
    if (c->kind == Condition::IsNotNull)
        return !null;
    if (null || c->literal.isNull())
        return false;
    const bool processName = cls.name == QLatin1String("Win32_Process")
                             && (c->property.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0
                                 || c->property.compare(QLatin1String("Caption"), Qt::CaseInsensitive) == 0);
    if (c->kind == Condition::Like) {
        const QRegularExpression rx = likePattern(c->literal.asString());
        const QString text = displayText(*v);
        return rx.match(text).hasMatch() || (processName && rx.match(text + QLatin1String(".exe")).hasMatch());
    }
    if (processName && (c->op == QLatin1String("=") || c->op == QLatin1String("<>") || c->op == QLatin1String("!="))
        && c->literal.isString()) {
        const bool same = processNameMatches(v->asString(), c->literal.asString());
        return c->op == QLatin1String("=") ? same : !same;
    }
    int r = compareValues(*v, c->literal);
    if (c->propertyOnRight)
        r = -r;
    const QString &op = c->op;
    if (op == QLatin1String("=")) return r == 0;
    if (op == QLatin1String("<>") || op == QLatin1String("!=")) return r != 0;
    if (op == QLatin1String("<")) return r < 0;
    if (op == QLatin1String(">")) return r > 0;
    if (op == QLatin1String("<=") || op == QLatin1String("=<")) return r <= 0;
    if (op == QLatin1String(">=") || op == QLatin1String("=>")) return r >= 0;
    return false;
}

// ---- the objects scripts hold ------------------------------------------------------------

QString relativePath(const ClassInfo &cls, const Instance *row)
{
    if (!row)
        return cls.name;
    if (cls.key.isEmpty())
        return cls.name + QLatin1String("=@");
    const Value *k = row->find(cls.key);
    const QString key = k ? displayText(*k) : QString();
    bool numeric = false;
    key.toLongLong(&numeric);
    return cls.name + QLatin1Char('.') + cls.key + QLatin1Char('=')
           + (numeric && cls.key != QLatin1String("Handle") ? key : QLatin1Char('"') + key + QLatin1Char('"'));
}

class SimpleObject : public Object {
public:
    QString m_typeName;
    QStringList m_names;
    std::vector<Value> m_values;
    bool m_settable = false;
    QString typeName() const override { return m_typeName; }
    int memberId(const QString &name) override
    {
        const int at = int(m_names.indexOf(name, Qt::CaseInsensitive));
        if (at >= 0)
            return at + 1;
        if (!m_settable)
            return NoMember;
        m_names << name;
        m_values.emplace_back();
        return int(m_names.size());
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        if (id == DefaultMember)
            id = 1;
        if (id < 1 || id > int(m_values.size()))
            return cx.raise(err::NoSuchMember);
        if (kind & (InvokeLet | InvokeSet)) {
            if (!m_settable)
                return cx.raise(err::NoSuchMember);
            m_values[size_t(id - 1)] = a[a.count - 1];
            return true;
        }
        result = m_values[size_t(id - 1)];
        return true;
    }
};

Value simple(const QString &typeName, std::initializer_list<std::pair<const char *, Value>> fields, bool settable = false)
{
    auto *o = new SimpleObject;
    o->m_typeName = typeName;
    o->m_settable = settable;
    for (const auto &f : fields) {
        o->m_names << QString::fromLatin1(f.first);
        o->m_values.push_back(f.second);
    }
    return Value::object(o);
}

class ObjectList : public Object {
public:
    ObjectList(QString typeName, std::vector<Value> items, QStringList names = {})
        : m_typeName(std::move(typeName)), m_items(std::move(items)), m_names(std::move(names)) {}
    QString typeName() const override { return m_typeName; }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Count", "Item", "ItemIndex"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        if (id == DefaultMember)
            id = 2;
        if (id == 1) {
            result = Value::lng(int32_t(m_items.size()));
            return a.count == 0 || cx.raise(err::WrongArgs);
        }
        if (a.count < 1)
            return cx.raise(err::WrongArgs);
        if (id == 3 || (id == 2 && a[0].isNumeric() && m_names.isEmpty())) {
            int32_t i;
            if (!toLong(cx, a[0], i))
                return false;
            if (i < 0 || size_t(i) >= m_items.size())
                return cx.raise(WbemNotFound, QStringLiteral("Not found"));
            result = m_items[size_t(i)];
            return true;
        }
        QString name;
        if (!toText(cx, a[0], name))
            return false;
        const int at = int(m_names.indexOf(name, Qt::CaseInsensitive));
        if (at < 0)
            return cx.raise(WbemNotFound, QStringLiteral("Not found"));
        result = m_items[size_t(at)];
        return true;
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        items = m_items;
        return true;
    }

private:
    QString m_typeName;
    std::vector<Value> m_items;
    QStringList m_names;
};

// An instance of a class, or the class itself (no instance): its properties by name, the
// members every WMI object has (Properties_, Path_, ...), and the class's methods.
class WbemObject : public Object {
public:
    WbemObject(const ClassInfo *cls, std::optional<Instance> row) : m_class(cls), m_row(std::move(row)) {}
    QString typeName() const override { return QStringLiteral("SWbemObjectEx"); }
    const void *memberKey() const override { return m_class; }
    int memberId(const QString &name) override
    {
        static const QStringList common{"Properties_", "Path_", "GetObjectText_", "Methods_", "Instances_",
                                        "Derivation_", "SystemProperties_", "__CLASS", "__PATH", "__RELPATH",
                                        "__SERVER", "__NAMESPACE", "Refresh_"};
        const int c = int(common.indexOf(name, Qt::CaseInsensitive));
        if (c >= 0)
            return 1000 + c;
        const int m = int(m_class->methods.indexOf(name, Qt::CaseInsensitive));
        if (m >= 0)
            return 2000 + m;
        const int p = int(m_class->properties.indexOf(name, Qt::CaseInsensitive));
        return p >= 0 ? p + 1 : NoMember;
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override;

private:
    QString fullPath() const
    {
        return QStringLiteral("\\\\%1\\root\\cimv2:%2").arg(hostName(), relativePath(*m_class, m_row ? &*m_row : nullptr));
    }
    QString mofText() const;
    const ClassInfo *m_class;
    std::optional<Instance> m_row;
};

QString mofValue(const Value &v)
{
    if (v.isArray()) {
        QStringList items;
        for (const Value &item : v.asArray()->data)
            items << mofValue(item);
        return QLatin1Char('{') + items.join(QLatin1String(", ")) + QLatin1Char('}');
    }
    if (v.isString())
        return QLatin1Char('"') + QString(v.asString()).replace(QLatin1String("\\"), QLatin1String("\\\\")).replace(QLatin1String("\""), QLatin1String("\\\"")) + QLatin1Char('"');
    if (v.type() == VType::Boolean)
        return v.asBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    return displayText(v);
}

QString WbemObject::mofText() const
{
    QString text = (m_row ? QStringLiteral("\ninstance of ") : QStringLiteral("\nclass ")) + m_class->name + QStringLiteral("\n{\n");
    if (m_row)
        for (const auto &p : m_row->properties)
            if (!p.second.isNull() && !p.second.isEmpty())
                text += QLatin1Char('\t') + p.first + QStringLiteral(" = ") + mofValue(p.second) + QStringLiteral(";\n");
    return text + QStringLiteral("};\n");
}

bool WbemObject::invoke(Context &cx, int id, Invoke kind, Args a, Value &result)
{
    if (kind & (InvokeLet | InvokeSet)) // the properties are read-only here (Put_ is not offered)
        return cx.raise(WbemNotSupported, QStringLiteral("Properties of WMI objects are read-only here"));
    if (id >= 2000)
        return callMethod(cx, *m_class, m_row ? &*m_row : nullptr, m_class->methods[id - 2000], a, result);
    if (id >= 1000) {
        switch (id - 1000) {
        case 0: case 6: { // Properties_, SystemProperties_
            std::vector<Value> props;
            QStringList names;
            for (const QString &name : m_class->properties) {
                const Value *v = m_row ? m_row->find(name) : nullptr;
                props.push_back(simple(QStringLiteral("SWbemProperty"),
                                       {{"Name", Value::string(name)}, {"Value", v ? *v : Value::null()},
                                        {"IsArray", Value::boolean(v && v->isArray())},
                                        {"Origin", Value::string(m_class->name)}, {"IsLocal", Value::boolean(true)}}));
                names << name;
            }
            result = Value::object(new ObjectList(QStringLiteral("SWbemPropertySet"), std::move(props), names));
            return true;
        }
        case 1: // Path_
            result = simple(QStringLiteral("SWbemObjectPath"),
                            {{"Path", Value::string(fullPath())}, {"RelPath", Value::string(relativePath(*m_class, m_row ? &*m_row : nullptr))},
                             {"Class", Value::string(m_class->name)}, {"Server", Value::string(hostName())},
                             {"Namespace", Value::string(QStringLiteral("root\\cimv2"))},
                             {"IsClass", Value::boolean(!m_row)}, {"DisplayName", Value::string(QStringLiteral("WINMGMTS:") + fullPath())}});
            return true;
        case 2: result = Value::string(mofText()); return true;
        case 3: { // Methods_
            std::vector<Value> methods;
            for (const QString &m : m_class->methods)
                methods.push_back(simple(QStringLiteral("SWbemMethod"), {{"Name", Value::string(m)}, {"Origin", Value::string(m_class->name)}}));
            result = Value::object(new ObjectList(QStringLiteral("SWbemMethodSet"), std::move(methods), m_class->methods));
            return true;
        }
        case 4: { // Instances_
            std::vector<Instance> rows;
            if (!m_class->instances(cx, rows))
                return false;
            std::vector<Value> items;
            for (Instance &r : rows)
                items.push_back(Value::object(new WbemObject(m_class, std::move(r))));
            result = Value::object(new ObjectList(QStringLiteral("SWbemObjectSet"), std::move(items)));
            return true;
        }
        case 5: result = Value::array(new ArrayData); return true; // Derivation_: no superclasses named
        case 7: result = Value::string(m_class->name); return true;
        case 8: result = Value::string(fullPath()); return true;
        case 9: result = Value::string(relativePath(*m_class, m_row ? &*m_row : nullptr)); return true;
        case 10: result = Value::string(hostName()); return true;
        case 11: result = Value::string(QStringLiteral("root\\cimv2")); return true;
        default: return true; // Refresh_: the values stay as they were read
        }
    }
    if (id == DefaultMember || id < 1 || id > m_class->properties.size())
        return cx.raise(err::NoSuchMember);
    if (!m_row) {
        result = Value::null();
        return true;
    }
    const Value *v = m_row->find(m_class->properties[id - 1]);
    result = v ? *v : Value::null();
    return a.count == 0 || cx.raise(err::WrongArgs);
}

bool runQuery(Context &cx, const QString &text, Value &result)
{
    static const QRegularExpression unsupported(
        QStringLiteral("^\\s*(ASSOCIATORS\\s+OF|REFERENCES\\s+OF)|__Instance\\w*Event|__\\w*Event\\b|WITHIN\\s+\\d"),
        QRegularExpression::CaseInsensitiveOption);
    if (unsupported.match(text).hasMatch())
        return notSupported(cx, QStringLiteral("Associators, references and event queries"));
    std::vector<Token> tokens;
    Query query;
    if (!tokenize(text, tokens) || !QueryParser(tokens).parse(query))
        return invalidQuery(cx, text);
    const ClassInfo *cls = findClass(query.className);
    if (!cls)
        return invalidClass(cx, query.className);
    QString unknown;
    for (const QString &p : std::as_const(query.selected))
        if (!cls->properties.contains(p, Qt::CaseInsensitive))
            unknown = p;
    if (!unknown.isEmpty() || !knownProperties(*cls, query.where.get(), unknown))
        return invalidQuery(cx, QStringLiteral("%1 (no property %2 in %3)").arg(text, unknown, cls->name));
    std::vector<Instance> rows;
    if (!cls->instances(cx, rows))
        return false;
    std::vector<Value> items;
    for (Instance &row : rows) {
        if (!matches(*cls, row, query.where.get()))
            continue;
        if (!query.selected.isEmpty()) // what the query does not select reads as Null
            for (auto &p : row.properties)
                if (!query.selected.contains(p.first, Qt::CaseInsensitive) && p.first.compare(cls->key, Qt::CaseInsensitive) != 0)
                    p.second = Value::null();
        items.push_back(Value::object(new WbemObject(cls, std::move(row))));
    }
    result = Value::object(new ObjectList(QStringLiteral("SWbemObjectSet"), std::move(items)));
    return cx.spend(qint64(rows.size()) * 64);
}

// An object path: Class, Class.Key="value", Class.Key=value, Class=@. A new object, or null
// with the error raised.
Object *getByPath(Context &cx, const QString &path)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\w+)\\s*(?:\\.\\s*(\\w+)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^,\\s]+))|=\\s*@)?\\s*$"));
    const QRegularExpressionMatch m = form.match(path);
    if (!m.hasMatch()) {
        cx.raise(WbemInvalidParameter, QStringLiteral("Invalid object path: %1").arg(path));
        return nullptr;
    }
    const ClassInfo *cls = findClass(m.captured(1));
    if (!cls) {
        invalidClass(cx, m.captured(1));
        return nullptr;
    }
    const bool singleton = path.contains(QLatin1Char('@'));
    if (m.captured(2).isEmpty() && !singleton)
        return new WbemObject(cls, std::nullopt);
    std::vector<Instance> rows;
    if (!cls->instances(cx, rows))
        return nullptr;
    const QString wanted = m.captured(3) + m.captured(4) + m.captured(5);
    for (Instance &row : rows) {
        const Value *k = row.find(singleton ? cls->key : m.captured(2));
        if (singleton || (k && displayText(*k).compare(wanted, Qt::CaseInsensitive) == 0))
            return new WbemObject(cls, std::move(row));
    }
    cx.raise(WbemNotFound, QStringLiteral("Not found: %1").arg(path));
    return nullptr;
}

// SWbemServices: the namespace root\cimv2 of this computer.
class Services : public Object {
public:
    QString typeName() const override { return QStringLiteral("SWbemServicesEx"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"ExecQuery", "InstancesOf", "Get", "ExecNotificationQuery", "Security_",
                                         "AssociatorsOf", "ReferencesOf", "ExecMethod", "SubclassesOf"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        if ((kind & (InvokeLet | InvokeSet)) && id != 5)
            return cx.raise(err::NoSuchMember);
        QString text;
        switch (id) {
        case 1: // ExecQuery(query[, language[, flags]])
            if (a.count < 1 || !toText(cx, a[0], text))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (a.has(1)) {
                QString language;
                if (!toText(cx, a[1], language))
                    return false;
                if (!language.isEmpty() && language.compare(QLatin1String("WQL"), Qt::CaseInsensitive) != 0)
                    return cx.raise(int32_t(0x80041011), QStringLiteral("Invalid query language: %1").arg(language));
            }
            return runQuery(cx, text, result);
        case 2: // InstancesOf(class)
            if (a.count < 1 || !toText(cx, a[0], text))
                return cx.raiseUnlessPending(err::WrongArgs);
            return runQuery(cx, QStringLiteral("SELECT * FROM ") + text, result);
        case 3: // Get([path])
            if (a.count < 1 || a[0].isMissing()) {
                result = simple(QStringLiteral("SWbemObjectEx"), {});
                return true;
            }
            if (!toText(cx, a[0], text))
                return false;
            if (Object *found = getByPath(cx, text)) {
                result = Value::object(found);
                return true;
            }
            return false;
        case 5: // Security_: its settings are taken and change nothing here
            result = m_security;
            return true;
        case 4:
        case 6:
        case 7:
            return notSupported(cx, QStringLiteral("Event queries, associators and references"));
        case 8:
            return notSupported(cx, QStringLiteral("ExecMethod (call the method on the object instead)"));
        case 9:
            result = Value::object(new ObjectList(QStringLiteral("SWbemObjectSet"), {}));
            return true;
        default:
            return cx.raise(err::NoSuchMember);
        }
    }

private:
    Value m_security = simple(QStringLiteral("SWbemSecurity"),
                              {{"ImpersonationLevel", Value::lng(3)}, {"AuthenticationLevel", Value::lng(6)}}, true);
};

class Locator : public Object {
public:
    QString typeName() const override { return QStringLiteral("SWbemLocator"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"ConnectServer", "Security_"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke, Args a, Value &result) override
    {
        if (id == 2) {
            result = m_security;
            return true;
        }
        if (id != 1)
            return cx.raise(err::NoSuchMember);
        QString server, ns;
        if ((a.has(0) && !toText(cx, a[0], server)) || (a.has(1) && !toText(cx, a[1], ns)))
            return false;
        if (!isLocal(server))
            return cx.raise(RemoteServerUnavailable);
        if (!checkNamespace(cx, ns))
            return false;
        result = Value::object(new Services);
        return true;
    }

private:
    Value m_security = simple(QStringLiteral("SWbemSecurity"), {{"ImpersonationLevel", Value::lng(3)}}, true);
};

// WbemScripting.SWbemDateTime: WMI's date strings to and from VBScript dates.
class DateTime : public Object {
public:
    QString typeName() const override { return QStringLiteral("SWbemDateTime"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Value", "SetVarDate", "GetVarDate", "Year", "Month", "Day", "Hours",
                                         "Minutes", "Seconds", "Microseconds", "UTC", "IsInterval"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        const bool assigning = kind & (InvokeLet | InvokeSet);
        if (id == DefaultMember)
            id = 1;
        switch (id) {
        case 1: {
            if (!assigning) {
                result = Value::string(m_value);
                return true;
            }
            QString text;
            if (!toText(cx, a[a.count - 1], text))
                return false;
            static const QRegularExpression form(QStringLiteral("^\\d{14}\\.\\d{6}[+-]\\d{3}$"));
            if (!form.match(text).hasMatch())
                return cx.raise(WbemInvalidParameter, QStringLiteral("Invalid WMI date: %1").arg(text));
            m_value = text;
            return true;
        }
        case 2: { // SetVarDate(date[, isLocal])
            double d;
            if (a.count < 1 || !toDate(cx, a[0], d))
                return cx.raiseUnlessPending(err::WrongArgs);
            int y, mo, da, h, mi, s;
            dateToParts(d, y, mo, da, h, mi, s);
            m_value = wmiDate(QDateTime(QDate(y, mo, da), QTime(h, mi, s), Qt::LocalTime));
            return true;
        }
        case 3: { // GetVarDate([isLocal])
            const QDateTime t = parsed();
            if (!t.isValid())
                return cx.raise(WbemInvalidParameter, QStringLiteral("No date set"));
            bool local = true;
            if (a.has(0) && !toBool(cx, a[0], local))
                return false;
            const QDateTime shown = local ? t.toLocalTime() : t.toUTC();
            result = Value::date(dateFromParts(shown.date().year(), shown.date().month(), shown.date().day(),
                                               shown.time().hour() * 3600 + shown.time().minute() * 60 + shown.time().second()));
            return true;
        }
        case 4: case 5: case 6: case 7: case 8: case 9: case 10: {
            static const int starts[] = {0, 4, 6, 8, 10, 12, 15}, lengths[] = {4, 2, 2, 2, 2, 2, 6};
            result = Value::lng(m_value.mid(starts[id - 4], lengths[id - 4]).toInt());
            return true;
        }
        case 11: result = Value::lng(m_value.mid(21).toInt()); return true;
        case 12: result = Value::boolean(false); return true;
        default: return cx.raise(err::NoSuchMember);
        }
    }

private:
    QDateTime parsed() const
    {
        if (m_value.size() < 25)
            return QDateTime();
        const QDateTime t(QDate(m_value.mid(0, 4).toInt(), m_value.mid(4, 2).toInt(), m_value.mid(6, 2).toInt()),
                          QTime(m_value.mid(8, 2).toInt(), m_value.mid(10, 2).toInt(), m_value.mid(12, 2).toInt()),
                          QTimeZone(m_value.mid(21).toInt() * 60));
        return t;
    }
    QString m_value = QStringLiteral("00000000000000.000000+000");
};

} // namespace

const Value *Instance::find(const QString &name) const
{
    for (const auto &p : properties)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0)
            return &p.second;
    return nullptr;
}

QString wmiDate(const QDateTime &t)
{
    if (!t.isValid())
        return QString();
    const int offset = t.offsetFromUtc() / 60;
    return t.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(".%1").arg(t.time().msec() * 1000, 6, 10, QLatin1Char('0'))
           + (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) + QStringLiteral("%1").arg(qAbs(offset), 3, 10, QLatin1Char('0'));
}

bool invalidClass(Context &cx, const QString &name)
{
    return cx.raise(WbemInvalidClass, QStringLiteral("Invalid class: %1").arg(name));
}

bool invalidQuery(Context &cx, const QString &why)
{
    return cx.raise(WbemInvalidQuery, QStringLiteral("Invalid query: %1").arg(why));
}

bool notSupported(Context &cx, const QString &what)
{
    return cx.raise(WbemNotSupported, QStringLiteral("Not supported here: %1").arg(what));
}

bool accessDenied(Context &cx, const QString &why)
{
    return cx.raise(WbemAccessDenied, QStringLiteral("Access denied: %1").arg(why));
}

Object *getObject(Context &cx, const QString &moniker)
{
    // winmgmts:[{security}[!]][\\server\namespace][:path] or winmgmts:path
    QString rest = moniker.mid(moniker.indexOf(QLatin1Char(':')) + 1).trimmed();
    if (rest.startsWith(QLatin1Char('{'))) {
        const qsizetype close = rest.indexOf(QLatin1Char('}'));
        if (close < 0) {
            cx.raise(WbemInvalidParameter, QStringLiteral("Invalid moniker: %1").arg(moniker));
            return nullptr;
        }
        rest = rest.mid(close + 1);
        if (rest.startsWith(QLatin1Char('!')))
            rest = rest.mid(1);
    }
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QString server = QStringLiteral("."), ns, path;
    if (rest.startsWith(QLatin1String("\\\\"))) {
        const qsizetype end = rest.indexOf(QLatin1Char('\\'), 2);
        server = rest.mid(2, end < 0 ? -1 : end - 2);
        rest = end < 0 ? QString() : rest.mid(end + 1);
    }
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        ns = rest.left(colon);
        path = rest.mid(colon + 1);
    } else if (rest.startsWith(QLatin1String("root"), Qt::CaseInsensitive)) {
        ns = rest;
    } else {
        path = rest;
    }
    if (!isLocal(server)) {
        cx.raise(RemoteServerUnavailable);
        return nullptr;
    }
    if (!checkNamespace(cx, ns))
        return nullptr;
    if (path.trimmed().isEmpty())
        return new Services;
    return getByPath(cx, path);
}

Object *create(const QString &progId)
{
    const QString id = progId.toLower();
    if (id == QLatin1String("wbemscripting.swbemlocator"))
        return new Locator;
    if (id == QLatin1String("wbemscripting.swbemdatetime"))
        return new DateTime;
    if (id == QLatin1String("wbemscripting.swbemlasterror"))
        return new SimpleObject;
    return nullptr;
}

} // namespace winenv::wmi
