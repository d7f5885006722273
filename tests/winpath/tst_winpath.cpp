#include <QtTest>

#include "winpath.h"

class TestWinPath : public QObject {
    Q_OBJECT
private slots:
    void drives();
    void textFunctions_data();
    void textFunctions();
    void build();
};

void TestWinPath::drives()
{
    QVERIFY(winpath::hasDrive("C:"));
    QVERIFY(winpath::hasDrive("d:\\x"));
    QVERIFY(winpath::hasDrive("C:file"));
    QVERIFY(!winpath::hasDrive("/c:"));
    QVERIFY(!winpath::hasDrive("1:"));
    QVERIFY(!winpath::hasDrive("c"));
    QCOMPARE(winpath::local("d:\\x"), std::nullopt);
    QCOMPARE(winpath::local("dir\\sub\\a.txt"), std::optional<QString>("dir/sub/a.txt"));
    QCOMPARE(winpath::local("/tmp/a"), std::optional<QString>("/tmp/a"));
}

void TestWinPath::textFunctions_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("extension");
    QTest::newRow("windows file") << "C:\\dir\\a.txt" << "a.txt" << "C:\\dir" << "a" << "txt";
    QTest::newRow("file at the drive's root") << "C:\\a.txt" << "a.txt" << "C:\\" << "a" << "txt";
    QTest::newRow("drive root") << "C:\\" << "" << "" << "" << "";
    QTest::newRow("folder with trailing separator") << "C:\\dir\\" << "dir" << "C:\\" << "dir" << "";
    QTest::newRow("linux file") << "/tmp/x/a.tar.gz" << "a.tar.gz" << "/tmp/x" << "a.tar" << "gz";
    QTest::newRow("file under root") << "/a" << "a" << "/" << "a" << "";
    QTest::newRow("root") << "/" << "" << "" << "" << "";
    QTest::newRow("mixed separators") << "dir/sub\\a.b" << "a.b" << "dir/sub" << "a" << "b";
    QTest::newRow("bare name") << "a.txt" << "a.txt" << "" << "a" << "txt";
    QTest::newRow("dot file") << "x/.profile" << ".profile" << "x" << "" << "profile";
    QTest::newRow("empty") << "" << "" << "" << "" << "";
}

void TestWinPath::textFunctions()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QString, base);
    QFETCH(QString, extension);
    QCOMPARE(winpath::fileName(path), name);
    QCOMPARE(winpath::parentFolder(path), parent);
    QCOMPARE(winpath::baseName(path), base);
    QCOMPARE(winpath::extension(path), extension);
}

void TestWinPath::build()
{
    QCOMPARE(winpath::build("C:\\dir", "a.txt"), QString("C:\\dir\\a.txt"));
    QCOMPARE(winpath::build("C:\\dir\\", "a.txt"), QString("C:\\dir\\a.txt"));
    QCOMPARE(winpath::build("C:", "a.txt"), QString("C:a.txt"));
    QCOMPARE(winpath::build("/tmp", "a.txt"), QString("/tmp/a.txt"));
    QCOMPARE(winpath::build("rel", "a.txt"), QString("rel/a.txt"));
    QCOMPARE(winpath::build("", "a.txt"), QString("a.txt"));
}

QTEST_APPLESS_MAIN(TestWinPath)
#include "tst_winpath.moc"
