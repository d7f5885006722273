#include "value.h"

#include "dispatch.h"

namespace vbs {

Value Value::object(Object *o)
{
    Value v;
    v.m_type = VType::Object;
    v.m_o = o;
    if (o)
        o->addRef();
    return v;
}

Value Value::array(ArrayData *a)
{
    Value v;
    v.m_type = VType::Array;
    v.m_a = a;
    return v;
}

bool Value::isNumeric() const
{
    switch (m_type) {
    case VType::Byte:
    case VType::Integer:
    case VType::Long:
    case VType::Single:
    case VType::Double:
    case VType::Currency:
        return true;
    default:
        return false;
    }
}

namespace {

// Arrays nested in arrays go one after the other, like objects (see Object::reclaim).
void reclaimArray(ArrayData *array)
{
    static thread_local int depth = 0;
    static thread_local std::vector<ArrayData *> pending;
    if (depth > 0) {
        pending.push_back(array);
        return;
    }
    ++depth;
    delete array;
    while (!pending.empty()) {
        ArrayData *next = pending.back();
        pending.pop_back();
        delete next;
    }
    --depth;
}

} // namespace

void Value::letGo()
{
    // Until this slot stays as it is: what was released may store into it again.
    while (holdsData(m_type)) {
        Value old(std::move(*this));
    }
}

void Value::destroy()
{
    switch (m_type) {
    case VType::String:
        m_s.~QString();
        break;
    case VType::Object:
        if (Object *o = m_o) {
            m_type = VType::Empty; // a terminator that reads this slot sees it gone
            o->release();
        }
        break;
    case VType::Array:
        if (--m_a->refs == 0)
            reclaimArray(m_a);
        break;
    default:
        break;
    }
}

void Value::copyFrom(const Value &other)
{
    switch (m_type) {
    case VType::String:
        new (&m_s) QString(other.m_s);
        break;
    case VType::Object:
        m_o = other.m_o;
        if (m_o)
            m_o->addRef();
        break;
    case VType::Array:
        m_a = other.m_a;
        ++m_a->refs;
        break;
    default:
        m_cy = other.m_cy;
        break;
    }
}

void Value::moveFrom(Value &other) noexcept
{
    if (m_type == VType::String) {
        new (&m_s) QString(std::move(other.m_s));
        other.m_s.~QString();
    } else {
        m_cy = other.m_cy;
    }
    other.m_type = VType::Empty;
    other.m_cy = 0;
}

Value &Value::assignCopySlow(const Value &other)
{
    if (this == &other)
        return *this;
    if (m_type == VType::String && other.m_type == VType::String) {
        m_s = other.m_s;
        return *this;
    }
    Value copy(other); // the old value may own the new one (an object's last reference)
    *this = std::move(copy);
    return *this;
}

Value &Value::assignSlow(Value &&other) noexcept
{
    if (this == &other)
        return *this;
    if (holdsData(m_type)) {
        Value old(std::move(*this));
        m_type = other.m_type;
        moveFrom(other);
        return *this; // old is released after the new value is in place
    }
    m_type = other.m_type;
    moveFrom(other);
    return *this;
}

ArrayData *Value::unshareArray()
{
    auto *copy = new ArrayData;
    copy->lbounds = m_a->lbounds;
    copy->counts = m_a->counts;
    copy->data = m_a->data;
    copy->fixed = m_a->fixed;
    copy->elements = m_a->elements;
    --m_a->refs;
    m_a = copy;
    return m_a;
}

QByteArray ArrayData::bytes() const
{
    QByteArray out(qsizetype(data.size()), Qt::Uninitialized);
    for (size_t i = 0; i < data.size(); ++i)
        out[qsizetype(i)] = char(data[i].type() == VType::Byte ? data[i].asByte() : 0);
    return out;
}

ArrayData *ArrayData::fromBytes(const QByteArray &bytes)
{
    auto *a = new ArrayData;
    a->elements = VType::Byte;
    a->counts.push_back(int32_t(bytes.size()));
    a->lbounds.push_back(0);
    a->data.reserve(size_t(bytes.size()));
    for (const char b : bytes)
        a->data.push_back(Value::byte(uint8_t(b)));
    return a;
}

ArrayData *ArrayData::fromValues(std::vector<Value> values)
{
    auto *a = new ArrayData;
    a->counts.push_back(int32_t(values.size()));
    a->lbounds.push_back(0);
    a->data = std::move(values);
    return a;
}

ArrayData *ArrayData::fromStrings(const QStringList &texts)
{
    std::vector<Value> values;
    values.reserve(size_t(texts.size()));
    for (const QString &s : texts)
        values.push_back(Value::string(s));
    return fromValues(std::move(values));
}

int64_t ArrayData::flatIndex(const int32_t *subscripts, int n) const
{
    if (n != int(counts.size()) || data.empty()) // an empty array (Dim a()) has no element at all
        return -1;
    int64_t index = 0, stride = 1;
    for (int d = 0; d < n; ++d) {
        const int64_t offset = int64_t(subscripts[d]) - lbounds[d];
        if (offset < 0 || offset >= counts[d])
            return -1;
        index += offset * stride;
        stride *= counts[d];
    }
    return index;
}

void Object::reclaim(Object *object)
{
    static thread_local int depth = 0;
    static thread_local std::vector<Object *> pending;
    if (depth > 0) {
        pending.push_back(object);
        return;
    }
    ++depth;
    object->lastReferenceGone();
    while (!pending.empty()) {
        Object *next = pending.back();
        pending.pop_back();
        next->lastReferenceGone();
    }
    --depth;
}

bool Object::enumerate(Context &, std::vector<Value> &)
{
    return false;
}

} // namespace vbs
