#include "dotnet.h"

#include <QCollator>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>

#include "convert.h"

using namespace vbs;

namespace winenv::dotnet {

namespace {

// The HRESULTs of the .NET exceptions that scripts meet.
constexpr int32_t ArgumentOutOfRangeError = int32_t(0x80131502);
constexpr int32_t InvalidOperationError = int32_t(0x80131509);
constexpr int32_t ArgumentError = int32_t(0x80070057);

// ---- comparing and matching values as .NET's default comparer and Equals do ----------------

enum class Family { Null, Number, Text, Date, Boolean, Other };

Family familyOf(const Value &v)
{
    switch (v.type()) {
    case VType::Empty:
    case VType::Null: return Family::Null;
    case VType::String: return Family::Text;
    case VType::Date: return Family::Date;
    case VType::Boolean: return Family::Boolean;
    default: return v.isNumeric() ? Family::Number : Family::Other;
    }
}

double numberOf(const Value &v)
{
    double d = 0;
    switch (v.type()) {
    case VType::Byte: d = v.asByte(); break;
    case VType::Integer: d = v.asInteger(); break;
    case VType::Long: d = v.asLong(); break;
    case VType::Single: d = v.asSingle(); break;
    case VType::Double:
    case VType::Date: d = v.asDouble(); break;
    case VType::Currency: d = double(v.asCurrency()) / 10000.0; break;
    case VType::Boolean: d = v.asBool() ? 1 : 0; break;
    default: break;
    }
    return d;
}

// Text as an English culture sorts it: "apple" before "Banana", "a" before "A".
const QCollator &collator()
{
    static const QCollator english = [] {
        QCollator c{QLocale(QLocale::English, QLocale::UnitedStates)};
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return english;
}

// Whether every value can be compared with every other: one family beside Nothing.
bool comparable(Context &cx, const std::vector<Value> &items)
{
    Family seen = Family::Null;
    for (const Value &v : items) {
        const Family f = familyOf(v);
        if (f == Family::Null)
            continue;
        if (f == Family::Other || (seen != Family::Null && f != seen))
            return invalidOperation(cx, QStringLiteral("Failed to compare two elements in the array."));
        seen = f;
    }
    return true;
}

// For values that comparable() accepted together.
int compare(const Value &a, const Value &b)
{
    const Family fa = familyOf(a), fb = familyOf(b);
    if (fa == Family::Null || fb == Family::Null)
        return (fa == Family::Null ? 0 : 1) - (fb == Family::Null ? 0 : 1);
    if (fa == Family::Text)
        return collator().compare(a.asString(), b.asString());
    const double x = numberOf(a), y = numberOf(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

bool sameValue(const Value &a, const Value &b)
{
    const Family fa = familyOf(a);
    if (fa != familyOf(b))
        return false;
    switch (fa) {
    case Family::Null: return true;
    case Family::Text: return a.asString() == b.asString();
    case Family::Other: return a.isObject() && b.isObject() && a.asObject() == b.asObject();
    default: return numberOf(a) == numberOf(b);
    }
}

// A key as Hashtable and SortedList find it again.
QString keyText(const Value &v)
{
    switch (familyOf(v)) {
    case Family::Text: return QLatin1Char('s') + v.asString();
    case Family::Number: return QLatin1Char('n') + QString::number(numberOf(v), 'g', 17);
    case Family::Date: return QLatin1Char('d') + QString::number(v.asDouble(), 'g', 17);
    case Family::Boolean: return v.asBool() ? QStringLiteral("bT") : QStringLiteral("bF");
    case Family::Other:
        if (v.isObject())
            return QLatin1Char('o') + QString::number(quintptr(v.asObject()));
        return QString();
    default: return QString();
    }
}

bool index(Context &cx, Args a, int i, int32_t &out)
{
    return i < a.count ? toLong(cx, a[i], out) : cx.raise(err::WrongArgs);
}

bool noArguments(Context &cx, Args a)
{
    return a.count == 0 || cx.raise(err::WrongArgs);
}

Value arrayOf(const std::vector<Value> &items)
{
    return Value::array(ArrayData::fromValues(items));
}

// The Keys and Values of the keyed collections: Count, Item(i), For Each.
class ValueList : public Object {
public:
    explicit ValueList(std::vector<Value> items) : m_items(std::move(items)) {}
    QString typeName() const override { return QStringLiteral("ICollection"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Count", "Item"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        if (id == 1) {
            result = Value::lng(int32_t(m_items.size()));
            return noArguments(cx, a);
        }
        int32_t i;
        if (!index(cx, a, 0, i))
            return false;
        if (i < 0 || size_t(i) >= m_items.size())
            return argumentOutOfRange(cx, "index");
        result = m_items[size_t(i)];
        return true;
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        items = m_items;
        return true;
    }

private:
    std::vector<Value> m_items;
};

// ---- System.Collections.ArrayList ------------------------------------------------------

class ArrayList : public Container {
public:
    static inline const QString ProgId = QStringLiteral("System.Collections.ArrayList");
    QString typeName() const override { return QStringLiteral("ArrayList"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Item", "Add", "Insert", "Remove", "RemoveAt", "RemoveRange", "Clear",
                                         "Contains", "IndexOf", "LastIndexOf", "Sort", "Reverse", "ToArray",
                                         "Clone", "Count", "Capacity", "GetRange", "TrimToSize", "IndexOf_2",
                                         "IndexOf_3", "LastIndexOf_2", "Reverse_2"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override;
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        items = m_items;
        return true;
    }
    void dropValues() override { std::vector<Value>().swap(m_items); }
    std::vector<Value> m_items;

private:
    enum { Item = 1, Add, Insert, Remove, RemoveAt, RemoveRange, Clear, Contains, IndexOf, LastIndexOf, Sort, Reverse,
           ToArray, Clone, Count, Capacity, GetRange, TrimToSize, IndexOf2, IndexOf3, LastIndexOf2, Reverse2 };
    bool range(Context &cx, int32_t from, int32_t count)
    {
        if (from < 0)
            return argumentOutOfRange(cx, "index");
        if (count < 0)
            return argumentOutOfRange(cx, "count");
        if (qint64(from) + count > qint64(m_items.size()))
            return argumentError(cx, QStringLiteral("Offset and length were out of bounds for the array or count is "
                                                    "greater than the number of elements from index to the end of the "
                                                    "source collection."));
        return true;
    }
    int32_t m_capacity = 0;
};

bool ArrayList::invoke(Context &cx, int id, Invoke kind, Args a, Value &result)
{
    if (id == DefaultMember)
        id = Item;
    const bool assigning = kind & (InvokeLet | InvokeSet);
    if (assigning && id != Item && id != Capacity)
        return cx.raise(err::NoSuchMember);
    // Arguments are converted first: a conversion may run script code that changes this list.
    int32_t i = 0, n = 0;
    switch (id) {
    case Item: {
        if (a.count != (assigning ? 2 : 1) || !index(cx, a, 0, i))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (i < 0 || size_t(i) >= m_items.size())
            return argumentOutOfRange(cx, "index");
        if (assigning)
            m_items[size_t(i)] = a[1];
        else
            result = m_items[size_t(i)];
        return true;
    }
    case Add:
        if (a.count != 1)
            return cx.raise(err::WrongArgs);
        if (qint64(m_items.size()) >= cx.limits.maxArrayElements)
            return cx.raise(err::OutOfMemory);
        m_items.push_back(a[0]);
        result = Value::lng(int32_t(m_items.size() - 1));
        return true;
    case Insert:
        if (a.count != 2 || !index(cx, a, 0, i))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (i < 0 || size_t(i) > m_items.size())
            return argumentOutOfRange(cx, "index");
        m_items.insert(m_items.begin() + i, a[1]);
        return true;
    case Remove: {
        if (a.count != 1)
            return cx.raise(err::WrongArgs);
        const auto at = std::find_if(m_items.begin(), m_items.end(), [&](const Value &v) { return sameValue(v, a[0]); });
        if (at != m_items.end()) {
            Value gone = std::move(*at); // let go of last, with the list whole again
            m_items.erase(at);
        }
        return true;
    }
    case RemoveAt: {
        if (a.count != 1 || !index(cx, a, 0, i))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (i < 0 || size_t(i) >= m_items.size())
            return argumentOutOfRange(cx, "index");
        Value gone = std::move(m_items[size_t(i)]);
        m_items.erase(m_items.begin() + i);
        return true;
    }
    case RemoveRange: {
        if (a.count != 2 || !index(cx, a, 0, i) || !index(cx, a, 1, n))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (!range(cx, i, n))
            return false;
        std::vector<Value> gone(std::make_move_iterator(m_items.begin() + i),
                                std::make_move_iterator(m_items.begin() + i + n));
        m_items.erase(m_items.begin() + i, m_items.begin() + i + n);
        return true;
    }
    case Clear:
        dropValues();
        return noArguments(cx, a);
    case Contains:
    case IndexOf:
    case IndexOf2:
    case IndexOf3:
    case LastIndexOf:
    case LastIndexOf2: {
        const bool last = id == LastIndexOf || id == LastIndexOf2;
        if (a.count < 1 || a.count > 3)
            return cx.raise(err::WrongArgs);
        int32_t from = last ? int32_t(m_items.size()) - 1 : 0;
        int32_t count = -1;
        if ((a.count > 1 && !index(cx, a, 1, from)) || (a.count > 2 && !index(cx, a, 2, count)))
            return false;
        if (count < 0)
            count = last ? from + 1 : int32_t(m_items.size()) - from;
        if (!m_items.empty() && (from < 0 || size_t(from) >= m_items.size() + (last ? 0 : 1)))
            return argumentOutOfRange(cx, "startIndex");
        int32_t found = -1;
        for (int32_t k = 0; k < count && found < 0; ++k) {
            const int32_t at = last ? from - k : from + k;
            if (at >= 0 && size_t(at) < m_items.size() && sameValue(m_items[size_t(at)], a[0]))
                found = at;
        }
        result = id == Contains ? Value::boolean(found >= 0) : Value::lng(found);
        return true;
    }
    case Sort: {
        if (!noArguments(cx, a) || !comparable(cx, m_items))
            return false;
        std::stable_sort(m_items.begin(), m_items.end(), [](const Value &x, const Value &y) { return compare(x, y) < 0; });
        return cx.spend(qint64(m_items.size()) * 8);
    }
    case Reverse:
        if (!noArguments(cx, a))
            return false;
        std::reverse(m_items.begin(), m_items.end());
        return true;
    case Reverse2:
        if (a.count != 2 || !index(cx, a, 0, i) || !index(cx, a, 1, n))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (!range(cx, i, n))
            return false;
        std::reverse(m_items.begin() + i, m_items.begin() + i + n);
        return true;
    case ToArray:
        result = arrayOf(m_items);
        return noArguments(cx, a);
    case Clone:
    case GetRange: {
        if (id == GetRange && (a.count != 2 || !index(cx, a, 0, i) || !index(cx, a, 1, n) || !range(cx, i, n)))
            return cx.raiseUnlessPending(err::WrongArgs);
        auto *copy = new ArrayList;
        Value hold = Value::object(copy);
        if (id == Clone)
            copy->m_items = m_items;
        else
            copy->m_items.assign(m_items.begin() + i, m_items.begin() + i + n);
        result = hold;
        return id == GetRange || noArguments(cx, a);
    }
    case Count:
        result = Value::lng(int32_t(m_items.size()));
        return noArguments(cx, a);
    case Capacity:
        if (assigning) {
            if (a.count != 1 || !index(cx, a, 0, n))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (n < int32_t(m_items.size()))
                return argumentOutOfRange(cx, "value");
            m_capacity = n;
            return true;
        }
        result = Value::lng(std::max<int32_t>(m_capacity, int32_t(m_items.size())));
        return noArguments(cx, a);
    case TrimToSize:
        m_capacity = int32_t(m_items.size());
        return noArguments(cx, a);
    default:
        return cx.raise(err::NoSuchMember);
    }
}

// ---- System.Collections.Queue and Stack ------------------------------------------------

class QueueOrStack : public Container {
public:
    explicit QueueOrStack(bool stack) : m_stack(stack) {}
    QString typeName() const override { return m_stack ? QStringLiteral("Stack") : QStringLiteral("Queue"); }
    int memberId(const QString &name) override
    {
        static const MemberTable queue{"Enqueue", "Dequeue", "Peek", "Count", "ToArray", "Clear", "Contains", "Clone"};
        static const MemberTable stack{"Push", "Pop", "Peek", "Count", "ToArray", "Clear", "Contains", "Clone"};
        return (m_stack ? stack : queue).id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        switch (id) {
        case 1: // Enqueue, Push
            if (a.count != 1)
                return cx.raise(err::WrongArgs);
            m_items.push_back(a[0]);
            return true;
        case 2: // Dequeue, Pop
        case 3: // Peek
            if (!noArguments(cx, a))
                return false;
            if (m_items.empty())
                return invalidOperation(cx, m_stack ? QStringLiteral("Stack empty.") : QStringLiteral("Queue empty."));
            result = m_stack ? m_items.back() : m_items.front();
            if (id == 2) {
                Value gone = std::move(m_stack ? m_items.back() : m_items.front());
                if (m_stack)
                    m_items.pop_back();
                else
                    m_items.erase(m_items.begin());
            }
            return true;
        case 4: result = Value::lng(int32_t(m_items.size())); return noArguments(cx, a);
        case 5: { // ToArray: a stack's top first
            std::vector<Value> items = m_items;
            if (m_stack)
                std::reverse(items.begin(), items.end());
            result = arrayOf(items);
            return noArguments(cx, a);
        }
        case 6: dropValues(); return noArguments(cx, a);
        case 7:
            if (a.count != 1)
                return cx.raise(err::WrongArgs);
            result = Value::boolean(std::any_of(m_items.begin(), m_items.end(), [&](const Value &v) { return sameValue(v, a[0]); }));
            return true;
        case 8: {
            auto *copy = new QueueOrStack(m_stack);
            copy->m_items = m_items;
            result = Value::object(copy);
            return noArguments(cx, a);
        }
        default:
            return cx.raise(err::NoSuchMember);
        }
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        items = m_items;
        if (m_stack)
            std::reverse(items.begin(), items.end());
        return true;
    }
    void dropValues() override { std::vector<Value>().swap(m_items); }

private:
    bool m_stack;
    std::vector<Value> m_items; // a queue's front first; a stack's top last
};

// ---- System.Collections.Hashtable and SortedList ---------------------------------------

class KeyedList : public Container {
public:
    explicit KeyedList(bool sorted) : m_sorted(sorted) {}
    QString typeName() const override { return m_sorted ? QStringLiteral("SortedList") : QStringLiteral("Hashtable"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Item", "Add", "Remove", "ContainsKey", "Contains", "ContainsValue", "Count",
                                         "Keys", "Values", "Clear", "GetKey", "GetByIndex", "IndexOfKey",
                                         "IndexOfValue", "RemoveAt", "SetByIndex", "Clone", "GetKeyList",
                                         "GetValueList"};
        const int id = members.id(name);
        return !m_sorted && id > Clone ? NoMember : id;
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override;
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        // For Each over the list itself gives its keys here (Windows gives DictionaryEntry
        // objects, which scripts read through Keys anyway).
        items.clear();
        for (const Entry &e : m_entries)
            items.push_back(e.key);
        return true;
    }
    void dropValues() override
    {
        std::vector<Entry> gone;
        gone.swap(m_entries);
        m_index.clear();
    }

private:
    enum { Item = 1, Add, Remove, ContainsKey, Contains, ContainsValue, Count, Keys, Values, Clear, GetKey, GetByIndex,
           IndexOfKey, IndexOfValue, RemoveAt, SetByIndex, Clone, GetKeyList, GetValueList };
    struct Entry {
        Value key, value;
    };
    int find(const Value &key) const { return m_index.value(keyText(key), -1); }
    void reindex()
    {
        m_index.clear();
        for (size_t k = 0; k < m_entries.size(); ++k)
            m_index.insert(keyText(m_entries[k].key), int(k));
    }
    bool insert(Context &cx, const Value &key, const Value &value)
    {
        if (key.isEmpty() || key.isNull())
            return cx.raise(int32_t(0x80004003), QStringLiteral("Key cannot be null.\r\nParameter name: key"));
        if (keyText(key).isEmpty())
            return argumentError(cx, QStringLiteral("The key cannot be used here."));
        if (!m_sorted) {
            m_index.insert(keyText(key), int(m_entries.size()));
            m_entries.push_back({key, value});
            return true;
        }
        std::vector<Value> keys{key};
        for (const Entry &e : m_entries)
            keys.push_back(e.key);
        if (!comparable(cx, keys))
            return false;
        const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                         [](const Entry &e, const Value &k) { return compare(e.key, k) < 0; });
        m_entries.insert(at, {key, value});
        reindex();
        return true;
    }
    bool removeAt(int at)
    {
        Entry gone = std::move(m_entries[size_t(at)]);
        m_entries.erase(m_entries.begin() + at);
        reindex();
        return true;
    }
    bool m_sorted;
    std::vector<Entry> m_entries; // in the order of adding, or of the keys
    QHash<QString, int> m_index;
};

bool KeyedList::invoke(Context &cx, int id, Invoke kind, Args a, Value &result)
{
    if (id == DefaultMember)
        id = Item;
    const bool assigning = kind & (InvokeLet | InvokeSet);
    if (assigning && id != Item)
        return cx.raise(err::NoSuchMember);
    int32_t i = 0;
    switch (id) {
    case Item: {
        if (a.count != (assigning ? 2 : 1))
            return cx.raise(err::WrongArgs);
        const int at = find(a[0]);
        if (assigning) {
            if (at >= 0)
                m_entries[size_t(at)].value = a[1];
            else
                return insert(cx, a[0], a[1]);
            return true;
        }
        if (at >= 0)
            result = m_entries[size_t(at)].value;
        return true; // a missing key reads as Nothing: Empty
    }
    case Add:
        if (a.count != 2)
            return cx.raise(err::WrongArgs);
        if (find(a[0]) >= 0)
            return argumentError(cx, QStringLiteral("Item has already been added. Key in dictionary: '%1'  Key being "
                                                    "added: '%1'").arg(displayText(a[0])));
        return insert(cx, a[0], a[1]);
    case Remove:
        if (a.count != 1)
            return cx.raise(err::WrongArgs);
        if (const int at = find(a[0]); at >= 0)
            removeAt(at);
        return true;
    case ContainsKey:
    case Contains:
        if (a.count != 1)
            return cx.raise(err::WrongArgs);
        result = Value::boolean(find(a[0]) >= 0);
        return true;
    case ContainsValue:
    case IndexOfValue: {
        if (a.count != 1)
            return cx.raise(err::WrongArgs);
        int found = -1;
        for (size_t k = 0; k < m_entries.size() && found < 0; ++k)
            if (sameValue(m_entries[k].value, a[0]))
                found = int(k);
        result = id == ContainsValue ? Value::boolean(found >= 0) : Value::lng(found);
        return true;
    }
    case IndexOfKey:
        if (a.count != 1)
            return cx.raise(err::WrongArgs);
        result = Value::lng(find(a[0]));
        return true;
    case Count: result = Value::lng(int32_t(m_entries.size())); return noArguments(cx, a);
    case Keys:
    case Values:
    case GetKeyList:
    case GetValueList: {
        std::vector<Value> items;
        for (const Entry &e : m_entries)
            items.push_back(id == Keys || id == GetKeyList ? e.key : e.value);
        result = Value::object(new ValueList(std::move(items)));
        return noArguments(cx, a);
    }
    case Clear: dropValues(); return noArguments(cx, a);
    case GetKey:
    case GetByIndex:
    case RemoveAt:
    case SetByIndex:
        if (a.count != (id == SetByIndex ? 2 : 1) || !index(cx, a, 0, i))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (i < 0 || size_t(i) >= m_entries.size())
            return argumentOutOfRange(cx, "index");
        if (id == RemoveAt)
            return removeAt(i);
        if (id == SetByIndex)
            m_entries[size_t(i)].value = a[1];
        else
            result = id == GetKey ? m_entries[size_t(i)].key : m_entries[size_t(i)].value;
        return true;
    case Clone: {
        auto *copy = new KeyedList(m_sorted);
        copy->m_entries = m_entries;
        copy->m_index = m_index;
        result = Value::object(copy);
        return noArguments(cx, a);
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}

// ---- System.Random --------------------------------------------------------------------

class Random : public Object {
public:
    QString typeName() const override { return QStringLiteral("Random"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Next", "Next_2", "Next_3", "NextDouble"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        int32_t low = 0, high = INT32_MAX;
        switch (id) {
        case 1: // Next(): 0 .. Int32.MaxValue - 1
            if (!noArguments(cx, a))
                return false;
            break;
        case 2: // Next(minValue, maxValue): minValue .. maxValue - 1
            if (a.count != 2 || !toLong(cx, a[0], low) || !toLong(cx, a[1], high))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (low > high)
                return argumentOutOfRange(cx, "minValue");
            break;
        case 3: // Next(maxValue): 0 .. maxValue - 1
            if (a.count != 1 || !toLong(cx, a[0], high))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (high < 0)
                return argumentOutOfRange(cx, "maxValue");
            break;
        case 4:
            result = Value::dbl(m_generator.generateDouble());
            return noArguments(cx, a);
        default:
            return cx.raise(err::NoSuchMember);
        }
        result = Value::lng(high <= low ? low : int32_t(low + qint64(m_generator.bounded(quint64(qint64(high) - low)))));
        return true;
    }

private:
    QRandomGenerator m_generator{QRandomGenerator::securelySeeded()};
};

// ---- System.Text.StringBuilder ----------------------------------------------------------

// .NET's composite format, as far as scripts use it: {0}, {1,10}, {0,-5}, {{ and }}.
bool composite(Context &cx, const QString &format, Args a, int first, QString &out)
{
    for (qsizetype k = 0; k < format.size(); ++k) {
        const QChar c = format[k];
        if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && k + 1 < format.size() && format[k + 1] == c) {
            out += c;
            ++k;
            continue;
        }
        if (c == QLatin1Char('}'))
            return invalidOperation(cx, QStringLiteral("Input string was not in a correct format."));
        if (c != QLatin1Char('{')) {
            out += c;
            continue;
        }
        const qsizetype close = format.indexOf(QLatin1Char('}'), k);
        static const QRegularExpression item(QStringLiteral("^(\\d+)\\s*(?:,\\s*(-?\\d+))?\\s*(?::.*)?$"));
        const QRegularExpressionMatch m = item.match(format.mid(k + 1, close - k - 1));
        if (close < 0 || !m.hasMatch())
            return cx.raise(int32_t(0x80131537), QStringLiteral("Input string was not in a correct format."));
        const int n = m.captured(1).toInt();
        if (first + n >= a.count)
            return cx.raise(int32_t(0x80131537), QStringLiteral("Index (zero based) must be greater than or equal to "
                                                                 "zero and less than the size of the argument list."));
        QString text;
        if (!a[first + n].isNull() && !toText(cx, a[first + n], text))
            return false;
        const int width = m.captured(2).toInt();
        out += width < 0 ? text.leftJustified(-width) : text.rightJustified(width);
        k = close;
    }
    return true;
}

class StringBuilder : public Object {
public:
    QString typeName() const override { return QStringLiteral("StringBuilder"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"Append", "Append_2", "Append_3", "AppendFormat", "AppendLine",
                                         "AppendLine_2", "ToString", "ToString_2", "Length", "Capacity", "Clear",
                                         "Replace", "Remove", "Insert"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        const bool assigning = kind & (InvokeLet | InvokeSet);
        if (assigning && id != 9 && id != 10)
            return cx.raise(err::NoSuchMember);
        QString text, other;
        int32_t start = 0, length = 0;
        switch (id) {
        case 1: case 2: case 3: // Append of any value: the text scripts see
            if (a.count != 1 || (!a[0].isNull() && !toText(cx, a[0], text)))
                return cx.raiseUnlessPending(err::WrongArgs);
            return grow(cx, text, result);
        case 4: // AppendFormat(format, args...)
            if (a.count < 1 || !toText(cx, a[0], text) || !composite(cx, text, a, 1, other))
                return cx.raiseUnlessPending(err::WrongArgs);
            return grow(cx, other, result);
        case 5: // AppendLine()
            return noArguments(cx, a) && grow(cx, QStringLiteral("\r\n"), result);
        case 6: // AppendLine(text)
            if (a.count != 1 || (!a[0].isNull() && !toText(cx, a[0], text)))
                return cx.raiseUnlessPending(err::WrongArgs);
            return grow(cx, text + QStringLiteral("\r\n"), result);
        case 7:
            result = Value::string(m_text);
            return noArguments(cx, a);
        case 8: // ToString(startIndex, length)
            if (a.count != 2 || !toLong(cx, a[0], start) || !toLong(cx, a[1], length))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (start < 0 || length < 0 || qint64(start) + length > m_text.size())
                return argumentOutOfRange(cx, start < 0 ? "startIndex" : "length");
            result = Value::string(m_text.mid(start, length));
            return true;
        case 9: // Length
            if (!assigning) {
                result = Value::lng(int32_t(m_text.size()));
                return noArguments(cx, a);
            }
            if (a.count != 1 || !toLong(cx, a[0], length))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (length < 0 || length > cx.limits.maxStringLength)
                return argumentOutOfRange(cx, "value");
            m_text = length < m_text.size() ? m_text.left(length) : m_text.leftJustified(length, QChar(0));
            return true;
        case 10:
            if (assigning)
                return true; // the capacity is the toolkit's business
            result = Value::lng(int32_t(std::max<qsizetype>(16, m_text.capacity())));
            return noArguments(cx, a);
        case 11:
            m_text.clear();
            result = Value::object(this);
            return noArguments(cx, a);
        case 12: // Replace(oldValue, newValue)
            if (a.count != 2 || !toText(cx, a[0], text) || (!a[1].isNull() && !toText(cx, a[1], other)))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (text.isEmpty())
                return argumentError(cx, QStringLiteral("String cannot be of zero length.\r\nParameter name: oldValue"));
            m_text.replace(text, other);
            result = Value::object(this);
            return true;
        case 13: // Remove(startIndex, length)
            if (a.count != 2 || !toLong(cx, a[0], start) || !toLong(cx, a[1], length))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (start < 0 || length < 0 || qint64(start) + length > m_text.size())
                return argumentOutOfRange(cx, start < 0 ? "startIndex" : "length");
            m_text.remove(start, length);
            result = Value::object(this);
            return true;
        case 14: // Insert(index, value)
            if (a.count != 2 || !toLong(cx, a[0], start) || (!a[1].isNull() && !toText(cx, a[1], text)))
                return cx.raiseUnlessPending(err::WrongArgs);
            if (start < 0 || start > m_text.size())
                return argumentOutOfRange(cx, "index");
            m_text.insert(start, text);
            result = Value::object(this);
            return true;
        default:
            return cx.raise(err::NoSuchMember);
        }
    }

private:
    // Appends, and gives the builder back, as .NET's Append does (sb.Append_3("a").Append_3("b")).
    bool grow(Context &cx, const QString &text, Value &result)
    {
        if (!appendText(cx, m_text, text))
            return false;
        result = Value::object(this);
        return true;
    }
    QString m_text;
};

} // namespace

bool argumentOutOfRange(Context &cx, const char *parameter)
{
    return cx.raise(ArgumentOutOfRangeError,
                    QStringLiteral("Index was out of range. Must be non-negative and less than the size of the "
                                   "collection.\r\nParameter name: %1").arg(QLatin1String(parameter)));
}

bool invalidOperation(Context &cx, const QString &message)
{
    return cx.raise(InvalidOperationError, message);
}

bool argumentError(Context &cx, const QString &message)
{
    return cx.raise(ArgumentError, message);
}

const QStringList &progIds()
{
    static const QStringList ids{ArrayList::ProgId,
                                 QStringLiteral("System.Collections.SortedList"),
                                 QStringLiteral("System.Collections.Hashtable"),
                                 QStringLiteral("System.Collections.Queue"),
                                 QStringLiteral("System.Collections.Stack"),
                                 QStringLiteral("System.Random"),
                                 QStringLiteral("System.Text.StringBuilder")};
    return ids;
}

Object *create(const QString &progId)
{
    const int which = int(progIds().indexOf(progId, Qt::CaseInsensitive));
    switch (which) {
    case 0: return new ArrayList;
    case 1: return new KeyedList(true);
    case 2: return new KeyedList(false);
    case 3: return new QueueOrStack(false);
    case 4: return new QueueOrStack(true);
    case 5: return new Random;
    case 6: return new StringBuilder;
    default: return nullptr;
    }
}

} // namespace winenv::dotnet
