#pragma once

#include "context.h"

// The registry as WScript.Shell's RegRead, RegWrite and RegDelete see it: what scripts write
// is kept per user in $XDG_CONFIG_HOME/vornix-coder/registry.reg, in the format of a .reg
// file (a person can read and edit it), so that settings last across runs; the values
// that scripts read about the system (the product name, the shell folders, the computer's
// name, the environment) answer from Linux and cannot be written.
namespace winenv::registry {

// The store's file.
QString storePath();

bool read(vbs::Context &cx, const QString &path, vbs::Value &result);
// type: REG_SZ, REG_EXPAND_SZ, REG_DWORD or REG_BINARY; empty: by the value's type.
bool write(vbs::Context &cx, const QString &path, const vbs::Value &value, const QString &type);
bool remove(vbs::Context &cx, const QString &path);

} // namespace winenv::registry
