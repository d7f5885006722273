#pragma once

#include <QRegularExpression>

#include "dispatch.h"

namespace vbs {

// The RegExp object (New RegExp): Pattern, IgnoreCase, Global, Multiline; Test, Execute
// (a Matches collection of Match objects with SubMatches) and Replace ($1, $&, $$ ...).
class RegExpObject : public Object {
public:
    static inline const QString ClassName = QStringLiteral("RegExp");

    QString typeName() const override { return QStringLiteral("IRegExp2"); }
    int memberId(const QString &name) override;
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;

private:
    bool compiled(Context &cx, QRegularExpression &re) const;

    QString m_pattern;
    bool m_ignoreCase = false;
    bool m_global = false;
    bool m_multiline = false;
};

} // namespace vbs
