#include <QtTest>

#include "objects/filecopy.h"

using namespace vbs;

// The copier that FileSystemObject and Shell.Application share: it never loses the source,
// never follows a link inside what it copies, and a stop in the middle of a large file
// (the time limit) leaves the old target whole and no part file behind.
class TestFileCopy : public QObject {
    Q_OBJECT
private slots:
    void init();
    void copiesBytesAndPermissions();
    void stopInsideALargeFileKeepsTheOldTarget();
    void ontoAndIntoItselfTouchNothing();
    void folderLinksStayLinks();

private:
    static void write(const QString &path, const QByteArray &bytes);
    static QByteArray read(const QString &path);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
};

void TestFileCopy::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->path();
}

void TestFileCopy::write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray TestFileCopy::read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void TestFileCopy::copiesBytesAndPermissions()
{
    QByteArray bytes;
    for (int i = 0; i < 3 * 1024 * 1024 + 17; ++i)
        bytes += char(i * 7);
    write(m_root + "/tool", bytes);
    QFile::setPermissions(m_root + "/tool", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    write(m_root + "/old", "old text");
    QString error;
    qint64 spent = 0;
    QCOMPARE(filecopy::copy(QFileInfo(m_root + "/tool"), m_root + "/old", error, [&](qint64 w) { spent += w; return true; }),
             filecopy::Outcome::Copied);
    QCOMPARE(read(m_root + "/old"), bytes);
    QVERIFY(QFileInfo(m_root + "/old").isExecutable());
    QVERIFY(spent >= bytes.size() / 64); // the work reaches the clock
}

void TestFileCopy::stopInsideALargeFileKeepsTheOldTarget()
{
    write(m_root + "/big", QByteArray(8 * 1024 * 1024, 'b'));
    write(m_root + "/target", "the old target");
    int calls = 0;
    QString error;
    // The clock says stop after the first few blocks: the copy ends there.
    QCOMPARE(filecopy::copy(QFileInfo(m_root + "/big"), m_root + "/target", error, [&](qint64) { return ++calls < 3; }),
             filecopy::Outcome::Stopped);
    QCOMPARE(calls, 3);
    QCOMPARE(read(m_root + "/target"), QByteArray("the old target"));
    QCOMPARE(QDir(m_root).entryList(QDir::Files | QDir::Hidden), (QStringList{"big", "target"}));
}

void TestFileCopy::ontoAndIntoItselfTouchNothing()
{
    QDir().mkpath(m_root + "/box/sub");
    write(m_root + "/box/a.txt", "alpha");
    QVERIFY(QFile::link(m_root + "/box/a.txt", m_root + "/alias.txt"));
    const auto always = [](qint64) { return true; };
    QString error;
    QCOMPARE(filecopy::copy(QFileInfo(m_root + "/box/a.txt"), m_root + "/box/a.txt", error, always), filecopy::Outcome::Itself);
    QCOMPARE(filecopy::copy(QFileInfo(m_root + "/box/a.txt"), m_root + "/alias.txt", error, always), filecopy::Outcome::Itself);
    QCOMPARE(filecopy::copy(QFileInfo(m_root + "/box"), m_root + "/box", error, always), filecopy::Outcome::Itself);
    QCOMPARE(filecopy::copy(QFileInfo(m_root + "/box"), m_root + "/box/sub/inner", error, always), filecopy::Outcome::IntoItself);
    QCOMPARE(filecopy::copy(QFileInfo("/"), m_root + "/root", error, always), filecopy::Outcome::IntoItself);
    QCOMPARE(read(m_root + "/box/a.txt"), QByteArray("alpha"));
    QVERIFY(!QFileInfo::exists(m_root + "/box/sub/inner"));
    QVERIFY(!QFileInfo::exists(m_root + "/root"));
}

void TestFileCopy::folderLinksStayLinks()
{
    QDir().mkpath(m_root + "/box/sub");
    write(m_root + "/box/sub/b.txt", "beta");
    QVERIFY(QFile::link(".", m_root + "/box/loop"));
    QVERIFY(QFile::link("/etc", m_root + "/box/outside"));
    QString error;
    QCOMPARE(filecopy::copy(QFileInfo(m_root + "/box"), m_root + "/copy", error, [](qint64) { return true; }),
             filecopy::Outcome::Copied);
    QCOMPARE(QFileInfo(m_root + "/copy/loop").symLinkTarget(), m_root + "/copy");
    QVERIFY(QFileInfo(m_root + "/copy/outside").isSymLink());
    QCOMPARE(read(m_root + "/copy/sub/b.txt"), QByteArray("beta"));
}

QTEST_GUILESS_MAIN(TestFileCopy)
#include "tst_filecopy.moc"
