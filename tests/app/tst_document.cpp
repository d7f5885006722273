// The user's text on disk: script files read and written as Windows editors do, and the
// session copy that brings the text back after any end of the program.
#include <QtTest>
#include <QAction>
#include <QLockFile>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>

#include "boxanswerer.h"
#include "fakedesktop.h"
#include "frmmain.h"
#include "scriptdocument.h"
#include "scriptfile.h"
#include "session.h"
#include "txtcode.h"

namespace {

const QString HomePage = QStringLiteral("https://vornix.example.org/");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList sessionFiles(const QString &folder)
{
    return QDir(folder).entryList({"session-*.json"}, QDir::Files);
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void init();

    void readsEveryEncoding_data();
    void readsEveryEncoding();
    void writesUtf8WithCrLf();
    void saveAndOpenRoundTrip();
    void unreadableAndUnwritableFilesSayWhy();
    void openAsksBeforeReplacingWork();
    void recentFilesInTheMenu();
    void droppedFileIsOpened();

    void textKeptShortlyAfterAChange();
    void textKeptWhenTheProgramEnds();
    void restartBringsTheTextBack();
    void blankTextIsNotRestored();
    void runningProgramsKeepTheirOwnFiles();
    void deadProgramsFilesCleanedUp();
    void fileOnCommandLineLeavesUnsavedWorkForLater();
    void killedProgramLeavesItsText();
    void unusableStateFolderIsSaidOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_state;
};

void TestDocument::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_state = m_dir->filePath("state/vornix-coder");
}

void TestDocument::readsEveryEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString gruss = QString::fromUtf8("Gr\u00fc\u00dfe \u20ac");
    QTest::newRow("UTF-8") << gruss.toUtf8() << gruss;
    QTest::newRow("UTF-8 with its mark") << "\xef\xbb\xbf" + gruss.toUtf8() << gruss;
    QByteArray le("\xff\xfe"), be("\xfe\xff");
    for (QChar c : gruss) {
        le += char(c.unicode() & 0xff);
        le += char(c.unicode() >> 8);
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xff);
    }
    QTest::newRow("UTF-16LE") << le << gruss;
    QTest::newRow("UTF-16BE") << be << gruss;
    QTest::newRow("Windows-1252") << QByteArray("Gr\xfc\xdf" "e \x80") << gruss;
    QTest::newRow("LF") << QByteArray("a\nb\n") << QString("a\r\nb\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb") << QString("a\r\nb");
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QString("a\r\nb\r\nc\r\nd");
}

void TestDocument::readsEveryEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = m_dir->filePath("in.vbs");
    writeBytes(path, bytes);
    const scriptfile::Read read = scriptfile::read(path);
    QVERIFY(read.text);
    QCOMPARE(*read.text, text);
}

void TestDocument::writesUtf8WithCrLf()
{
    const QString path = m_dir->filePath("out.vbs");
    QVERIFY(!scriptfile::write(path, QString::fromUtf8("Sub Main()\nMsgBox \"\u00e9\"\r\nEnd Sub")));
    QCOMPARE(fileBytes(path), QByteArray("Sub Main()\r\nMsgBox \"\xc3\xa9\"\r\nEnd Sub"));
}

void TestDocument::saveAndOpenRoundTrip()
{
    FakeDesktop desktop;
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    const QString text = QString::fromUtf8("Sub Main()\r\n  MsgBox \"\u00c4rger \u65e5\u672c \U0001F600\"\r\nEnd Sub\r\n");
    window.txtCode()->setText(text);
    const QString path = m_dir->filePath("round trip");
    window.document().chooseFile = [&](bool forSaving, const QString &) { return forSaving ? path : QString(); };
    QVERIFY(window.document().saveAs());
    const QString saved = path + ".vbs"; // a name without extension gets the script one
    QCOMPARE(window.document().fileName(), saved);
    QCOMPARE(window.windowTitle(), QString("Vornix Coder - round trip.vbs"));
    QVERIFY(!window.document().isModified());
    QCOMPARE(fileBytes(saved), text.toUtf8());

    window.newCode();
    QVERIFY(window.document().open(saved));
    QCOMPARE(window.txtCode()->text(), text);
    QCOMPARE(window.document().fileName(), saved);
    // Open is one step of Undo, as New is.
    window.txtCode()->undo();
    QCOMPARE(window.txtCode()->text(), FrmMain::NewText);

    // Save writes to the file it belongs to, without asking.
    window.txtCode()->redo();
    window.txtCode()->setSelStart(0);
    window.txtCode()->setSelText("' changed\r\n");
    QVERIFY(window.document().isModified());
    window.document().chooseFile = [](bool, const QString &) -> QString { QTest::qFail("asked", __FILE__, __LINE__); return {}; };
    QVERIFY(window.document().save());
    QCOMPARE(fileBytes(saved), ("' changed\r\n" + text).toUtf8());
}

