#include "lexer.h"

#include <cmath>

#include "context.h"

#include <QHash>

#include "convert.h"

namespace vbs {

Kw keywordOf(const QString &word)
{
    static const QHash<QString, Kw> keywords = {
        {"and", Kw::And}, {"as", Kw::As}, {"byref", Kw::ByRef}, {"byval", Kw::ByVal},
        {"call", Kw::Call}, {"case", Kw::Case}, {"class", Kw::Class}, {"const", Kw::Const},
        {"default", Kw::Default}, {"dim", Kw::Dim}, {"do", Kw::Do}, {"each", Kw::Each},
        {"else", Kw::Else}, {"elseif", Kw::ElseIf}, {"empty", Kw::Empty}, {"end", Kw::EndKw},
        {"eqv", Kw::Eqv}, {"erase", Kw::Erase}, {"error", Kw::Error}, {"exit", Kw::Exit},
        {"explicit", Kw::Explicit}, {"false", Kw::False}, {"for", Kw::For},
        {"function", Kw::Function}, {"get", Kw::Get}, {"goto", Kw::GoTo}, {"if", Kw::If},
        {"imp", Kw::Imp}, {"in", Kw::In}, {"is", Kw::Is}, {"let", Kw::Let}, {"loop", Kw::Loop},
        {"me", Kw::Me}, {"mod", Kw::Mod}, {"new", Kw::New}, {"next", Kw::Next}, {"not", Kw::Not},
        {"nothing", Kw::Nothing}, {"null", Kw::Null}, {"on", Kw::On}, {"option", Kw::Option},
        {"or", Kw::Or}, {"preserve", Kw::Preserve}, {"private", Kw::Private},
        {"property", Kw::Property}, {"public", Kw::Public}, {"redim", Kw::ReDim},
        {"resume", Kw::Resume}, {"select", Kw::Select}, {"set", Kw::Set}, {"step", Kw::Step},
        {"stop", Kw::Stop}, {"sub", Kw::Sub}, {"then", Kw::Then}, {"to", Kw::To},
        {"true", Kw::True}, {"until", Kw::Until}, {"wend", Kw::Wend}, {"while", Kw::While},
        {"with", Kw::With}, {"xor", Kw::Xor}, {"randomize", Kw::Randomize},
    };
    return keywords.value(word.toLower(), Kw::None);
}

namespace {

bool isNameStart(QChar c) { return c.isLetter(); }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

class Lexer {
public:
    Lexer(const QString &src, std::vector<Token> &out, ScriptError &error, Context *cx)
        : s(src), tokens(out), err(error), cx(cx) {}

    bool run();

private:
    QChar peek(int ahead = 0) const { return pos + ahead < s.size() ? s[pos + ahead] : QChar(); }
    bool fail(int number)
    {
        err.number = number;
        err.description = errorText(number);
        err.line = line;
        err.column = pos - lineStart + 1;
        return false;
    }
    void push(Tok kind, int startPos)
    {
        Token t;
        t.kind = kind;
        t.line = line;
        t.column = startPos - lineStart + 1;
        tokens.push_back(std::move(t));
    }
    void newline()
    {
        ++line;
        lineStart = pos;
    }
    bool lastEndsOperand() const
    {
        if (tokens.empty())
            return false;
        const Token &t = tokens.back();
        return t.kind == Tok::Word || t.kind == Tok::RParen;
    }
    // &H1F, &O17, &17: an & that begins a number rather than the & operator ("x" &hi).
    bool startsRadixNumber() const
    {
        const QChar kind = peek(1);
        if (kind == QLatin1Char('H') || kind == QLatin1Char('h'))
            return isxdigit(peek(2).toLatin1());
        if (kind == QLatin1Char('O') || kind == QLatin1Char('o'))
            return peek(2) >= QLatin1Char('0') && peek(2) <= QLatin1Char('7');
        return kind >= QLatin1Char('0') && kind <= QLatin1Char('7');
    }
    bool number();
    bool string();
    bool date();
    bool word();

