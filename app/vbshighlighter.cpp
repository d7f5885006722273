#include "vbshighlighter.h"

#include "cmdreplace.h"

namespace {

const QSet<QString> &keywords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char *w : {"and", "as", "byref", "byval", "call", "case", "class", "const", "default", "dim", "do",
                              "each", "else", "elseif", "empty", "end", "eqv", "erase", "error", "exit", "explicit",
                              "false", "for", "function", "get", "goto", "if", "imp", "in", "is", "let", "loop", "me",
                              "mod", "new", "next", "not", "nothing", "null", "on", "option", "or", "preserve",
                              "private", "property", "public", "redim", "rem", "resume", "select", "set", "step",
                              "stop", "sub", "then", "to", "true", "until", "wend", "while", "with", "xor",
                              "randomize"})
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return words;
}

const QSet<QString> &commandWordSet()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const CommandWord &row : commandWords)
            if (QLatin1String(row.replacement).startsWith(QLatin1String("qxCmd.")))
                set.insert(QString::fromLatin1(row.word).toLower());
        set.insert(QStringLiteral("instrrev"));
        return set;
    }();
    return words;
}

bool isWordStart(QChar c) { return c.isLetter(); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

} // namespace

VbsHighlighter::VbsHighlighter(QTextDocument *document) : QSyntaxHighlighter(document) {}

QList<VbsHighlighter::Kind> VbsHighlighter::classify(const QString &line)
{
    QList<Kind> kinds(line.size(), Kind::Plain);
    auto mark = [&kinds](qsizetype from, qsizetype to, Kind k) {
        for (qsizetype i = from; i < to; ++i)
            kinds[i] = k;
    };
    qsizetype i = 0;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c == QLatin1Char('\'')) { // a comment runs to the end of the line
            mark(i, line.size(), Kind::Comment);
            break;
        }
        if (c == QLatin1Char('"')) { // "" inside a string is a quote
            qsizetype end = i + 1;
            while (end < line.size()) {
                if (line[end] == QLatin1Char('"')) {
                    if (end + 1 < line.size() && line[end + 1] == QLatin1Char('"')) {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                ++end;
            }
            mark(i, end, Kind::String);
            i = end;
            continue;
        }
        if (c.isDigit() || (c == QLatin1Char('&') && i + 1 < line.size() && QStringLiteral("hHoO").contains(line[i + 1]))) {
            qsizetype end = i + 1;
            while (end < line.size() && (line[end].isLetterOrNumber() || line[end] == QLatin1Char('.')))
                ++end;
            mark(i, end, Kind::Number);
            i = end;
            continue;
        }
        if (isWordStart(c) && (i == 0 || !isWordChar(line[i - 1]))) {
            qsizetype end = i + 1;
            while (end < line.size() && isWordChar(line[end]))
                ++end;
            const QString word = line.mid(i, end - i).toLower();
            if (word == QLatin1String("rem")) {
                mark(i, line.size(), Kind::Comment);
                break;
            }
            const bool afterDot = i > 0 && line[i - 1] == QLatin1Char('.');
            if (!afterDot && keywords().contains(word))
                mark(i, end, Kind::Keyword);
            else if (!afterDot && commandWordSet().contains(word))
                mark(i, end, Kind::CommandWord);
            i = end;
            continue;
        }
        ++i;
    }
    return kinds;
}

QTextCharFormat VbsHighlighter::format(Kind kind)
{
    QTextCharFormat f;
    switch (kind) {
    case Kind::Keyword: f.setForeground(QColor(0, 0, 160)); f.setFontWeight(QFont::Bold); break;
    case Kind::String: f.setForeground(QColor(160, 0, 0)); break;
    case Kind::Comment: f.setForeground(QColor(0, 110, 0)); f.setFontItalic(true); break;
    case Kind::Number: f.setForeground(QColor(0, 110, 130)); break;
    case Kind::CommandWord: f.setForeground(QColor(120, 0, 140)); f.setFontWeight(QFont::Bold); break;
    case Kind::Plain: break;
    }
    return f;
}

void VbsHighlighter::highlightBlock(const QString &text)
{
    const QList<Kind> kinds = classify(text);
    qsizetype start = 0;
    for (qsizetype i = 1; i <= kinds.size(); ++i) {
        if (i == kinds.size() || kinds[i] != kinds[start]) {
            if (kinds[start] != Kind::Plain)
                setFormat(int(start), int(i - start), format(kinds[start]));
            start = i;
        }
    }
}