void TestDocument::unreadableAndUnwritableFilesSayWhy()
{
    FakeDesktop desktop;
    FrmMain window(desktop, HomePage);
    window.txtCode()->setText("Sub Main()\r\n  x = 1\r\nEnd Sub");
    BoxAnswerer answerer;
    QVERIFY(!window.document().open(m_dir->filePath("absent.vbs")));
    QCOMPARE(answerer.boxes.size(), 1);
    QVERIFY(answerer.boxes[0].text.contains("absent.vbs"));
    QCOMPARE(window.txtCode()->text(), QString("Sub Main()\r\n  x = 1\r\nEnd Sub")); // nothing lost

    window.document().chooseFile = [&](bool, const QString &) { return m_dir->filePath("no such folder/x.vbs"); };
    QVERIFY(!window.document().saveAs());
    QCOMPARE(answerer.boxes.size(), 2);
    QVERIFY(answerer.boxes[1].text.contains("x.vbs"));
    QVERIFY(window.document().fileName().isEmpty());
    QVERIFY(window.document().isModified());
}

void TestDocument::openAsksBeforeReplacingWork()
{
    FakeDesktop desktop;
    FrmMain window(desktop, HomePage);
    const QString other = m_dir->filePath("other.vbs");
    writeBytes(other, "Sub Main()\r\nEnd Sub\r\n");
    // The blank start-up text is no work: opened without a question.
    BoxAnswerer answerer;
    QVERIFY(window.document().open(other));
    QVERIFY(answerer.boxes.isEmpty());

    // Unsaved work in a file of its own: the box's default, Save, writes it there first.
    window.txtCode()->setText("' my work");
    const QString next = m_dir->filePath("next.vbs");
    writeBytes(next, "' next");
    window.document().chooseFile = [&](bool forSaving, const QString &) { return forSaving ? QString() : next; };
    QVERIFY(window.document().openChosen());
    QCOMPARE(answerer.boxes.size(), 1);
    QVERIFY(answerer.boxes[0].text.contains("save the changes to other.vbs"));
    QCOMPARE(fileBytes(other), QByteArray("' my work"));
    QCOMPARE(window.txtCode()->text(), QString("' next"));

    // New leaves the file: a Save after it must not overwrite next.vbs with the New text.
    window.newCode();
    QVERIFY(window.document().fileName().isEmpty());
    QCOMPARE(window.windowTitle(), QString("Vornix Coder"));
    // Untitled work whose Save As is cancelled: nothing is replaced.
    window.txtCode()->setText("' untitled work");
    int asked = 0;
    window.document().chooseFile = [&](bool forSaving, const QString &) {
        ++asked;
        return forSaving ? QString() : next;
    };
    QVERIFY(!window.document().openChosen());
    QCOMPARE(asked, 1);
    QCOMPARE(window.txtCode()->text(), QString("' untitled work"));
    QCOMPARE(fileBytes(next), QByteArray("' next"));
}

void TestDocument::recentFilesInTheMenu()
{
    FakeDesktop desktop;
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    QVERIFY(!window.menuItem("mRecent1")->isVisible());
    QVERIFY(!window.menuItem("mLine3")->isVisible());
    QStringList paths;
    for (int i = 0; i < Session::RecentCount + 2; ++i) {
        paths << m_dir->filePath(QString("s%1 & co.vbs").arg(i));
        writeBytes(paths.last(), "' " + QByteArray::number(i));
        QVERIFY(window.document().open(paths.last()));
    }
    QCOMPARE(window.menuItem("mRecent1")->text(), QString("&1 s6 && co.vbs"));
    QCOMPARE(window.menuItem("mRecent5")->text(), QString("&5 s2 && co.vbs"));
    QVERIFY(window.menuItem("mLine3")->isVisible());
    window.menuItem("mRecent3")->trigger();
    QCOMPARE(window.txtCode()->text(), QString("' 4"));
    QCOMPARE(window.menuItem("mRecent1")->text(), QString("&1 s4 && co.vbs"));
    // Another program sees the same list.
    QCOMPARE(Session(m_state).recentFiles().first(), paths[4]);
}

