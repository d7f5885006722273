#include "cmdreplace.h"

#include <QList>
#include <QStringList>

const CommandWord commandWords[16] = {
    {"run", "qxCmd.Run"},
    {"SendKeys", "qxCmd.qxSendKeys"},
    {"AppActivate", "qxCmd.qxActivateApplication"},
    {"DoEvents", "qxCmd.qxDoEvents"},
    {"FileLen", "qxCmd.qxFileLen"},
    {"FileCopy", "qxCmd.qxCopyFile"},
    {"CopyFile", "qxCmd.qxCopyFile"},
    {"Chdir", "qxCmd.qxChdir"},
    {"MkDir", "qxCmd.qxMkDir"},
    {"Beep", "qxCmd.qxBeep"},
    {"Shell", "qxCmd.qxShell"},
    {"Kill", "qxCmd.qxKill"},
    {"Rename", "qxCmd.qxRename"},
    // "Instr" begins "InstrRev": InstrRev lines are parked under a placeholder first.
    {"InstrRev", "ABC"},
    {"Instr", "qxCmd.qxInstr"},
    {"ABC", "qxCmd.qxInstrRev"},
};

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString trimSpaces(const QString &line)
{
    qsizetype from = 0, to = line.size();
    while (from < to && line[from] == QLatin1Char(' '))
        ++from;
    while (to > from && line[to - 1] == QLatin1Char(' '))
        --to;
    return line.mid(from, to - from);
}

// One left-to-right replacement pass that carries each character's original line along.
void replaceTracked(QString &text, QList<int> &lines, const QString &from, const QString &to)
{
    QString out;
    QList<int> outLines;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype hit = text.indexOf(from, pos);
        const qsizetype end = hit < 0 ? text.size() : hit;
        out += QStringView(text).mid(pos, end - pos);
        outLines += lines.mid(pos, end - pos);
        if (hit < 0)
            break;
        out += to;
        for (qsizetype i = 0; i < to.size(); ++i)
            outLines << lines[hit];
        pos = hit + from.size();
    }
    text = out;
    lines = outLines;
}

} // namespace

QString cmdReplace(const QString &myCode, const QString &mCmd, const QString &fCmd)
{
    if (myCode.isEmpty())
        return QString();
    const QString word = mCmd.toUpper();
    const qsizetype length = mCmd.size();
    QString result;
    result.reserve(myCode.size() + 64);
    for (const QString &line : myCode.split(CrLf)) {
        const QString trimmed = trimSpaces(line);
        if (trimmed.left(length).toUpper() == word)
            result += fCmd + trimmed.mid(length);
        else
            result += line;
        result += CrLf;
    }
    return result;
}

QString joinContinuations(const QString &code, QList<int> *originalLines)
{
    if (!originalLines) {
        QString joined = code;
        joined.replace(QStringLiteral(" & _ \r\n"), QStringLiteral("&"));
        joined.replace(QStringLiteral(" & _\r\n"), QStringLiteral("&"));
        return joined;
    }
    // Number every character with its line, join, then read off where each line began.
    QString joined = code;
    QList<int> lines;
    lines.reserve(code.size());
    int line = 1;
    for (qsizetype i = 0; i < code.size(); ++i) {
        lines << line;
        if (code[i] == QLatin1Char('\n') && i > 0 && code[i - 1] == QLatin1Char('\r'))
            ++line;
    }
    replaceTracked(joined, lines, QStringLiteral(" & _ \r\n"), QStringLiteral("&"));
    replaceTracked(joined, lines, QStringLiteral(" & _\r\n"), QStringLiteral("&"));
    originalLines->clear();
    int startLine = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= joined.size(); ++i) {
        const bool atBreak = i + 1 < joined.size() && joined[i] == QLatin1Char('\r') && joined[i + 1] == QLatin1Char('\n');
        if (i == joined.size() || atBreak) {
            *originalLines << (lineStart < joined.size() ? lines[lineStart] : startLine);
            if (i == joined.size())
                break;
            startLine = lines[i] + 1;
            lineStart = i + 2;
            ++i;
        }
    }
    return joined;
}

QString rewriteScript(const QString &code, QList<int> *originalLines)
{
    QString text = joinContinuations(code, originalLines);
    for (const CommandWord &row : commandWords)
        text = cmdReplace(text, QString::fromLatin1(row.word), QString::fromLatin1(row.replacement));
    return text;
}
