#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "session.h"

class QTimer;
class QWidget;
class TxtCode;

// The editor's text as a document: the file it belongs to, whether it has changed since,
// opening and saving, the recent files, and its copy in the session, written a second
// after a change and at the end, so that nothing the user wrote is ever lost.
class ScriptDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int KeepDelay = 1000; // milliseconds from a change to its copy on disk

    // Without a session nothing is kept (tests of other things). The blank texts (the
    // start-up and New texts) hold no work of the user's.
    ScriptDocument(TxtCode *editor, QWidget *window, Session *session, QStringList blankTexts);

    // At start-up: whether the last session left text worth bringing back. With a file to
    // open, what ended programs left stays for a later start.
    std::optional<Session::Snapshot> leftOver(bool opening);
    void restore(const Session::Snapshot &snapshot);

    QString fileName() const { return m_fileName; }
    bool isModified() const { return m_modified; }
    // Changed since opened or saved, and not one of the blank texts.
    bool holdsWork() const;
    QStringList recentFiles() const;

    // Each shows a message box naming the file and the reason when it fails. Before text
    // with unsaved work is replaced, the user is asked whether to save it.
    bool open(const QString &fileName);
    bool openChosen();      // asks for the file
    bool save();            // to its file, or as Save As without one
    bool saveAs();          // asks for the name
    // New: the text belongs to no file any more.
    void leaveFile();
    // Writes the session copy now (the program ends); false when it could not.
    bool keepNow();

    // How files are chosen: a file dialog, or an answer given by a test. Empty: cancelled.
    std::function<QString(bool forSaving, const QString &startIn)> chooseFile;

signals:
    void fileNameChanged(const QString &fileName);
    void recentFilesChanged();
    void saved(const QString &fileName);

private:
    void textChanged();
    void keepSoon(); // the timer's copy, which says once when it cannot be written
    bool load(const QString &fileName, bool askFirst);
    bool writeTo(const QString &fileName);
    // Before Open replaces text that holds unsaved work: save it, drop it, or cancel.
    bool mayReplace();
    void setFileName(const QString &fileName);
    void remember(const QString &fileName);
    void failed(const QString &what, const QString &fileName, const QString &why);
    QString startFolder() const;

    TxtCode *m_editor;
    QWidget *m_window;
    Session *m_session;
    QStringList m_blankTexts;
    QTimer *m_keepTimer;
    QString m_fileName;
    bool m_modified = false;
    bool m_loading = false;
    bool m_keepFailed = false;
};
