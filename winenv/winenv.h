#pragma once

#include <QString>
#include <functional>

#include "context.h"

// The Windows environment that scripts expect around the language, answered from the live
// Linux system: the library objects of a Windows machine (the .NET collections, ADODB.Stream)
// and, loaded on first use, the ones that need more libraries. Both hosts register them.
namespace winenv {

using Register = std::function<void(const QString &progId, vbs::ClassFactory factory)>;

// Registers every class this room makes with CreateObject.
void registerObjects(const Register &add);

using RegisterMoniker = std::function<void(const QString &scheme, vbs::MonikerFactory factory)>;
// Registers the GetObject schemes this room answers (winmgmts: for WMI).
void registerMonikers(const RegisterMoniker &add);

} // namespace winenv
