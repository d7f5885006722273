#pragma once

#include <QByteArray>
#include <QString>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

namespace vbs {

class Object;
struct ArrayData;

// VarType codes, as VBScript reports them.
enum class VType : uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Byte = 17,
    Array = 8192,
};

// The error value that stands for an omitted optional argument.
constexpr int32_t MissingArgument = int32_t(0x80020004);

// A number or a Boolean as arithmetic on plain data gives it, small enough to travel in
// two registers: an Integer, a Long or a Boolean (0 or 1) as a whole number, a Double by
// its bits. Every other type is Empty here, which means "no scalar": the value takes the
// general way.
struct Scalar {
    int64_t bits;
    VType type;
    static Scalar none() { return {0, VType::Empty}; }
    static Scalar whole(VType type, int32_t l) { return {l, type}; }
    static Scalar dbl(double d) { return {std::bit_cast<int64_t>(d), VType::Double}; }
    static Scalar boolean(bool b) { return {b, VType::Boolean}; }
    bool isNone() const { return type == VType::Empty; }
    int32_t l() const { return int32_t(bits); }
    double d() const { return std::bit_cast<double>(bits); }
};

// The Variant: a tag and a payload. Numbers, Booleans and dates live inline; strings are
// implicitly shared QStrings; objects and arrays are reference counted (arrays copy on
// write, so assignment keeps VBScript's value semantics).
class Value {
public:
    Value() : m_type(VType::Empty) { m_cy = 0; }
    ~Value() { if (holdsData(m_type)) destroy(); }
    Value(const Value &other) : m_type(other.m_type)
    {
        if (!holdsData(m_type))
            m_cy = other.m_cy;
        else
            copyFrom(other);
    }
    Value(Value &&other) noexcept : m_type(other.m_type)
    {
        if (!holdsData(m_type)) {
            m_cy = other.m_cy;
            other.m_type = VType::Empty;
        } else {
            moveFrom(other);
        }
    }
    Value &operator=(const Value &other)
    {
        if (!holdsData(m_type) && !holdsData(other.m_type)) { // plain data: a copy
            m_type = other.m_type;
            m_cy = other.m_cy;
            return *this;
        }
        return assignCopySlow(other);
    }
    Value &operator=(Value &&other) noexcept
    {
        if (!holdsData(m_type) && !holdsData(other.m_type)) { // plain data: a copy
            m_type = other.m_type;
            m_cy = other.m_cy;
            return *this;
        }
        return assignSlow(std::move(other));
    }

    static Value null() { Value v; v.m_type = VType::Null; return v; }
    static Value boolean(bool b) { Value v; v.m_type = VType::Boolean; v.m_cy = b; return v; }
    static Value byte(uint8_t b) { Value v; v.m_type = VType::Byte; v.m_cy = b; return v; }
    static Value integer(int16_t i) { Value v; v.m_type = VType::Integer; v.m_cy = i; return v; }
    static Value lng(int32_t l) { Value v; v.m_type = VType::Long; v.m_cy = l; return v; }
    static Value single(float f) { Value v; v.m_type = VType::Single; v.m_f = f; return v; } // (the rest stays 0)
    static Value dbl(double d) { Value v; v.m_type = VType::Double; v.m_d = d; return v; }
    static Value currency(int64_t scaled) { Value v; v.m_type = VType::Currency; v.m_cy = scaled; return v; }
    static Value date(double d) { Value v; v.m_type = VType::Date; v.m_d = d; return v; }
    static Value string(const QString &s) { Value v; v.m_type = VType::String; new (&v.m_s) QString(s); return v; }
    static Value string(QString &&s) { Value v; v.m_type = VType::String; new (&v.m_s) QString(std::move(s)); return v; }
    static Value object(Object *o); // takes a new reference; null is Nothing
    static Value error(int32_t code) { Value v; v.m_type = VType::Error; v.m_cy = code; return v; }
    static Value missing() { return error(MissingArgument); }
    static Value array(ArrayData *a); // adopts the reference

    // Strings, objects and arrays: data held outside the Value, shared or counted. Every
    // other type is plain data, copied as its bits.
    // (Numbers up to Date come first and take one comparison.)
    static constexpr bool holdsData(VType t)
    {
        return t >= VType::String && (t <= VType::Object || t == VType::Array);
    }
    bool isPlain() const { return !holdsData(m_type); }

    VType type() const { return m_type; }
    bool isEmpty() const { return m_type == VType::Empty; }
    bool isNull() const { return m_type == VType::Null; }
    bool isString() const { return m_type == VType::String; }
    bool isObject() const { return m_type == VType::Object; }
    bool isArray() const { return m_type == VType::Array; }
    bool isMissing() const { return m_type == VType::Error && m_l == MissingArgument; }
    bool isNumeric() const;   // a number type (Byte .. Currency, Date excluded)

