// MsgBox and InputBox: the language's dialogs, shown by the host.
#include "builtins.h"
#include "convert.h"

namespace vbs::runtime {

namespace {

// The button that answers a box nobody can see: the default one of the button set.
int defaultAnswer(int buttons)
{
    static const int first[] = {1, 1, 3, 6, 6, 4}; // vbOK, vbOK, vbAbort, vbYes, vbYes, vbRetry
    static const int sets[][3] = {{1, 0, 0}, {1, 2, 0}, {3, 4, 5}, {6, 7, 2}, {6, 7, 0}, {4, 2, 0}};
    const int set = buttons & 7;
    if (set > 5)
        return 1;
    const int which = (buttons >> 8) & 3;
    const int answer = sets[set][which];
    return answer ? answer : first[set];
}

// MsgBox(prompt[, buttons[, title[, helpfile, context]]])
bool msgbox(Context &cx, Args a, Value &r)
{
    QString prompt, title;
    int32_t buttons = 0;
    if (!toText(cx, a[0], prompt))
        return false;
    if (a.has(1) && !toLong(cx, a[1], buttons))
        return false;
    if (a.has(2) && !toText(cx, a[2], title))
        return false;
    int answer = defaultAnswer(buttons);
    if (Host *host = cx.host()) {
        if (!cx.inDialog(*host, [&] { answer = host->msgBox(cx, prompt, buttons, title); }))
            return false;
    }
    r = Value::integer(int16_t(answer));
    return true;
}

// InputBox(prompt[, title[, default[, xpos, ypos[, helpfile, context]]]]): Cancel gives "".
bool inputbox(Context &cx, Args a, Value &r)
{
    QString prompt, title, initial;
    if (!toText(cx, a[0], prompt))
        return false;
    if (a.has(1) && !toText(cx, a[1], title))
        return false;
    if (a.has(2) && !toText(cx, a[2], initial))
        return false;
    std::optional<QString> answer;
    if (Host *host = cx.host()) {
        if (!cx.inDialog(*host, [&] { answer = host->inputBox(cx, prompt, title, initial); }))
            return false;
    }
    r = answer ? Value::string(*answer) : Value::string(QString());
    return true;
}

} // namespace

const Builtin dialogFunctions[] = {
    {"MsgBox", 1, 5, msgbox},
    {"InputBox", 1, 7, inputbox},
    {nullptr, 0, 0, nullptr},
};

} // namespace vbs::runtime
