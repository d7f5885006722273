#pragma once

#include "ast.h"
#include "context.h"

namespace vbs {

// VBScript's operators on Variants: arithmetic with Integer -> Long -> Double promotion on
// overflow, string + and &, comparisons between strings, numbers, Empty and Null, Null
// propagation, and the logical operators that are bitwise on numbers.
bool binaryOp(Context &cx, BinOp op, const Value &a, const Value &b, Value &out);
bool negate(Context &cx, const Value &a, Value &out);
bool logicalNot(Context &cx, const Value &a, Value &out);

// -1, 0, 1; or 2 when either side is Null. Text compares binary unless textCompare.
bool compareValues(Context &cx, const Value &a, const Value &b, int &result, bool textCompare = false);

// Fits an exact integer result into the smallest of Integer, Long or Double that the
// operands' type allows.
Value integerResult(int64_t r, VType atLeast);

} // namespace vbs
