#pragma once

#include <QString>

// Rewrites one command word: every line (lines end at CR LF) that begins with `mCmd`, after
// its spaces are trimmed and compared in upper case, becomes `fCmd` followed by the rest of
// the trimmed line; other lines pass unchanged. Each line is followed by CR LF in the
// result, so a non-empty text gains one CR LF at its end; the empty text stays empty.
QString cmdReplace(const QString &myCode, const QString &mCmd, const QString &fCmd);

// The command words that a run rewrites, in the order they are applied.
struct CommandWord {
    const char *word;
    const char *replacement;
};
extern const CommandWord commandWords[16];

// Joins continued lines as a run does: " & _ " + CR LF becomes "&", then " & _" + CR LF
// becomes "&", each scanning the whole text from left to right. originalLines, when given,
// receives for each line of the result the 1-based line of the input where it began.
QString joinContinuations(const QString &code, QList<int> *originalLines = nullptr);

// All the rewriting of a run: joining, then each command word in table order.
QString rewriteScript(const QString &code, QList<int> *originalLines = nullptr);
