#include "scripthost.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QTimer>
#include <QMessageBox>
#include <QPushButton>

#include "boxes.h"
#include "focusreturn.h"
#include "frmmain.h"

namespace {

enum Answer { vbOK = 1, vbCancel, vbAbort, vbRetry, vbIgnore, vbYes, vbNo };

struct ButtonSpec {
    QMessageBox::StandardButton button;
    Answer answer;
};

QList<ButtonSpec> buttonSet(int buttons)
{
    switch (buttons & 7) {
    case 1: return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case 2: return {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case 3: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case 4: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case 5: return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default: return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon iconFor(int buttons)
{
    switch (buttons & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int ScriptHost::msgBox(vbs::Context &, const QString &prompt, int buttons, const QString &title)
{
    FocusReturn focusBack(m_owner);
    QMessageBox box(iconFor(buttons), title.isEmpty() ? FrmMain::Title : title, prompt,
                    QMessageBox::NoButton, m_owner);
    const QList<ButtonSpec> set = buttonSet(buttons);
    for (const ButtonSpec &b : set)
        box.addButton(b.button);
    const int preferred = qMin(int((buttons >> 8) & 3), int(set.size()) - 1);
    box.setDefaultButton(set[preferred].button);
    fitTitle(box);
    // Escape answers Cancel where there is one, else the only button.
    for (const ButtonSpec &b : set)
        if (b.answer == vbCancel || set.size() == 1)
            box.setEscapeButton(b.button);
    box.exec();
    const auto chosen = box.standardButton(box.clickedButton());
    for (const ButtonSpec &b : set)
        if (b.button == chosen)
            return b.answer;
    return set.size() == 1 ? set[0].answer : vbCancel;
}

std::optional<QString> ScriptHost::inputBox(vbs::Context &, const QString &prompt, const QString &title, const QString &defaultText)
{
    FocusReturn focusBack(m_owner);
    bool ok = false;
    const QString text = QInputDialog::getText(m_owner, title.isEmpty() ? FrmMain::Title : title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> ScriptHost::browseForFolder(vbs::Context &, const QString &title, const QString &root)
{
    FocusReturn focusBack(m_owner);
    const QString folder = QFileDialog::getExistingDirectory(m_owner, title.isEmpty() ? FrmMain::Title : title, root);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

void ScriptHost::idle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(std::max(0, milliseconds), &loop, &QEventLoop::quit);
    loop.exec();
}

bool ScriptHost::stopRunawayScript()
{
    FocusReturn focusBack(m_owner);
    QMessageBox box(QMessageBox::Warning, FrmMain::Title,
                    QObject::tr("The script has been running for a long time. It may be stuck in a loop.\n\n"
                                "Stop the script?"),
                    QMessageBox::NoButton, m_owner);
    QPushButton *stop = box.addButton(QObject::tr("&Stop Script"), QMessageBox::AcceptRole);
    box.addButton(QObject::tr("&Keep Running"), QMessageBox::RejectRole);
    box.setDefaultButton(stop);
    fitTitle(box);
    box.exec();
    return box.clickedButton() == stop;
}
