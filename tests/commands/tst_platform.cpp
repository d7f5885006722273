#include <QtTest>
#include <QTemporaryDir>

#include "controlpanel.h"
#include "files.h"
#include "keys.h"
#include "processes.h"
#include "windows.h"

using namespace platform;
using keys::Stroke;

namespace {
Stroke ch(char c, int mods = 0) { return Stroke{mods, QChar(c), QString()}; }
Stroke key(const char *sym, int mods = 0) { return Stroke{mods, QChar(), QString::fromLatin1(sym)}; }

void makeFile(const QString &path, qint64 size)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(size)); // sparse: no blocks written
}
} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void keyParser_data();
    void keyParser();
    void malformedKeys_data();
    void malformedKeys();

    void killWithWildcards();
    void makeAndChangeDirectory();
    void copyFile();
    void fileLengthAndSizeText_data();
    void fileLengthAndSizeText();
    void renameStaysInItsDirectory();
    void firstMatch();
    void windowsPaths();

    void appletTable();
    void settingsForTheRunningDesktop();

    void commandLines_data();
    void commandLines();
    void windowsProgramAliases();
    void missingProgramIsFileNotFound();
    void titleSearchOrder();

private:
    QTemporaryDir *m_dir = nullptr;
    QString m_oldCwd;
};

void TestPlatform::init()
{
    m_dir = new QTemporaryDir;
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void TestPlatform::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    delete m_dir;
}

void TestPlatform::keyParser_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Stroke>>("strokes");
    using K = keys::Modifier;
    QTest::newRow("plain") << "ab" << QList<Stroke>{ch('a'), ch('b')};
    QTest::newRow("modifiers") << "+a^b%c" << QList<Stroke>{ch('a', K::Shift), ch('b', K::Control), ch('c', K::Alt)};
    QTest::newRow("stacked") << "^+x" << QList<Stroke>{ch('x', K::Shift | K::Control)};
    QTest::newRow("alt F4") << "%{F4}" << QList<Stroke>{key("F4", K::Alt)};
    QTest::newRow("tilde is enter") << "a~" << QList<Stroke>{ch('a'), key("Return")};
    QTest::newRow("group") << "+(ab)c" << QList<Stroke>{ch('a', K::Shift), ch('b', K::Shift), ch('c')};
    QTest::newRow("escaped specials") << "{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}"
                                      << QList<Stroke>{ch('+'), ch('^'), ch('%'), ch('~'), ch('('), ch(')'),
                                                       ch('{'), ch('}'), ch('['), ch(']')};
    QTest::newRow("operators of the snippet") << "1{-}2{/}3{*}" << QList<Stroke>{ch('1'), ch('-'), ch('2'), ch('/'), ch('3'), ch('*')};
    QTest::newRow("repeat") << "{a 3}{LEFT 2}" << QList<Stroke>{ch('a'), ch('a'), ch('a'), key("Left"), key("Left")};
    QTest::newRow("names in any case") << "{enter}{Bs}{BKSP}{PGDN}{pgup}{DEL}{INS}{ESC}"
                                       << QList<Stroke>{key("Return"), key("BackSpace"), key("BackSpace"), key("Next"),
                                                        key("Prior"), key("Delete"), key("Insert"), key("Escape")};
    QTest::newRow("keypad and F16") << "{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}{F16}"
                                    << QList<Stroke>{key("KP_Add"), key("KP_Subtract"), key("KP_Multiply"), key("KP_Divide"), key("F16")};
    QTest::newRow("brackets unbraced") << "[x]" << QList<Stroke>{ch('['), ch('x'), ch(']')};
    QTest::newRow("empty") << "" << QList<Stroke>{};
}

void TestPlatform::keyParser()
{
    QFETCH(QString, text);
    QFETCH(QList<Stroke>, strokes);
    QList<Stroke> parsed;
    QVERIFY(!keys::parse(text, parsed));
    QCOMPARE(parsed, strokes);
}

void TestPlatform::malformedKeys_data()
{
    QTest::addColumn<QString>("text");
    for (const char *bad : {"{", "}", "{ENTER", "{}", "{NOSUCHKEY}", "+", "^%", "(ab", "ab)", "{a x}", "+(a{)"})
        QTest::newRow(bad) << QString::fromLatin1(bad);
}

void TestPlatform::malformedKeys()
{
    QFETCH(QString, text);
    QList<Stroke> parsed{ch('z')};
    const Failure f = keys::parse(text, parsed);
    QCOMPARE(f.number, 5);
    QVERIFY(parsed.isEmpty());
}

