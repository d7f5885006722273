#include "dictionary.h"

#include <QHash>

#include "context.h"
#include "convert.h"

namespace vbs {

namespace {

enum Id { Add = 1, Exists, Item, Items, Keys, Remove, RemoveAll, Count, CompareMode, KeyId };

constexpr int32_t ElementNotFound = 32811;

} // namespace

size_t Dictionary::KeyHash::operator()(const Key &k) const
{
    switch (k.family) {
    case Key::Number: return std::hash<double>()(k.number == 0 ? 0.0 : k.number); // -0 is 0
    case Key::Object: return std::hash<const void *>()(k.object);
    case Key::Text: {
        if (!*textMode)
            return qHash(k.text);
        size_t h = 14695981039346656037ull; // case-folded, without a folded copy
        for (const QChar c : k.text)
            h = (h ^ c.toCaseFolded().unicode()) * 1099511628211ull;
        return h;
    }
    default: return size_t(k.family);
    }
}

bool Dictionary::KeyEqual::operator()(const Key &a, const Key &b) const
{
    if (a.family != b.family)
        return false;
    switch (a.family) {
    case Key::Number: return a.number == b.number;
    case Key::Object: return a.object == b.object;
    case Key::Text: return a.text.compare(b.text, *textMode ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
    default: return true;
    }
}

int Dictionary::memberId(const QString &name)
{
    static const MemberTable members{"Add", "Exists", "Item", "Items", "Keys", "Remove", "RemoveAll",
                                     "Count", "CompareMode", "Key"};
    return members.id(name);
}

bool Dictionary::keyOf(Context &cx, const Value &key, Key &out) const
{
    const Value *v = &key; // an object is a key by its identity, never by its default value
    switch (v->type()) {
    case VType::Empty: out.family = Key::Empty; return true;
    case VType::Null: out.family = Key::Null; return true;
    case VType::String: out.family = Key::Text; out.text = v->asString(); return true;
    case VType::Object: out.family = Key::Object; out.object = v->asObject(); return true;
    case VType::Array:
    case VType::Error: return cx.raise(err::TypeMismatch);
    default: // numbers of every subtype, Booleans and dates: one family, by value
        out.family = Key::Number;
        return toDouble(cx, *v, out.number);
    }
}

long Dictionary::find(const Key &key, size_t hash, size_t &slot) const
{
    if (m_slots.empty()) {
        slot = 0;
        return -1;
    }
    const size_t mask = m_slots.size() - 1;
    size_t firstGone = size_t(-1);
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const int32_t at = m_slots[i];
        if (at == Free) {
            slot = firstGone != size_t(-1) ? firstGone : i;
            return -1;
        }
        if (at == Gone) {
            if (firstGone == size_t(-1))
                firstGone = i;
            continue;
        }
        if (matches(m_entries[size_t(at)], key, hash)) {
            slot = i;
            return at;
        }
    }
}

bool Dictionary::matches(const Entry &e, const Key &key, size_t hash) const
{
    if (e.hash != hash)
        return false;
    const Value &v = e.given;
    switch (key.family) {
    case Key::Empty: return v.isEmpty();
    case Key::Null: return v.isNull();
    case Key::Text: return v.isString() && v.asString().compare(key.text, m_textMode ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
    case Key::Object: return v.isObject() && v.asObject() == key.object;
    case Key::Number: {
        double d;
        switch (v.type()) {
        case VType::Byte: d = v.asByte(); break;
        case VType::Integer: d = v.asInteger(); break;
        case VType::Long: d = v.asLong(); break;
        case VType::Single: d = v.asSingle(); break;
        case VType::Double:
        case VType::Date: d = v.asDouble(); break;
        case VType::Currency: d = double(v.asCurrency()) / 10000.0; break;
        case VType::Boolean: d = v.asBool() ? -1 : 0; break;
        default: return false;
        }
        return d == key.number;
    }
    }
    return false;
}

long Dictionary::find(const Key &key) const
{
    size_t slot;
    return find(key, KeyHash{&m_textMode}(key), slot);
}

long Dictionary::add(Key &&key, size_t hash, const Value &original, const Value &value)
{
    // At most half the slots in use: probes stay short.
    if ((m_used + 1) * 2 > m_slots.size())
        rebuild(m_entries.size() > 2 * m_live);
    size_t slot;
    find(key, hash, slot);
    const long at = long(m_entries.size());
    if (m_slots[slot] == Free)
        ++m_used;
    m_slots[slot] = int32_t(at);
    m_entries.push_back(Entry{original, value, hash, true});
    ++m_live;
    return at;
}

size_t Dictionary::slotOf(long at) const
{
    const size_t mask = m_slots.size() - 1;
    size_t i = m_entries[size_t(at)].hash & mask;
    while (m_slots[i] != int32_t(at))
        i = (i + 1) & mask;
    return i;
}

void Dictionary::removeAt(long at)
{
    // The entry leaves first and is let go of last, when the dictionary is whole again: a
    // Class_Terminate its value runs may add to or empty this very dictionary.
    Entry gone = std::move(m_entries[size_t(at)]);
    m_slots[slotOf(at)] = Gone;
    m_entries[size_t(at)] = Entry{};
    m_entries[size_t(at)].live = false;
    --m_live;
    // Gaps are closed once they are as many as the entries: each removal costs O(1) on average.
    if (m_entries.size() > 32 && m_entries.size() - m_live > m_live)
        rebuild(true);
}

void Dictionary::rebuild(bool compact)
{
    if (compact) {
        size_t kept = 0;
        for (Entry &e : m_entries)
            if (e.live)
                m_entries[kept++] = std::move(e);
        m_entries.resize(kept);
    }
    size_t size = 16;
    while (size < (m_live + 1) * 4)
        size *= 2;
    m_slots.assign(size, Free);
    m_used = 0;
    const size_t mask = size - 1;
    for (size_t at = 0; at < m_entries.size(); ++at) {
        if (!m_entries[at].live)
            continue;
        size_t i = m_entries[at].hash & mask;
        while (m_slots[i] != Free)
            i = (i + 1) & mask;
        m_slots[i] = int32_t(at);
        ++m_used;
    }
}

bool Dictionary::invoke(Context &cx, int id, Invoke kind, Args args, Value &result)
{
    if (id == DefaultMember)
        id = Item;
    const bool assigning = kind & (InvokeLet | InvokeSet);
    Key key;
    switch (id) {
    case Add: {
        if (args.count != 2)
            return cx.raise(err::WrongArgs);
        if (!keyOf(cx, args[0], key))
            return false;
        const size_t hash = KeyHash{&m_textMode}(key);
        size_t slot;
        if (find(key, hash, slot) >= 0)
            return cx.raise(err::KeyExists);
        add(std::move(key), hash, args[0], args[1]);
        return true;
    }
    case Exists:
        if (args.count != 1 || !keyOf(cx, args[0], key))
            return cx.raiseUnlessPending(err::WrongArgs);
        result = Value::boolean(find(key) >= 0);
        return true;
    case Item: {
        if (args.count != (assigning ? 2 : 1) || !keyOf(cx, args[0], key))
            return cx.raiseUnlessPending(err::WrongArgs);
        // The value's default property runs script code that may change this dictionary:
        // it is taken before the key is looked up.
        Value v;
        if (assigning) {
            if (kind & InvokeSet)
                v = args[1];
            else if (!valueOf(cx, args[1], v))
                return false;
        }
        const size_t hash = KeyHash{&m_textMode}(key);
        size_t slot;
        const long at = find(key, hash, slot);
        if (assigning) {
            if (at < 0)
                add(std::move(key), hash, args[0], v);
            else
                m_entries[size_t(at)].value = std::move(v);
            return true;
        }
        if (at < 0) { // reading a missing key adds it, Empty
            add(std::move(key), hash, args[0], Value());
            return true;
        }
        result = m_entries[size_t(at)].value;
        return true;
    }
    case Items:
    case Keys: {
        auto *a = new ArrayData;
        Value array = Value::array(a);
        a->counts.push_back(int32_t(m_live));
        a->lbounds.push_back(0);
        a->data.reserve(m_live);
        for (const Entry &e : m_entries)
            if (e.live)
                a->data.push_back(id == Keys ? e.given : e.value);
        result = std::move(array);
        return true;
    }
    case Remove: {
        if (args.count != 1 || !keyOf(cx, args[0], key))
            return cx.raiseUnlessPending(err::WrongArgs);
        const long at = find(key);
        if (at < 0)
            return cx.raise(ElementNotFound);
        removeAt(at);
        return true;
    }
    case RemoveAll:
        dropValues();
        return true;
    case Count: result = Value::lng(int32_t(m_live)); return true;
    case CompareMode: {
        if (!assigning) {
            result = Value::lng(m_compareMode);
            return true;
        }
        int32_t mode;
        if (args.count != 1 || !toLong(cx, args[0], mode))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (m_live != 0 || mode < 0 || mode > 2)
            return cx.raise(err::InvalidCall); // only while the dictionary is empty
        m_compareMode = mode;
        m_textMode = mode == 1;
        m_entries.clear();
        m_slots.clear();
        m_used = 0;
        return true;
    }
    case KeyId: { // d.Key(old) = new
        if (!assigning || args.count != 2 || !keyOf(cx, args[0], key))
            return cx.raiseUnlessPending(err::WrongArgs);
        const long at = find(key);
        if (at < 0)
            return cx.raise(ElementNotFound);
        Key fresh;
        if (!keyOf(cx, args[1], fresh))
            return false;
        if (find(fresh) >= 0)
            return cx.raise(err::KeyExists);
        // The entry keeps its place in the order under its new key.
        m_slots[slotOf(at)] = Gone;
        const size_t hash = KeyHash{&m_textMode}(fresh);
        size_t slot;
        find(fresh, hash, slot);
        Entry &e = m_entries[size_t(at)];
        e.hash = hash;
        e.given = args[1];
        if ((m_used + 1) * 2 > m_slots.size()) {
            rebuild(false); // places every live entry, this one under its new key
            return true;
        }
        if (m_slots[slot] == Free)
            ++m_used;
        m_slots[slot] = int32_t(at);
        return true;
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}

void Dictionary::dropValues()
{
    // The entries leave before the values they hold run any Class_Terminate.
    std::vector<Entry> gone;
    gone.swap(m_entries);
    m_slots.clear();
    m_used = m_live = 0;
}

bool Dictionary::enumerate(Context &, std::vector<Value> &items)
{
    items.reserve(m_live);
    for (const Entry &e : m_entries)
        if (e.live)
            items.push_back(e.given);
    return true;
}

} // namespace vbs
