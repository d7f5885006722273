#include "regexp.h"

#include "context.h"
#include "convert.h"

namespace vbs {

namespace {

enum Id { Pattern = 1, IgnoreCase, Global, Multiline, Test, Execute, Replace };

// One match: Value (the default), FirstIndex (from 0), Length, SubMatches.
class MatchObject : public Object {
public:
    explicit MatchObject(const QRegularExpressionMatch &m) : m_match(m) {}
    QString typeName() const override { return QStringLiteral("IMatch2"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Value", "FirstIndex", "Length", "SubMatches"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        if (args.count)
            return cx.raise(err::WrongArgs);
        switch (id == DefaultMember ? 1 : id) {
        case 1: result = Value::string(m_match.captured(0)); return true;
        case 2: result = Value::lng(int32_t(m_match.capturedStart(0))); return true;
        case 3: result = Value::lng(int32_t(m_match.capturedLength(0))); return true;
        case 4: result = subMatches(); return true;
        default: return cx.raise(err::NoSuchMember);
        }
    }

    // A read-only collection: Count, Item(i) (the default), For Each.
    class ListObject : public Object {
    public:
        explicit ListObject(Value items) : m_items(std::move(items)) {}
        QString typeName() const override { return QStringLiteral("ISubMatches"); }
        int memberId(const QString &name) override
        {
            static const MemberTable members{"Count", "Item"};
            return members.id(name);
        }
        bool invoke(Context &cx, int id, Invoke, Args args, Value &result) override
        {
            const ArrayData *a = m_items.asArray();
            if (id == 1) {
                if (args.count)
                    return cx.raise(err::WrongArgs);
                result = Value::lng(int32_t(a->data.size()));
                return true;
            }
            int32_t i;
            if (args.count != 1 || !toLong(cx, args[0], i))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (i < 0 || i >= int32_t(a->data.size()))
                return cx.raise(err::InvalidCall);
            result = a->data[size_t(i)];
            return true;
        }
        bool enumerate(Context &, std::vector<Value> &items) override
        {
            items = m_items.asArray()->data;
            return true;
        }

    private:
        Value m_items;
    };

private:
    // SubMatches are made when a script first asks for them.
    const Value &subMatches()
    {
        if (m_subMatches.isEmpty()) {
            auto *subs = new ArrayData;
            const Value holder = Value::array(subs);
            subs->lbounds.push_back(0);
            for (int i = 1; i <= m_match.lastCapturedIndex(); ++i)
                subs->data.push_back(m_match.capturedStart(i) < 0 ? Value() : Value::string(m_match.captured(i)));
            subs->counts.push_back(int32_t(subs->data.size()));
            m_subMatches = Value::object(new ListObject(holder));
        }
        return m_subMatches;
    }

    QRegularExpressionMatch m_match;
    Value m_subMatches;
};

using Matches = MatchObject::ListObject;

// $1..$99, $& (the match), $` (before), $' (after), $$ (a dollar).
QString expand(const QString &replacement, const QRegularExpressionMatch &m, const QString &subject)
{
    QString out;
    for (int i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement[i];
        if (c != QLatin1Char('$') || i + 1 >= replacement.size()) {
            out += c;
            continue;
        }
        const QChar n = replacement[i + 1];
        if (n == QLatin1Char('$')) {
            out += QLatin1Char('$');
            ++i;
        } else if (n == QLatin1Char('&')) {
            out += m.captured(0);
            ++i;
        } else if (n == QLatin1Char('`')) {
            out += subject.left(m.capturedStart(0));
            ++i;
        } else if (n == QLatin1Char('\'')) {
            out += subject.mid(m.capturedEnd(0));
            ++i;
        } else if (n.isDigit()) {
            int group = n.digitValue();
            int used = 1;
            if (i + 2 < replacement.size() && replacement[i + 2].isDigit()
                && group * 10 + replacement[i + 2].digitValue() <= m.lastCapturedIndex()) {
                group = group * 10 + replacement[i + 2].digitValue();
                used = 2;
            }
            if (group == 0 || group > m.lastCapturedIndex()) {
                out += c;
                continue;
            }
            out += m.captured(group);
            i += used;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

int RegExpObject::memberId(const QString &name)
{
    static const MemberTable members{"Pattern", "IgnoreCase", "Global", "Multiline", "Test", "Execute", "Replace"};
    return members.id(name);
}

const QRegularExpression *RegExpObject::compiled(Context &cx)
{
    if (m_stale) {
        QRegularExpression::PatternOptions options;
        if (m_ignoreCase)
            options |= QRegularExpression::CaseInsensitiveOption;
        if (m_multiline)
            options |= QRegularExpression::MultilineOption;
        m_compiled = QRegularExpression(m_pattern, options);
        m_compiled.optimize();
        m_stale = false;
    }
    if (!m_compiled.isValid()) {
        cx.raise(5017); // Syntax error in regular expression
        return nullptr;
    }
    return &m_compiled;
}

bool RegExpObject::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    const bool assigning = kind & (InvokeLet | InvokeSet);
    if (id == DefaultMember)
        id = Pattern;
    switch (id) {
    case Pattern:
        if (assigning) {
            m_stale = true;
            return args.count == 1 && toText(cx, args[0], m_pattern);
        }
        result = Value::string(m_pattern);
        return true;
    case IgnoreCase:
    case Global:
    case Multiline: {
        bool &flag = id == IgnoreCase ? m_ignoreCase : id == Global ? m_global : m_multiline;
        if (assigning) {
            m_stale = m_stale || id != Global;
            return args.count == 1 && toBool(cx, args[0], flag);
        }
        result = Value::boolean(flag);
        return true;
    }
    case Test:
    case Execute:
    case Replace: {
        QString subject, replacement;
        if (args.count != (id == Replace ? 2 : 1) || !toText(cx, args[0], subject)
            || (id == Replace && !toText(cx, args[1], replacement)))
            return cx.raiseUnlessPending(err::WrongArgs);
        const QRegularExpression *compiledPattern = compiled(cx);
        if (!compiledPattern)
            return false;
        const QRegularExpression &re = *compiledPattern;
        if (id == Test) {
            result = Value::boolean(re.match(subject).hasMatch());
            return true;
        }
        auto *found = new ArrayData;
        Value holder = Value::array(found);
        found->lbounds.push_back(0);
        QString out;
        qsizetype copied = 0;
        QRegularExpressionMatchIterator it = re.globalMatch(subject);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (!cx.spend(m.capturedEnd(0) - copied + 1))
                return false;
            if (id == Execute) {
                if (qint64(found->data.size()) >= cx.limits.maxArrayElements)
                    return cx.raise(err::OutOfMemory);
                found->data.push_back(Value::object(new MatchObject(m)));
            } else {
                out += QStringView(subject).mid(copied, m.capturedStart(0) - copied);
                out += expand(replacement, m, subject);
                if (out.size() > cx.limits.maxStringLength)
                    return cx.raise(err::OutOfMemory);
            }
            copied = m.capturedEnd(0);
            if (!m_global)
                break;
        }
        found->counts.push_back(int32_t(found->data.size()));
        if (id == Execute) {
            result = Value::object(new Matches(holder));
            return true;
        }
        out += QStringView(subject).mid(copied);
        result = Value::string(out);
        return true;
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}

} // namespace vbs
