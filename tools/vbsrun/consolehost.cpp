#include "consolehost.h"

#include <QDir>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "consoleinput.h"
#include "context.h"

namespace {

struct Button {
    const char *name;
    int answer; // vbOK 1, vbCancel 2, vbAbort 3, vbRetry 4, vbIgnore 5, vbYes 6, vbNo 7
};

// The buttons of each set (the low three bits of MsgBox's buttons argument), in order.
QList<Button> buttonsOf(int buttons)
{
    switch (buttons & 7) {
    case 1: return {{"OK", 1}, {"Cancel", 2}};
    case 2: return {{"Abort", 3}, {"Retry", 4}, {"Ignore", 5}};
    case 3: return {{"Yes", 6}, {"No", 7}, {"Cancel", 2}};
    case 4: return {{"Yes", 6}, {"No", 7}};
    case 5: return {{"Retry", 4}, {"Cancel", 2}};
    default: return {{"OK", 1}};
    }
}

int defaultButton(int buttons)
{
    const QList<Button> set = buttonsOf(buttons);
    return set[qMin(int((buttons >> 8) & 3), int(set.size()) - 1)].answer;
}

// The button an answer names: its first letter, its name, or its number in the list.
std::optional<int> answerOf(const QList<Button> &set, const QString &typed)
{
    const QString answer = typed.trimmed();
    bool isNumber = false;
    const int n = answer.toInt(&isNumber);
    if (isNumber)
        return n >= 1 && n <= set.size() ? std::optional<int>(set[n - 1].answer) : std::nullopt;
    for (const Button &b : set) {
        const QString name = QString::fromLatin1(b.name);
        if (answer.compare(name, Qt::CaseInsensitive) == 0
            || (answer.size() == 1 && answer.compare(name.left(1), Qt::CaseInsensitive) == 0))
            return b.answer;
    }
    return std::nullopt;
}

void print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int ConsoleHost::msgBox(vbs::Context &cx, const QString &prompt, int buttons, const QString &)
{
    if (!interactive())
        return defaultButton(buttons);
    print(prompt + QLatin1Char('\n'));
    const QList<Button> set = buttonsOf(buttons);
    // A choice is asked for only from someone at a terminal; a pipe, a file or the end of
    // input takes the default button, as a script run unattended must.
    if (set.size() == 1 || !isatty(STDIN_FILENO))
        return defaultButton(buttons);
    QStringList choices;
    for (int i = 0; i < set.size(); ++i)
        choices << QStringLiteral("%1) [%2]%3").arg(i + 1).arg(QLatin1Char(set[i].name[0])).arg(QString::fromLatin1(set[i].name + 1));
    const QString question = choices.join(QLatin1String("  ")) + QStringLiteral("  (Enter: %1)? ")
        .arg(QString::fromLatin1(std::find_if(set.begin(), set.end(), [&](const Button &b) { return b.answer == defaultButton(buttons); })->name));
    for (;;) {
        print(question);
        const std::optional<QByteArray> line = ConsoleInput::standard().readLine(cx);
        if (!line) { // the end of input, or the time limit passed while waiting
            print(QStringLiteral("\n"));
            return defaultButton(buttons);
        }
        if (line->trimmed().isEmpty())
            return defaultButton(buttons);
        if (const std::optional<int> answer = answerOf(set, QString::fromUtf8(*line)))
            return *answer;
    }
}

std::optional<QString> ConsoleHost::browseForFolder(vbs::Context &cx, const QString &title, const QString &root)
{
    if (!interactive() || !isatty(STDIN_FILENO))
        return std::nullopt;
    print(QStringLiteral("%1\nFolder%2 (Enter: cancel)? ").arg(title, root.isEmpty() ? QString() : QStringLiteral(" under %1").arg(root)));
    const std::optional<QByteArray> line = ConsoleInput::standard().readLine(cx);
    if (!line || line->trimmed().isEmpty())
        return std::nullopt;
    const QString typed = QString::fromUtf8(line->trimmed());
    return QDir::isAbsolutePath(typed) || root.isEmpty() ? typed : root + QLatin1Char('/') + typed;
}

std::optional<QString> ConsoleHost::inputBox(vbs::Context &cx, const QString &prompt, const QString &, const QString &defaultText)
{
    if (!interactive())
        return defaultText;
    print(prompt + QLatin1Char('\n'));
    const std::optional<QByteArray> line = ConsoleInput::standard().readLine(cx);
    if (!line) // the end of input, or the time limit passed while waiting
        return defaultText.isEmpty() ? std::optional<QString>(QString()) : std::optional<QString>(defaultText);
    return QString::fromUtf8(*line);
}