void TestPlatform::killWithWildcards()
{
    makeFile("a1.txt", 1);
    makeFile("a2.txt", 1);
    makeFile("b1.txt", 1);
    makeFile("a1.log", 1);
    QCOMPARE(files::kill("nothing.txt").number, 53);
    QCOMPARE(files::kill("zz*.txt").number, 53);
    QVERIFY(!files::kill("a?.txt"));
    QVERIFY(!QFile::exists("a1.txt") && !QFile::exists("a2.txt"));
    QVERIFY(QFile::exists("b1.txt") && QFile::exists("a1.log"));
    QVERIFY(!files::kill(m_dir->filePath("b1.txt")));
    QVERIFY(!QFile::exists("b1.txt"));
    QDir().mkdir("sub");
    QCOMPARE(files::kill("sub").number, 53); // directories are not files
    QVERIFY(QFileInfo::exists("sub"));
}

void TestPlatform::makeAndChangeDirectory()
{
    QVERIFY(!files::makeDirectory("made"));
    QCOMPARE(files::makeDirectory("made").number, 75);
    QCOMPARE(files::makeDirectory("no/such/parent").number, 76);
    QVERIFY(!files::changeDirectory("made"));
    QCOMPARE(QDir::currentPath(), m_dir->filePath("made"));
    // Relative paths now start there.
    makeFile("inside.txt", 3);
    QVERIFY(QFile::exists(m_dir->filePath("made/inside.txt")));
    QCOMPARE(files::changeDirectory("missing").number, 76);
}

void TestPlatform::copyFile()
{
    makeFile("src.bin", 100);
    QCOMPARE(files::copyFile("none.bin", "x.bin").number, 53);
    QCOMPARE(files::copyFile("src.bin", "no/dir/x.bin").number, 76);
    QVERIFY(!files::copyFile("src.bin", "dst.bin"));
    QCOMPARE(QFileInfo("dst.bin").size(), 100);
    makeFile("small.bin", 5);
    QVERIFY(!files::copyFile("small.bin", "dst.bin")); // replaces
    QCOMPARE(QFileInfo("dst.bin").size(), 5);
    QVERIFY(files::copyFile("dst.bin", "dst.bin")); // onto itself: refused, file kept
    QCOMPARE(QFileInfo("dst.bin").size(), 5);
}

void TestPlatform::fileLengthAndSizeText_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << "0Byte(s)";
    QTest::newRow("1024") << qint64(1024) << "1024Byte(s)";
    QTest::newRow("1025") << qint64(1025) << "1KB";
    QTest::newRow("1152") << qint64(1152) << "1.12KB";
    QTest::newRow("1408") << qint64(1408) << "1.38KB";
    QTest::newRow("1536") << qint64(1536) << "1.5KB";
    QTest::newRow("1048576") << qint64(1048576) << "1024KB";
    QTest::newRow("1048577") << qint64(1048577) << "1 MB";
    QTest::newRow("1572864") << qint64(1572864) << "1.5 MB";
    QTest::newRow("1073741823") << qint64(1073741823) << "1024 MB";
    QTest::newRow("1073741824") << qint64(1073741824) << "1GB";
    QTest::newRow("2^31-1") << qint64(2147483647) << "2GB";
}

void TestPlatform::fileLengthAndSizeText()
{
    QFETCH(qint64, size);
    QFETCH(QString, text);
    makeFile("sized.bin", size);
    qint64 measured = -1;
    QVERIFY(!files::fileLength("sized.bin", measured));
    QCOMPARE(measured, size);
    QCOMPARE(files::sizeText(measured, QLatin1Char('.')), text);
    QCOMPARE(files::sizeText(measured, QLatin1Char(',')), QString(text).replace('.', ','));
    QCOMPARE(files::fileLength("absent.bin", measured).number, 53);
}

void TestPlatform::renameStaysInItsDirectory()
{
    QDir().mkdir("d");
    makeFile("d/abc.txt", 1);
    makeFile("d/taken.txt", 2);
    QCOMPARE(files::rename("d/missing.txt", "x.txt").number, 53);
    QCOMPARE(files::rename("d/abc.txt", "taken.txt").number, 58);
    QCOMPARE(files::rename("d/abc.txt", "").number, 52);
    QCOMPARE(files::rename("d/abc.txt", "../escaped.txt").number, 52);
    QCOMPARE(files::rename("d/abc.txt", "sub/x.txt").number, 52);
    QVERIFY(QFile::exists("d/abc.txt") && QFileInfo("d/taken.txt").size() == 2);
    QVERIFY(!files::rename("d/abc.txt", "xyz.txt"));
    QVERIFY(QFile::exists("d/xyz.txt") && !QFile::exists("d/abc.txt"));
}

