#include "dictionary.h"

#include "context.h"
#include "convert.h"

namespace vbs {

namespace {
enum Id { Add = 1, Exists, Item, Items, Keys, Remove, RemoveAll, Count, CompareMode, Key };

Value arrayOf(const std::vector<Value> &values)
{
    auto *a = new ArrayData;
    a->counts.push_back(int32_t(values.size()));
    a->lbounds.push_back(0);
    a->data = values;
    return Value::array(a);
}
} // namespace

int Dictionary::memberId(const QString &name)
{
    static const MemberTable members{"Add", "Exists", "Item", "Items", "Keys", "Remove", "RemoveAll",
                                     "Count", "CompareMode", "Key"};
    return members.id(name);
}

bool Dictionary::keyOf(Context &cx, const Value &key, QString &out) const
{
    Value v;
    if (!valueOf(cx, key, v))
        return false;
    if (v.isArray())
        return cx.raise(err::TypeMismatch);
    if (v.isObject()) { // an object is its own key
        out = QStringLiteral("o:%1").arg(quintptr(v.asObject()), 0, 16);
        return true;
    }
    if (v.isNumeric() || v.type() == VType::Date || v.type() == VType::Boolean) {
        double d;
        toDouble(cx, v, d);
        out = QStringLiteral("n:") + QString::number(d, 'g', 17);
        return true;
    }
    const QString text = displayText(v);
    out = QLatin1Char(char('0' + int(v.type()))) + (m_compareMode == 1 ? text.toLower() : text);
    return true;
}

bool Dictionary::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    if (id == DefaultMember)
        id = Item;
    const bool assigning = kind & (InvokeLet | InvokeSet);
    QString key;
    switch (id) {
    case Add: {
        if (args.count != 2)
            return cx.raise(err::WrongArgs);
        if (!keyOf(cx, args[0], key))
            return false;
        if (find(key) >= 0)
            return cx.raise(err::KeyExists);
        m_index.insert(key, int(m_keys.size()));
        m_keys.push_back(args[0]);
        m_values.push_back(args[1]);
        return true;
    }
    case Exists:
        if (args.count != 1 || !keyOf(cx, args[0], key))
            return cx.hasError() || cx.raise(err::WrongArgs);
        result = Value::boolean(find(key) >= 0);
        return true;
    case Item: {
        if (args.count != (assigning ? 2 : 1) || !keyOf(cx, args[0], key))
            return cx.hasError() || cx.raise(err::WrongArgs);
        int at = find(key);
        if (assigning) {
            if (at < 0) {
                m_index.insert(key, int(m_keys.size()));
                m_keys.push_back(args[0]);
                m_values.push_back(Value());
                at = int(m_keys.size()) - 1;
            }
            Value &v = args[1];
            if (kind & InvokeSet)
                m_values[size_t(at)] = v;
            else if (!valueOf(cx, v, m_values[size_t(at)]))
                return false;
            return true;
        }
        if (at < 0) { // reading a missing key adds it, empty
            m_index.insert(key, int(m_keys.size()));
            m_keys.push_back(args[0]);
            m_values.push_back(Value());
            return true;
        }
        result = m_values[size_t(at)];
        return true;
    }
    case Items: result = arrayOf(m_values); return true;
    case Keys: result = arrayOf(m_keys); return true;
    case Remove: {
        if (args.count != 1 || !keyOf(cx, args[0], key))
            return cx.hasError() || cx.raise(err::WrongArgs);
        const int at = find(key);
        if (at < 0)
            return cx.raise(32811); // Element not found
        m_keys.erase(m_keys.begin() + at);
        m_values.erase(m_values.begin() + at);
        m_index.clear();
        for (size_t i = 0; i < m_keys.size(); ++i) {
            QString k;
            keyOf(cx, m_keys[i], k);
            m_index.insert(k, int(i));
        }
        return true;
    }
    case RemoveAll:
        m_keys.clear();
        m_values.clear();
        m_index.clear();
        return true;
    case Count: result = Value::lng(int32_t(m_keys.size())); return true;
    case CompareMode: {
        if (!assigning) {
            result = Value::lng(m_compareMode);
            return true;
        }
        int32_t mode;
        if (args.count != 1 || !toLong(cx, args[0], mode))
            return cx.hasError() || cx.raise(err::WrongArgs);
        if (!m_keys.empty() || mode < 0 || mode > 2)
            return cx.raise(err::InvalidCall); // only while the dictionary is empty
        m_compareMode = mode;
        return true;
    }
    case Key: { // d.Key(old) = new
        if (!assigning || args.count != 2 || !keyOf(cx, args[0], key))
            return cx.hasError() || cx.raise(err::WrongArgs);
        const int at = find(key);
        if (at < 0)
            return cx.raise(32811);
        QString fresh;
        if (!keyOf(cx, args[1], fresh))
            return false;
        if (find(fresh) >= 0)
            return cx.raise(err::KeyExists);
        m_index.remove(key);
        m_index.insert(fresh, at);
        m_keys[size_t(at)] = args[1];
        return true;
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}

bool Dictionary::enumerate(Context &, std::vector<Value> &items)
{
    items = m_keys;
    return true;
}

} // namespace vbs