void TestDocument::droppedFileIsOpened()
{
    FakeDesktop desktop;
    FrmMain window(desktop, HomePage);
    window.show();
    const QString path = m_dir->filePath("dropped.vbs");
    writeBytes(path, "' dropped");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    data.setText(path); // file managers send the name as text too: it is not typed in
    const QPoint inEditor = window.txtCode()->viewport()->mapTo(&window, QPoint(20, 20));
    QDragEnterEvent enter(inEditor, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(inEditor), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QTRY_COMPARE(window.txtCode()->text(), QString("' dropped"));
    QCOMPARE(window.document().fileName(), path);

    // The editor itself leaves a file to the window: it never inserts the name.
    QVERIFY(!window.txtCode()->canInsertFromMimeData(&data));
    QMimeData text;
    text.setText("plain text");
    QVERIFY(window.txtCode()->canInsertFromMimeData(&text));
}

void TestDocument::textKeptShortlyAfterAChange()
{
    FakeDesktop desktop;
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    window.txtCode()->setSelStart(12);
    window.txtCode()->setSelText("  MsgBox 1");
    QTRY_COMPARE_WITH_TIMEOUT(sessionFiles(m_state).size(), 1, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(m_state + "/" + sessionFiles(m_state).value(0)).contains("MsgBox 1"), 3000);
    QCOMPARE(QDir(m_state).entryList({"*.tmp", "*~"}), QStringList()); // written by rename, nothing half-done
}

void TestDocument::textKeptWhenTheProgramEnds()
{
    FakeDesktop desktop;
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    window.txtCode()->setText("' typed just before the end");
    window.menuItem("mFileExit")->trigger(); // no time for the timer
    QVERIFY(fileBytes(m_state + "/" + sessionFiles(m_state).value(0)).contains("typed just before the end"));
}

void TestDocument::restartBringsTheTextBack()
{
    FakeDesktop desktop;
    const QString file = m_dir->filePath("report.vbs");
    writeBytes(file, "' on disk");
    {
        Session session(m_state);
        FrmMain window(desktop, HomePage, &session);
        QVERIFY(window.document().open(file));
        window.txtCode()->setSelStart(9);
        window.txtCode()->setSelText(" and edited");
        window.menuItem("mFileExit")->trigger();
    }
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    QCOMPARE(window.txtCode()->text(), QString("' on disk and edited"));
    QCOMPARE(window.document().fileName(), file);
    QVERIFY(window.document().isModified());
    QCOMPARE(window.windowTitle(), QString("Vornix Coder - report.vbs"));
    QCOMPARE(window.txtCode()->selStart(), 20);
    QCOMPARE(fileBytes(file), QByteArray("' on disk")); // the file itself is the user's to save
    // New still gives the New text, as one step of Undo.
    window.newCode();
    QCOMPARE(window.txtCode()->text(), FrmMain::NewText);
    window.txtCode()->undo();
    QCOMPARE(window.txtCode()->text(), QString("' on disk and edited"));
}

void TestDocument::blankTextIsNotRestored()
{
    FakeDesktop desktop;
    {
        Session session(m_state);
        FrmMain window(desktop, HomePage, &session);
        window.txtCode()->setText("' something");
        window.newCode();
        window.menuItem("mFileExit")->trigger();
    }
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    QCOMPARE(window.txtCode()->text(), FrmMain::StartupText);
    QCOMPARE(window.txtCode()->selStart(), FrmMain::BodyPosition);
}

void TestDocument::runningProgramsKeepTheirOwnFiles()
{
    FakeDesktop desktop;
    Session first(m_state), second(m_state);
    FrmMain a(desktop, HomePage, &first), b(desktop, HomePage, &second);
    a.txtCode()->setText("' first");
    b.txtCode()->setText("' second");
    QVERIFY(a.document().keepNow() && b.document().keepNow());
    const QStringList files = sessionFiles(m_state);
    QCOMPARE(files.size(), 2);
    QByteArray both = fileBytes(m_state + "/" + files[0]) + fileBytes(m_state + "/" + files[1]);
    QVERIFY(both.contains("' first") && both.contains("' second"));
    // A third program started now takes neither: both still run.
    Session third(m_state);
    FrmMain c(desktop, HomePage, &third);
    QCOMPARE(c.txtCode()->text(), FrmMain::StartupText);
}

void TestDocument::deadProgramsFilesCleanedUp()
{
    // Files of programs that have ended: no lock, or a lock naming a process that is gone.
    QDir().mkpath(m_state);
    auto leftover = [&](const QString &id, qint64 saved, const QString &text) {
        writeBytes(m_state + "/session-" + id + ".json",
                   QString(R"({"version":1,"saved":%1,"file":"","caret":0,"modified":true,"text":"%2"})")
                       .arg(saved).arg(text).toUtf8());
    };
    leftover("old", 1000, "' older");
    leftover("new", 2000, "' newer");
    leftover("broken", 3000, "x\" not json");
    QProcess gone;
    gone.start("true");
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    writeBytes(m_state + "/session-new.lock", QByteArray::number(pid) + "\ntst_document\n"
                                                  + QSysInfo::machineHostName().toUtf8() + "\n");
    FakeDesktop desktop;
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    QCOMPARE(window.txtCode()->text(), QString("' newer"));
    QTRY_COMPARE_WITH_TIMEOUT(sessionFiles(m_state).size(), 1, 3000); // its own file only
    QVERIFY(fileBytes(m_state + "/" + sessionFiles(m_state)[0]).contains("' newer"));
}

void TestDocument::fileOnCommandLineLeavesUnsavedWorkForLater()
{
    FakeDesktop desktop;
    {
        Session session(m_state);
        FrmMain window(desktop, HomePage, &session);
        window.txtCode()->setText("' unsaved work");
        window.menuItem("mFileExit")->trigger();
    }
    const QString file = m_dir->filePath("given.vbs");
    writeBytes(file, "' given");
    {
        Session session(m_state);
        FrmMain window(desktop, HomePage, &session, file);
        QTRY_COMPARE(window.txtCode()->text(), QString("' given"));
        window.menuItem("mFileExit")->trigger();
    }
    // The unsaved work is still there for a start without a file, and comes before the file
    // that was open since (that one is on disk).
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    QCOMPARE(window.txtCode()->text(), QString("' unsaved work"));
    QVERIFY(window.document().fileName().isEmpty());
}

void TestDocument::killedProgramLeavesItsText()
{
    // A real program, ended by SIGKILL a moment after a change: no handler of its runs.
    const QString app = QStringLiteral(VORNIX_APP);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_STATE_HOME", m_dir->filePath("state"));
    env.insert("HOME", m_dir->path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString script = m_dir->filePath("start.vbs");
    writeBytes(script, "' opened");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(app, {script});
    QVERIFY(program.waitForStarted());
    // The opened file's text is kept at once, as its session copy.
    QTRY_VERIFY_WITH_TIMEOUT(sessionFiles(m_state).size() == 1
                                 && fileBytes(m_state + "/" + sessionFiles(m_state)[0]).contains("opened"),
                             5000);
    program.kill();
    program.waitForFinished();
    writeBytes(script, "' changed on disk since");
    FakeDesktop desktop;
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    // A file that was saved comes back as it is on disk now.
    QCOMPARE(window.txtCode()->text(), QString("' changed on disk since"));
    QCOMPARE(window.document().fileName(), script);
    QVERIFY(!window.document().isModified());
}

void TestDocument::unusableStateFolderIsSaidOnce()
{
    writeBytes(m_dir->filePath("state"), "a file where the folder should be");
    FakeDesktop desktop;
    Session session(m_state);
    FrmMain window(desktop, HomePage, &session);
    BoxAnswerer answerer;
    window.txtCode()->setText("' one");
    QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size(), 1, 4000);
    QVERIFY(answerer.boxes[0].text.contains("cannot be kept"));
    window.txtCode()->setText("' two");
    QTest::qWait(ScriptDocument::KeepDelay + 300);
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(window.txtCode()->text(), QString("' two"));
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
