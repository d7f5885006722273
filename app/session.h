#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// What the user has in the editor, kept on disk while the program runs, so that no way of
// ending it (Exit, a close, a script's own Alt+F4, a crash, kill -9, a power cut) loses
// the text. Each running program writes a file of its own in the state folder, guarded by
// a lock file that names its process; at start-up the newest file of a program that no
// longer runs is restored, and such files are removed once this program's own is written.
// The same folder keeps the list of recently opened files.
class Session {
public:
    struct Snapshot {
        QString text;     // the editor's text, CR LF line breaks
        QString fileName; // the file it was opened from or saved to, if any
        int caret = 0;
        bool modified = false; // changed since it was opened or saved
    };

    // `$XDG_STATE_HOME/vornix-coder`, or `~/.local/state/vornix-coder`.
    static QString defaultFolder();

    explicit Session(const QString &folder = defaultFolder());
    ~Session();
    QString folder() const { return m_folder; }

    // Takes this program's own file, and returns what an ended program left behind: the
    // newest unsaved work, else the newest file that was open (nothing when there is none,
    // or when the folder cannot be used). With
    // `adopt` the caller takes that text over, and every leftover goes after the first
    // save; without, only leftovers that hold no unsaved work go.
    std::optional<Snapshot> claim(bool adopt = true);
    // Writes the snapshot to this program's file, atomically (a new file, then a rename).
    // The first success also removes what ended programs left behind.
    bool save(const Snapshot &snapshot);
    // Why the last claim or save failed.
    QString errorString() const { return m_error; }

    static constexpr int RecentCount = 5;
    QStringList recentFiles() const;
    // Puts the file first in the list of recent files and keeps the list.
    void addRecentFile(const QString &fileName);

private:
    QString ownFile() const;
    void removeLeftovers();

    QString m_folder;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QStringList m_leftovers; // files of ended programs, removed after the first save
    QString m_error;
};
