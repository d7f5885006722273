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
    // The pattern compiled (and JIT-compiled) once per change of Pattern, IgnoreCase or
    // Multiline; 5017 for a pattern with a syntax error.
    const QRegularExpression *compiled(Context &cx);

    QRegularExpression m_compiled;
    bool m_stale = true;
    QString m_pattern;
    bool m_ignoreCase = false;
    bool m_global = false;
    bool m_multiline = false;
};

} // namespace vbs
