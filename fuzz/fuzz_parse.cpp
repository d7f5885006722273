// Fuzzes the lexer and the parser: any text gives a tree or a compile error.
#include "harness.h"
#include "interpreter.h"
#include "parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    vbs::Interp interp;
    vbs::Unit unit;
    vbs::ScriptError error;
    vbs::parse(interp, fuzz::scriptText(data, size), unit, error);
    return 0;
}
