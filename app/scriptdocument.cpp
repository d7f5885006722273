#include "scriptdocument.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include "boxes.h"
#include "focusreturn.h"
#include "scriptfile.h"
#include "txtcode.h"

namespace {

const QString FileFilter = QObject::tr("VBScript files (*.vbs);;Text files (*.txt);;All files (*)");

} // namespace

ScriptDocument::ScriptDocument(TxtCode *editor, QWidget *window, Session *session, QStringList blankTexts)
    : QObject(window), m_editor(editor), m_window(window), m_session(session), m_blankTexts(std::move(blankTexts)),
      m_keepTimer(new QTimer(this))
{
    m_keepTimer->setSingleShot(true);
    m_keepTimer->setInterval(KeepDelay);
    connect(m_keepTimer, &QTimer::timeout, this, &ScriptDocument::keepSoon);
    connect(m_editor, &TxtCode::changed, this, &ScriptDocument::textChanged);
    chooseFile = [this](bool forSaving, const QString &startIn) {
        FocusReturn focusBack(m_window);
        return forSaving ? QFileDialog::getSaveFileName(m_window, tr("Save Script"), startIn, FileFilter)
                         : QFileDialog::getOpenFileName(m_window, tr("Open Script"), startIn, FileFilter);
    };
}

bool ScriptDocument::holdsWork() const
{
    return m_modified && !m_blankTexts.contains(m_editor->text());
}

void ScriptDocument::textChanged()
{
    if (m_loading)
        return;
    m_modified = true;
    // Not restarted by every key: a copy at most a second after the first change of a burst.
    if (m_session && !m_keepTimer->isActive())
        m_keepTimer->start();
}

std::optional<Session::Snapshot> ScriptDocument::leftOver(bool opening)
{
    if (!m_session)
        return std::nullopt;
    std::optional<Session::Snapshot> found = m_session->claim(!opening);
    if (opening || !found)
        return std::nullopt;
    if (found->fileName.isEmpty() && m_blankTexts.contains(found->text))
        return std::nullopt;
    return found;
}

void ScriptDocument::restore(const Session::Snapshot &snapshot)
{
    // A file that was saved is read again: it may have changed on disk since.
    if (!snapshot.modified && !snapshot.fileName.isEmpty() && scriptfile::read(snapshot.fileName).text) {
        load(snapshot.fileName, false);
        m_editor->setSelStart(snapshot.caret);
        return;
    }
    m_loading = true;
    m_editor->setText(snapshot.text);
    m_loading = false;
    m_editor->setSelStart(snapshot.caret);
    m_modified = snapshot.modified;
    setFileName(snapshot.fileName);
    keepSoon();
}

QStringList ScriptDocument::recentFiles() const
{
    return m_session ? m_session->recentFiles() : QStringList();
}

bool ScriptDocument::open(const QString &fileName)
{
    return load(fileName, true);
}

bool ScriptDocument::load(const QString &fileName, bool askFirst)
{
    const scriptfile::Read file = scriptfile::read(fileName);
    if (!file.text) {
        failed(tr("The file %1 cannot be opened."), fileName, file.error);
        return false;
    }
    if (askFirst && !mayReplace())
        return false;
    // One step of Undo, like New: Undo gives the text before back.
    m_loading = true;
    m_editor->setText(*file.text);
    m_loading = false;
    m_editor->setSelStart(0);
    m_modified = false;
    setFileName(QFileInfo(fileName).absoluteFilePath());
    remember(m_fileName);
    keepSoon();
    return true;
}

bool ScriptDocument::openChosen()
{
    if (!mayReplace())
        return false;
    const QString chosen = chooseFile(false, startFolder());
    return !chosen.isEmpty() && load(chosen, false);
}

bool ScriptDocument::save()
{
    return m_fileName.isEmpty() ? saveAs() : writeTo(m_fileName);
}

bool ScriptDocument::saveAs()
{
    QString chosen = chooseFile(true, m_fileName.isEmpty() ? startFolder() : m_fileName);
    if (chosen.isEmpty())
        return false;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1String(".vbs");
    return writeTo(chosen);
}

bool ScriptDocument::writeTo(const QString &fileName)
{
    if (const std::optional<QString> why = scriptfile::write(fileName, m_editor->text())) {
        failed(tr("The file %1 cannot be saved."), fileName, *why);
        return false;
    }
    m_modified = false;
    setFileName(QFileInfo(fileName).absoluteFilePath());
    remember(m_fileName);
    keepSoon();
    emit saved(m_fileName);
    return true;
}

bool ScriptDocument::mayReplace()
{
    if (!holdsWork())
        return true;
    FocusReturn focusBack(m_window);
    const QString name = m_fileName.isEmpty() ? tr("the script") : QFileInfo(m_fileName).fileName();
    QMessageBox box(QMessageBox::Warning, m_window->windowTitle(), tr("Do you want to save the changes to %1?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.setDefaultButton(QMessageBox::Save);
    fitTitle(box);
    switch (box.exec()) {
    case QMessageBox::Save: return save();
    case QMessageBox::Discard: return true;
    default: return false;
    }
}

void ScriptDocument::leaveFile()
{
    m_modified = false;
    setFileName(QString());
}

bool ScriptDocument::keepNow()
{
    m_keepTimer->stop();
    return !m_session || m_session->save({m_editor->text(), m_fileName, m_editor->selStart(), holdsWork()});
}

void ScriptDocument::keepSoon()
{
    if (keepNow() || m_keepFailed)
        return;
    // Said once, and not from inside whatever asked for the copy: the text still stands
    // in the editor, and Save still works.
    m_keepFailed = true;
    QTimer::singleShot(0, this, [this] {
        failed(tr("The text cannot be kept in %1 in case the program ends. Save your work to a file."),
               m_session->folder(), m_session->errorString());
    });
}

void ScriptDocument::setFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    emit fileNameChanged(m_fileName);
}

void ScriptDocument::remember(const QString &fileName)
{
    if (!m_session)
        return;
    m_session->addRecentFile(fileName);
    emit recentFilesChanged();
}

void ScriptDocument::failed(const QString &what, const QString &fileName, const QString &why)
{
    FocusReturn focusBack(m_window);
    QMessageBox box(QMessageBox::Warning, m_window->windowTitle(), what.arg(QDir::toNativeSeparators(fileName)),
                    QMessageBox::Ok, m_window);
    box.setInformativeText(why);
    fitTitle(box);
    box.exec();
}

QString ScriptDocument::startFolder() const
{
    if (!m_fileName.isEmpty())
        return QFileInfo(m_fileName).absolutePath();
    const QStringList recent = recentFiles();
    return recent.isEmpty() ? QDir::currentPath() : QFileInfo(recent.first()).absolutePath();
}
