#include "consolehost.h"

#include <cstdio>

#include "consoleinput.h"
#include "context.h"

namespace {

int defaultButton(int buttons)
{
    static const int sets[][3] = {{1, 1, 1}, {1, 2, 2}, {3, 4, 5}, {6, 7, 2}, {6, 7, 7}, {4, 2, 2}};
    const int set = buttons & 7;
    return set > 5 ? 1 : sets[set][((buttons >> 8) & 3) % 3];
}

} // namespace

int ConsoleHost::msgBox(const QString &prompt, int buttons, const QString &)
{
    if (!interactive())
        return defaultButton(buttons);
    std::fputs(prompt.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return defaultButton(buttons);
}

std::optional<QString> ConsoleHost::inputBox(vbs::Context &cx, const QString &prompt, const QString &, const QString &defaultText)
{
    if (!interactive())
        return defaultText;
    std::fputs(prompt.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    const std::optional<QByteArray> line = ConsoleInput::standard().readLine(cx);
    if (!line) // the end of input, or the time limit passed while waiting
        return defaultText.isEmpty() ? std::optional<QString>(QString()) : std::optional<QString>(defaultText);
    return QString::fromUtf8(*line);
}