    const QString &s;
    std::vector<Token> &tokens;
    ScriptError &err;
    Context *cx;
    int pos = 0;
    int line = 1;
    int lineStart = 0;
    bool spaceBefore = false;
};

bool Lexer::run()
{
    constexpr int Stretch = 1 << 14;
    int nextReport = Stretch;
    while (pos < s.size()) {
        if (pos >= nextReport && cx) {
            nextReport = pos + Stretch;
            if (!cx->spend(Stretch)) {
                err = cx->error();
                err.line = line;
                err.column = pos - lineStart + 1;
                return false;
            }
        }
        const QChar c = s[pos];
        const int start = pos;
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0xA0)) {
            ++pos;
            spaceBefore = true;
            continue;
        }
        const bool hadSpace = spaceBefore;
        spaceBefore = false;
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            ++pos;
            if (c == QLatin1Char('\r') && peek() == QLatin1Char('\n'))
                ++pos;
            push(Tok::EndOfStatement, start);
            newline();
            continue;
        }
        if (c == QLatin1Char(':')) {
            ++pos;
            push(Tok::EndOfStatement, start);
            tokens.back().text = QStringLiteral(":");
            continue;
        }
        if (c == QLatin1Char('\'')) {
            while (pos < s.size() && s[pos] != QLatin1Char('\r') && s[pos] != QLatin1Char('\n'))
                ++pos;
            continue;
        }
        if (c == QLatin1Char('_')) {
            // Line continuation: an underscore, blanks, then the line break.
            int p = pos + 1;
            while (p < s.size() && (s[p] == QLatin1Char(' ') || s[p] == QLatin1Char('\t')))
                ++p;
            if (p >= s.size() || s[p] == QLatin1Char('\r') || s[p] == QLatin1Char('\n')) {
                pos = p;
                if (pos < s.size()) {
                    if (s[pos] == QLatin1Char('\r') && peek(1) == QLatin1Char('\n'))
                        ++pos;
                    ++pos;
                    newline();
                }
                spaceBefore = true;
                continue;
            }
            return fail(err::InvalidCharacter);
        }
        if (isNameStart(c)) {
            if (!word())
                return false;
            continue;
        }
        if (c.isDigit() || (c == QLatin1Char('.') && peek(1).isDigit() && !(lastEndsOperand() && !hadSpace))) {
            if (!number())
                return false;
            continue;
        }
        if (c == QLatin1Char('&') && startsRadixNumber()) {
            if (!number())
                return false;
            continue;
        }
        if (c == QLatin1Char('"')) {
            if (!string())
                return false;
            continue;
        }
        if (c == QLatin1Char('#')) {
            if (!date())
                return false;
            continue;
        }
        if (c == QLatin1Char('[')) {
            const int close = s.indexOf(QLatin1Char(']'), pos);
            const int eol = s.indexOf(QLatin1Char('\n'), pos);
            if (close < 0 || (eol >= 0 && eol < close))
                return fail(err::InvalidCharacter);
            push(Tok::Word, start);
            tokens.back().text = s.mid(pos + 1, close - pos - 1);
            pos = close + 1;
            continue;
        }
        ++pos;
        switch (c.unicode()) {
        case '.':
            push(lastEndsOperand() && !hadSpace ? Tok::Dot : Tok::WithDot, start);
            break;
        case '(':
            push(Tok::LParen, start);
            tokens.back().spaced = hadSpace;
            break;
        case ')': push(Tok::RParen, start); break;
        case ',': push(Tok::Comma, start); break;
        case '+': push(Tok::Plus, start); break;
        case '-': push(Tok::Minus, start); break;
        case '*': push(Tok::Star, start); break;
        case '/': push(Tok::Slash, start); break;
        case '\\': push(Tok::Backslash, start); break;
        case '^': push(Tok::Caret, start); break;
        case '&': push(Tok::Amp, start); break;
        case '=': // => and =< are >= and <= written the other way round
            if (peek() == QLatin1Char('>')) { ++pos; push(Tok::Ge, start); }
            else if (peek() == QLatin1Char('<')) { ++pos; push(Tok::Le, start); }
            else push(Tok::Eq, start);
            break;
        case '<':
            if (peek() == QLatin1Char('>')) { ++pos; push(Tok::Ne, start); }
            else if (peek() == QLatin1Char('=')) { ++pos; push(Tok::Le, start); }
            else push(Tok::Lt, start);
            break;
        case '>':
            if (peek() == QLatin1Char('=')) { ++pos; push(Tok::Ge, start); }
            else if (peek() == QLatin1Char('<')) { ++pos; push(Tok::Ne, start); }
            else push(Tok::Gt, start);
            break;
        default:
            --pos;
            return fail(err::InvalidCharacter);
        }
    }
    push(Tok::EndOfStatement, pos);
    push(Tok::End, pos);
    return true;
}

bool Lexer::word()
{
    const int start = pos;
    while (pos < s.size() && isNameChar(s[pos]))
        ++pos;
    const QString name = s.mid(start, pos - start);
    const Kw kw = keywordOf(name);
    if (kw == Kw::None && name.compare(QLatin1String("rem"), Qt::CaseInsensitive) == 0) {
        // Rem starts a comment that runs to the end of the line.
        while (pos < s.size() && s[pos] != QLatin1Char('\r') && s[pos] != QLatin1Char('\n'))
            ++pos;
        return true;
    }
    // A type-declaration suffix is not VBScript; names are letters, digits and underscores.
    push(Tok::Word, start);
    tokens.back().text = name;
    // After a member dot a keyword is just a member name (obj.End, Err.Description).
    const bool afterDot = tokens.size() >= 2 && (tokens[tokens.size() - 2].kind == Tok::Dot
                                                 || tokens[tokens.size() - 2].kind == Tok::WithDot);
    tokens.back().keyword = afterDot ? Kw::None : kw;
    return true;
}