    bool asBool() const { return m_b; }
    uint8_t asByte() const { return m_by; }
    int16_t asInteger() const { return m_i; }
    int32_t asLong() const { return m_l; }
    float asSingle() const { return m_f; }
    double asDouble() const { return m_d; }
    int64_t asCurrency() const { return m_cy; }
    double asDate() const { return m_d; }
    int32_t asError() const { return m_l; }
    const QString &asString() const { return m_s; }
    QString &stringRef() { return m_s; }
    Object *asObject() const { return m_o; }
    ArrayData *asArray() const { return m_a; }
    // An array this value alone holds, for writing (copies a shared array first).
    inline ArrayData *mutableArray();

    // The value as a Scalar, if it is an Integer, a Long, a Double or a Boolean: its
    // payload as it stands, since whole numbers and Booleans are kept widened to 64 bits.
    // (A branch a type, so that the arithmetic after it knows which type it has.)
    [[gnu::always_inline]] Scalar scalar() const
    {
        if (m_type == VType::Long)
            return {m_cy, VType::Long};
        if (m_type == VType::Integer)
            return {m_cy, VType::Integer};
        if (m_type == VType::Double)
            return {m_cy, VType::Double};
        if (m_type == VType::Boolean)
            return {m_cy, VType::Boolean};
        return Scalar::none();
    }
    [[gnu::always_inline]] void setScalar(Scalar s)
    {
        becomePlain(s.type);
        m_cy = s.bits;
    }

    // Plain data in place of what was held. Letting go of an object runs its Class_Terminate,
    // which may store into this very slot: see letGo.
    void clear() { becomePlain(VType::Empty); m_cy = 0; }
    void setLong(int32_t l) { becomePlain(VType::Long); m_cy = l; }
    void setDouble(double d) { becomePlain(VType::Double); m_d = d; }
    void setBool(bool b) { becomePlain(VType::Boolean); m_cy = b; }
    void setInteger(int16_t i) { becomePlain(VType::Integer); m_cy = i; }

private:
    // Lets go of a string, object or array and leaves this Empty. (A setter then stores its
    // number: if Class_Terminate stored into this slot meanwhile, the number wins, and the
    // object it stored was released here, not lost.)
    [[gnu::noinline]] void letGo();
    void becomePlain(VType type)
    {
        if (holdsData(m_type)) [[unlikely]]
            letGo();
        m_type = type;
    }
    ArrayData *unshareArray();
    Value &assignSlow(Value &&other) noexcept;
    Value &assignCopySlow(const Value &other);
    void destroy();
    void copyFrom(const Value &other);
    void moveFrom(Value &other) noexcept;

    VType m_type;
    // Integers, Booleans, Bytes and error codes are stored widened to all 64 bits (a
    // Boolean as 0 or 1), so that a Scalar is the payload as it is.
    union {
        bool m_b;
        uint8_t m_by;
        int16_t m_i;
        int32_t m_l;
        float m_f;
        double m_d;
        int64_t m_cy;
        Object *m_o;
        ArrayData *m_a;
        QString m_s;
    };
};

// Array storage: up to 60 dimensions, lower bounds 0 (kept for arrays from elsewhere),
// elements in column-major order like VBScript's SAFEARRAY (the first index runs fastest).
struct ArrayData {
    int refs = 1;
    int locks = 0;      // elements passed by reference or iterated: no ReDim or Erase now; each lock
                        // comes with a reference held by whoever locked
    bool fixed = false; // declared with bounds (Dim a(3)): never resized
    // Variant for the script's own arrays; Byte for the byte arrays that libraries hand out
    // (ADODB.Stream.Read, XMLHTTP.responseBody): VarType 8209, read as a byte string.
    VType elements = VType::Variant;
    std::vector<int32_t> lbounds;
    std::vector<int32_t> counts;
    std::vector<Value> data;

    int dims() const { return int(counts.size()); }
    int32_t ubound(int dim) const { return lbounds[dim] + counts[dim] - 1; }
    bool isBytes() const { return elements == VType::Byte; }
    // A byte array's bytes; and a new byte array holding these.
    QByteArray bytes() const;
    static ArrayData *fromBytes(const QByteArray &bytes);
    // A new one-dimensional Variant array (lower bound 0) of these values, or of these texts.
    static ArrayData *fromValues(std::vector<Value> values);
    static ArrayData *fromStrings(const QStringList &texts);
    // Flat index for the given subscripts, or -1 when one is out of range.
    int64_t flatIndex(const int32_t *subscripts, int n) const;
};

inline ArrayData *Value::mutableArray()
{
    // The references that pin an element passed by reference are no other holder: writes
    // go to the array that the parameter points into, as VBScript's do.
    return m_a->refs - m_a->locks > 1 ? unshareArray() : m_a;
}

} // namespace vbs
