#pragma once

#include <QString>

#include "interpreter.h"

namespace vbs {

// The built-in functions, one table of rows (name, argument counts, body) per area.
const Builtin *findBuiltin(const QString &name);
// vbOK, vbCrLf, ...: the language's named constants.
const Value *findConstant(const QString &name);

namespace runtime {
// Each area's rows, ended by a row with a null name.
extern const Builtin conversionFunctions[];
extern const Builtin stringFunctions[];
extern const Builtin mathFunctions[];
extern const Builtin arrayFunctions[];
extern const Builtin dateFunctions[];
extern const Builtin infoFunctions[];
extern const Builtin dialogFunctions[];
extern const Builtin objectFunctions[];
extern const Builtin formatFunctions[];
extern const Builtin byteFunctions[];
} // namespace runtime

} // namespace vbs
