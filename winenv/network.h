#pragma once

#include "dispatch.h"

// WScript.Network: who and where the script runs (UserName, UserDomain, ComputerName), the
// network shares mounted here and the printers CUPS knows.
namespace winenv {

class Network : public vbs::Object {
public:
    static inline const QString ProgId = QStringLiteral("WScript.Network");
    QString typeName() const override { return QStringLiteral("IWshNetwork2"); }
    int memberId(const QString &name) override;
    bool invoke(vbs::Context &cx, int id, vbs::Invoke kind, vbs::Args args, vbs::Value &result) override;
};

// A WshCollection (Count(), Length, Item(i), For Each) over the texts given.
vbs::Object *newWshCollection(const QStringList &items);

} // namespace winenv
