// Fuzzes the compiler behind the parser: names resolved, constants folded, declarations
// checked, for any text that parses.
#include "compiler.h"
#include "harness.h"
#include "interpreter.h"
#include "parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    vbs::Interp interp;
    interp.beginRun(100);
    vbs::Unit unit;
    vbs::ScriptError error;
    if (vbs::parse(interp, fuzz::scriptText(data, size), unit, error))
        vbs::compileUnit(interp, unit, error);
    interp.endRun();
    return 0;
}
