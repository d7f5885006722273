#pragma once

#include <unordered_map>
#include <vector>

#include "dispatch.h"

namespace vbs {

// Scripting.Dictionary: keys of any scalar type to values, in the order they were added.
// Every member takes constant time on average: the keys are hashed straight from the
// Variant, and a removal leaves a gap in the order that later compaction closes.
class Dictionary : public Object {
public:
    static inline const QString ClassId = QStringLiteral("Scripting.Dictionary");

    QString typeName() const override { return QStringLiteral("Dictionary"); }
    int memberId(const QString &name) override;
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;
    bool enumerate(Context &cx, std::vector<Value> &items) override;

    // A key as the dictionary compares it: 1 and "1" differ, 1, 1.0 and CCur(1) are one
    // key, objects are compared by identity, and in text mode letter case is ignored.
    struct Key {
        enum Family : uint8_t { Empty, Null, Number, Text, Object } family = Empty;
        double number = 0;
        QString text;
        const vbs::Object *object = nullptr;
    };
    struct KeyHash {
        const bool *textMode;
        size_t operator()(const Key &k) const;
    };
    struct KeyEqual {
        const bool *textMode;
        bool operator()(const Key &a, const Key &b) const;
    };

private:
    struct Entry {
        Key key;      // as compared
        Value given;  // as the script gave it, for Keys and For Each
        Value value;
        bool live = true;
    };
    bool keyOf(Context &cx, const Value &key, Key &out) const;
    // The entry of the key, or -1.
    long find(const Key &key) const;
    long add(Key &&key, const Value &original, const Value &value);
    void removeAt(long at, const Key &key);
    void compact();

    bool m_textMode = false; // CompareMode 1
    int m_compareMode = 0;
    std::vector<Entry> m_entries; // in the order of adding; removed ones wait for compaction
    size_t m_live = 0;
    std::unordered_map<Key, long, KeyHash, KeyEqual> m_index{16, KeyHash{&m_textMode}, KeyEqual{&m_textMode}};
};

} // namespace vbs
