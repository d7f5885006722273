#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "ast.h"
#include "errors.h"
#include "lexer.h"

namespace vbs {

class Interp;

// What one piece of script text declares and runs.
struct Unit {
    Block top;
    std::vector<std::unique_ptr<Proc>> procs;
    std::vector<std::unique_ptr<ClassDef>> classes;
    NameList globalDims;                      // Dim/Public/Private at script level
    std::vector<std::pair<QString, Expr *>> globalConsts;
    bool optionExplicit = false;
};

// Parses script text into a unit; nodes are made in the interpreter's arena. Top-level
// procedures and classes are collected; statements in between form `top`.
bool parse(Interp &I, const QString &text, Unit &unit, ScriptError &error);
// Parses text that is one expression (for Eval).
bool parseExpression(Interp &I, const QString &text, Expr *&expression, ScriptError &error);

} // namespace vbs
