#pragma once

#include <QString>
#include <vector>

#include "errors.h"
#include "value.h"

namespace vbs {

enum class Tok : uint8_t {
    Word,       // a name or a keyword (see Token::keyword)
    Number,     // a numeric literal, typed as VBScript types it
    String,
    Date,
    Dot,        // '.' after a name or ')' : member access
    WithDot,    // '.' that starts a member of the With object
    LParen, RParen, Comma, Eq, Ne, Lt, Gt, Le, Ge,
    Plus, Minus, Star, Slash, Backslash, Caret, Amp,
    EndOfStatement, // a line break or ':'
    End,
};

enum class Kw : uint8_t {
    None, And, As, ByRef, ByVal, Call, Case, Class, Const, Default, Dim, Do, Each, Else, ElseIf,
    Empty, EndKw, Eqv, Erase, Error, Exit, Explicit, False, For, Function, Get, GoTo, If, Imp,
    In, Is, Let, Loop, Me, Mod, New, Next, Not, Nothing, Null, On, Option, Or, Preserve, Private,
    Property, Public, ReDim, Resume, Select, Set, Step, Stop, Sub, Then, To, True, Until, Wend,
    While, With, Xor, Randomize,
};

struct Token {
    Tok kind = Tok::End;
    Kw keyword = Kw::None;
    QString text;   // the name as written, or the string literal's contents
    Value number;   // Number and Date tokens
    int line = 1;
    int column = 1;
    bool spaced = false; // blanks before it (for '(': a call statement's first argument)
};

class Context;

// Splits script text into tokens. On failure returns false with a compile error. With a
// context, the work is reported to its clock: a huge text stops at the time limit.
bool tokenize(const QString &source, std::vector<Token> &tokens, ScriptError &error, Context *cx = nullptr);

// Keyword id of a word in any letter case, or Kw::None.
Kw keywordOf(const QString &word);

} // namespace vbs
