#pragma once

#include <functional>

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

// A WshCollection (Count(), Length, Item(i), For Each) over the texts given. With byName,
// Item also takes a name that is not a number and gives what byName answers for it.
using NameLookup = std::function<QString(const QString &name)>;
vbs::Object *newWshCollection(const QStringList &items, NameLookup byName = {});

} // namespace winenv
