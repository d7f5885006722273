#pragma once

#include <QHash>
#include <vector>

#include "dispatch.h"

namespace vbs {

// Scripting.Dictionary: keys of any scalar type to values, in the order they were added.
class Dictionary : public Object {
public:
    static inline const QString ClassId = QStringLiteral("Scripting.Dictionary");

    QString typeName() const override { return QStringLiteral("Dictionary"); }
    int memberId(const QString &name) override;
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;
    bool enumerate(Context &cx, std::vector<Value> &items) override;

private:
    // Keys compare by type family and value: 1 and "1" differ, 1 and 1.0 are one key;
    // with CompareMode 1 (text) letter case is ignored.
    bool keyOf(Context &cx, const Value &key, QString &out) const;
    int find(const QString &key) const { return m_index.value(key, -1); }

    std::vector<Value> m_keys;
    std::vector<Value> m_values;
    QHash<QString, int> m_index;
    int m_compareMode = 0;
};

} // namespace vbs