void TestPlatform::firstMatch()
{
    makeFile("b.txt", 1);
    makeFile("a.txt", 1);
    makeFile(".hidden.txt", 1);
    QDir().mkdir("dir.txt");
    QString name;
    QVERIFY(!files::firstMatch("*.txt", 0, name));
    QCOMPARE(name, QString("a.txt"));
    QVERIFY(!files::firstMatch("*.none", 0, name));
    QCOMPARE(name, QString());
    QVERIFY(!files::firstMatch("d*.txt", 16, name));
    QCOMPARE(name, QString("dir.txt"));
    QVERIFY(!files::firstMatch(".h*", 2, name));
    QCOMPARE(name, QString(".hidden.txt"));
    QVERIFY(!files::firstMatch(m_dir->path() + "/", 0, name));
    QCOMPARE(name, QString("a.txt"));
    QCOMPARE(files::firstMatch("", 0, name).number, 5);
}

// Paths written for Windows: \ separates as / does, and a drive letter is never found
// (nothing named "d:\myDirectory" appears in the current folder).
void TestPlatform::windowsPaths()
{
    QDir::setCurrent(m_dir->path());
    QCOMPARE(files::makeDirectory("d:\\myDirectory").number, 76);
    QCOMPARE(files::makeDirectory("C:").number, 76);
    QVERIFY(!files::makeDirectory("sub"));
    makeFile(m_dir->filePath("sub/a.txt"), 10);
    qint64 bytes = 0;
    QVERIFY(!files::fileLength("sub\\a.txt", bytes));
    QCOMPARE(bytes, 10);
    QCOMPARE(files::fileLength("C:\\sub\\a.txt", bytes).number, 53);
    QVERIFY(!files::copyFile("sub\\a.txt", "sub\\b.txt"));
    QCOMPARE(files::copyFile("sub\\a.txt", "e:\\b.txt").number, 76);
    QCOMPARE(files::kill("c:\\sub\\a.txt").number, 53);
    QCOMPARE(files::rename("sub\\b.txt", "x\\c.txt").number, 52);
    QVERIFY(!files::rename("sub\\b.txt", "c.txt"));
    QCOMPARE(files::changeDirectory("d:\\").number, 76);
    QString name;
    QVERIFY(!files::firstMatch("sub\\*.txt", 0, name));
    QCOMPARE(name, QString("a.txt"));
    QVERIFY(!files::firstMatch("d:\\*.txt", 0, name));
    QCOMPARE(name, QString());
    QVERIFY(!files::kill("sub\\*.txt"));
    QCOMPARE(QDir(m_dir->filePath("sub")).entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"sub"});
}

void TestPlatform::appletTable()
{
    const QStringList all = controlpanel::names();
    QCOMPARE(all.size(), 41);
    QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), 41);
    QCOMPARE(controlpanel::groupOf("ACCESSIBILITY"), 0);
    QCOMPARE(controlpanel::appletFile(controlpanel::groupOf("MOUSE")), QString("main.cpl"));
    QCOMPARE(controlpanel::appletFile(controlpanel::groupOf("MOSUE PROPERTIES")), QString("main.cpl"));
    QCOMPARE(controlpanel::groupOf("MOUSE PROPERTIES"), -1);
    QCOMPARE(controlpanel::appletFile(controlpanel::groupOf("AUDIO")), QString("mmsys.cpl"));
    QCOMPARE(controlpanel::appletFile(controlpanel::groupOf("DATE AND TIME PROPERTIES")), QString("timedate.cpl"));
    QCOMPARE(controlpanel::appletFile(controlpanel::groupOf("HOME PROPERTIES")), QString("sysdm.cpl"));
    QCOMPARE(controlpanel::groupOf("Mouse"), -1);       // callers compare in capitals
    QCOMPARE(controlpanel::groupOf(" MOUSE"), -1);      // blanks are not trimmed
    QCOMPARE(controlpanel::groupOf("DATE  AND TIME"), -1);
    QCOMPARE(controlpanel::appletFile(14), QString("wuaucpl.cpl"));
    // Every Run menu item's name is in the table.
    for (const char *item : {"Accessibility", "Add or Remove Program", "Display Properties", "Windows Firewall",
                             "Add Hardware Wizard", "Internet Properties", "Regional and Language Options",
                             "Game Controller", "Mouse", "Sound", "Network Connections", "User Accounts",
                             "System Properties", "Date and Time Properties"})
        QVERIFY2(controlpanel::groupOf(QString(item).toUpper()) >= 0, item);
}