bool Lexer::number()
{
    const int start = pos;
    Value v;
    if (s[pos] == QLatin1Char('&')) {
        ++pos;
        int base = 8;
        if (peek() == QLatin1Char('H') || peek() == QLatin1Char('h')) {
            base = 16;
            ++pos;
        } else if (peek() == QLatin1Char('O') || peek() == QLatin1Char('o')) {
            ++pos;
        }
        const int digitsStart = pos;
        while (pos < s.size() && (base == 16 ? isxdigit(s[pos].toLatin1()) : (s[pos] >= QLatin1Char('0') && s[pos] <= QLatin1Char('7'))))
            ++pos;
        if (pos == digitsStart)
            return fail(err::SyntaxError);
        bool ok = false;
        const qulonglong n = s.mid(digitsStart, pos - digitsStart).toULongLong(&ok, base);
        // A trailing & takes the digits as a 32-bit number, typed by its value: &hFFFF& is
        // the Long 65535, &hFFFFFFFF& the Integer -1. Without it, up to 16 bits wrap to an
        // Integer (&hFFFF is -1) and more make a Long.
        bool asLong = false;
        if (peek() == QLatin1Char('&') && !(peek(1).isLetterOrNumber())) {
            ++pos;
            asLong = true;
        }
        if (!ok || n > 0xFFFFFFFFULL)
            return fail(err::InvalidNumber);
        const int32_t value32 = int32_t(uint32_t(n));
        if (asLong)
            v = value32 >= -32768 && value32 <= 32767 ? Value::integer(int16_t(value32)) : Value::lng(value32);
        else if (n <= 0xFFFF)
            v = Value::integer(int16_t(uint16_t(n)));
        else
            v = Value::lng(value32);
    } else {
        bool isFloat = false;
        while (pos < s.size() && s[pos].isDigit())
            ++pos;
        if (peek() == QLatin1Char('.') && peek(1).isDigit()) {
            isFloat = true;
            ++pos;
            while (pos < s.size() && s[pos].isDigit())
                ++pos;
        } else if (peek() == QLatin1Char('.') && !isNameStart(peek(1))) {
            isFloat = true;
            ++pos;
        }
        if ((peek() == QLatin1Char('e') || peek() == QLatin1Char('E'))
            && (peek(1).isDigit() || ((peek(1) == QLatin1Char('+') || peek(1) == QLatin1Char('-')) && peek(2).isDigit()))) {
            isFloat = true;
            pos += 2;
            while (pos < s.size() && s[pos].isDigit())
                ++pos;
        }
        const QString text = s.mid(start, pos - start);
        bool ok = false;
        const double d = text.toDouble(&ok);
        if (!ok || !std::isfinite(d)) // a number no Double holds (1e999, 400 digits)
            return fail(err::Overflow);
        if (!isFloat && d <= 32767)
            v = Value::integer(int16_t(d));
        else if (!isFloat && d <= 2147483647.0)
            v = Value::lng(int32_t(d));
        else
            v = Value::dbl(d);
    }
    // A keyword may follow a number directly: (1or 2), (&h01or&h02).
    push(Tok::Number, start);
    tokens.back().number = v;
    return true;
}

bool Lexer::string()
{
    const int start = pos;
    ++pos;
    QString text;
    for (;;) {
        if (pos >= s.size() || s[pos] == QLatin1Char('\r') || s[pos] == QLatin1Char('\n'))
            return fail(err::UnterminatedString);
        if (s[pos] == QLatin1Char('"')) {
            if (peek(1) == QLatin1Char('"')) {
                text += QLatin1Char('"');
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        text += s[pos++];
    }
    push(Tok::String, start);
    tokens.back().text = text;
    return true;
}

bool Lexer::date()
{
    const int start = pos;
    const int close = s.indexOf(QLatin1Char('#'), pos + 1);
    const int eol = s.indexOf(QLatin1Char('\n'), pos + 1);
    if (close < 0 || (eol >= 0 && eol < close))
        return fail(err::SyntaxError);
    const std::optional<double> d = parseDate(s.mid(pos + 1, close - pos - 1));
    if (!d)
        return fail(err::SyntaxError);
    pos = close + 1;
    push(Tok::Date, start);
    tokens.back().number = Value::date(*d);
    return true;
}

} // namespace

bool tokenize(const QString &source, std::vector<Token> &tokens, ScriptError &error, Context *cx)
{
    tokens.clear();
    Lexer lexer(source, tokens, error, cx);
    return lexer.run();
}

} // namespace vbs
