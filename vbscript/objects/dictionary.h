#pragma once

#include <vector>

#include "dispatch.h"

namespace vbs {

// Scripting.Dictionary: keys of any scalar type to values, in the order they were added.
// Every member takes constant time on average: the keys are hashed straight from the
// Variant, and a removal leaves a gap in the order that later compaction closes.
class Dictionary : public Container {
public:
    static inline const QString ClassId = QStringLiteral("Scripting.Dictionary");

    QString typeName() const override { return QStringLiteral("Dictionary"); }
    int memberId(const QString &name) override;
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;
    bool enumerate(Context &cx, std::vector<Value> &items) override;
    void dropValues() override;

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
        Value given; // the key as the script gave it
        Value value;
        size_t hash = 0;
        bool live = true;
    };
    // Whether an entry's key is the key looked for.
    bool matches(const Entry &e, const Key &key, size_t hash) const;
    bool keyOf(Context &cx, const Value &key, Key &out) const;
    // The entry of the key, or -1; `slot` is where the index holds it, or where it would go.
    long find(const Key &key, size_t hash, size_t &slot) const;
    long find(const Key &key) const;
    long add(Key &&key, size_t hash, const Value &original, const Value &value);
    void removeAt(long at);
    size_t slotOf(long at) const; // the slot that holds the entry
    // Rebuilds the index for the live entries, closing the gaps in their order.
    void rebuild(bool compact);

    bool m_textMode = false; // CompareMode 1
    int m_compareMode = 0;
    std::vector<Entry> m_entries; // in the order of adding; removed ones wait for compaction
    size_t m_live = 0;
    // Open addressing: each slot holds an entry's position, Free, or Gone (a removed one).
    static constexpr int32_t Free = -1, Gone = -2;
    std::vector<int32_t> m_slots;
    size_t m_used = 0; // slots not Free
};

} // namespace vbs