void TestPlatform::settingsForTheRunningDesktop()
{
    auto only = [](QStringList programs) {
        return [programs](const QString &p) { return programs.contains(p); };
    };
    const int mouse = controlpanel::groupOf("MOUSE");
    const int firewall = controlpanel::groupOf("FIREWALL");
    QCOMPARE(controlpanel::settingsCommand(mouse, "GNOME", only({"gnome-control-center"})),
             (QStringList{"gnome-control-center", "mouse"}));
    QCOMPARE(controlpanel::settingsCommand(mouse, "KDE", only({"systemsettings", "gnome-control-center"})),
             (QStringList{"systemsettings", "kcm_mouse"}));
    QCOMPARE(controlpanel::settingsCommand(mouse, "XFCE", only({"xfce4-mouse-settings"})),
             (QStringList{"xfce4-mouse-settings"}));
    // A group with no panel opens the settings main window.
    QCOMPARE(controlpanel::settingsCommand(firewall, "ubuntu:GNOME", only({"gnome-control-center"})),
             (QStringList{"gnome-control-center"}));
    // A panel program that is missing: the desktop's main settings window.
    QCOMPARE(controlpanel::settingsCommand(mouse, "MATE", only({"mate-control-center"})),
             (QStringList{"mate-control-center"}));
    // Another desktop's settings when the running one has none.
    QCOMPARE(controlpanel::settingsCommand(mouse, "", only({"cinnamon-settings"})),
             (QStringList{"cinnamon-settings", "mouse"}));
    QVERIFY(controlpanel::settingsCommand(mouse, "GNOME", only({})).isEmpty());
}

void TestPlatform::commandLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("plain") << "prog a b" << QStringList{"prog", "a", "b"};
    QTest::newRow("quoted path") << "\"/opt/My Tools/run\" x" << QStringList{"/opt/My Tools/run", "x"};
    QTest::newRow("quoted argument") << "echo \"a  b\" c" << QStringList{"echo", "a  b", "c"};
    QTest::newRow("empty quotes") << "p \"\"" << QStringList{"p", ""};
    QTest::newRow("blanks") << "  p   q  " << QStringList{"p", "q"};
}

void TestPlatform::commandLines()
{
    QFETCH(QString, line);
    QFETCH(QStringList, parts);
    QCOMPARE(processes::splitCommandLine(line), parts);
}

void TestPlatform::windowsProgramAliases()
{
    // Programs on PATH are found as they are; Windows names map to what is installed.
    QVERIFY(!processes::resolveProgram("sh").isEmpty());
    const QString sh = processes::resolveProgram("sh").first();
    QVERIFY(sh.endsWith("/sh"));
    const QStringList terminal = processes::resolveProgram("CMD.EXE");
    const QStringList again = processes::resolveProgram("cmd");
    QCOMPARE(terminal, again);
    QVERIFY(processes::resolveProgram("no-such-program.exe").isEmpty());
}

void TestPlatform::missingProgramIsFileNotFound()
{
    qint64 pid = -1;
    QCOMPARE(processes::start("no-such-program-anywhere --x", processes::WindowStyle::NormalFocus, pid).number, 53);
    QCOMPARE(pid, 0);
    QCOMPARE(processes::start("", processes::WindowStyle::NormalFocus, pid).number, 53);
    QVERIFY(!processes::start("true", processes::WindowStyle::NormalNoFocus, pid));
    QVERIFY(pid > 0);
}

void TestPlatform::titleSearchOrder()
{
    const QStringList titles{"Untitled - Notepad", "Notepad", "My Notepad Notes", "Calculator"};
    QCOMPARE(windows::pickByTitle(titles, "notepad"), 1);             // exact first
    QCOMPARE(windows::pickByTitle(titles, "Untitled"), 0);            // then the beginning
    QCOMPARE(windows::pickByTitle(titles, "lator"), 3);               // then the end
    QCOMPARE(windows::pickByTitle(titles, "Notepad Notes"), 2);
    QCOMPARE(windows::pickByTitle(titles, "pad Not"), -1);            // not the middle
    QCOMPARE(windows::pickByTitle(titles, ""), -1);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
