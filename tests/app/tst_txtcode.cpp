#include <QtTest>
#include <QApplication>
#include <QClipboard>

#include "txtcode.h"

// The editor adapter speaks in CR LF: texts, positions and replacements.
class TestTxtCode : public QObject {
    Q_OBJECT
private slots:
    void init() { m_editor = new TxtCode; }
    void cleanup() { delete m_editor; }

    void textRoundTripsWithCrLf();
    void loneBreaksBecomeLines_data();
    void loneBreaksBecomeLines();
    void selStartCountsBreaksAsTwo();
    void selStartInsideBreakStaysOnLine();
    void selTextReplacesSelection();
    void oneNotificationPerChange();
    void userTypingNotifies();
    void pasteWithLoneLineFeeds();

private:
    TxtCode *m_editor = nullptr;
};

void TestTxtCode::textRoundTripsWithCrLf()
{
    m_editor->setText("Sub Main()\r\n\r\nEnd Sub\r\n");
    QCOMPARE(m_editor->text(), QString("Sub Main()\r\n\r\nEnd Sub\r\n"));
    QCOMPARE(m_editor->text().size(), 23);
}

void TestTxtCode::loneBreaksBecomeLines_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("LF") << "a\nb" << "a\r\nb";
    QTest::newRow("CR") << "a\rb" << "a\r\nb";
    QTest::newRow("mixed") << "a\r\nb\nc\rd" << "a\r\nb\r\nc\r\nd";
    QTest::newRow("CR CR LF") << "a\r\r\nb" << "a\r\n\r\nb";
}

void TestTxtCode::loneBreaksBecomeLines()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    m_editor->setText(in);
    QCOMPARE(m_editor->text(), out);
}

void TestTxtCode::selStartCountsBreaksAsTwo()
{
    m_editor->setText("Sub Main()\r\n\r\nEnd Sub\r\n");
    for (int pos : {0, 5, 10, 12, 14, 21, 23}) {
        m_editor->setSelStart(pos);
        QCOMPARE(m_editor->selStart(), pos);
    }
    m_editor->setSelStart(12);
    m_editor->setSelText("x");
    QCOMPARE(m_editor->text(), QString("Sub Main()\r\nx\r\nEnd Sub\r\n"));
}

void TestTxtCode::selStartInsideBreakStaysOnLine()
{
    m_editor->setText("ab\r\ncd");
    m_editor->setSelStart(3); // between CR and LF
    QCOMPARE(m_editor->selStart(), 2);
    m_editor->setSelStart(99); // past the end
    QCOMPARE(m_editor->selStart(), 6);
}

void TestTxtCode::selTextReplacesSelection()
{
    m_editor->setText("one\r\ntwo\r\nthree");
    QTextCursor cursor = m_editor->textCursor();
    cursor.setPosition(m_editor->toDocument(3));
    cursor.setPosition(m_editor->toDocument(8), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    QCOMPARE(m_editor->selText(), QString("\r\ntwo"));
    QCOMPARE(m_editor->selLength(), 5);
    m_editor->setSelText("\r\nX\r\n");
    QCOMPARE(m_editor->text(), QString("one\r\nX\r\n\r\nthree"));
    QCOMPARE(m_editor->selStart(), 3 + 5); // caret right after the insertion
    QCOMPARE(m_editor->selLength(), 0);
}

void TestTxtCode::oneNotificationPerChange()
{
    QSignalSpy spy(m_editor, &TxtCode::changed);
    m_editor->setText("a\r\nb\r\nc");
    QCOMPARE(spy.count(), 1);
    m_editor->setSelStart(1);
    QCOMPARE(spy.count(), 1); // moving the caret is no change
    m_editor->setSelText("\r\nline\r\n");
    QCOMPARE(spy.count(), 2);
    m_editor->setText(m_editor->text()); // same text: nothing changed
    QCOMPARE(spy.count(), 2);
    m_editor->setSelText(QString());   // nothing selected, nothing inserted
    QCOMPARE(spy.count(), 2);
}

void TestTxtCode::userTypingNotifies()
{
    QSignalSpy spy(m_editor, &TxtCode::changed);
    m_editor->setText("x");
    m_editor->setSelStart(1);
    QTest::keyClicks(m_editor, "ab");
    QCOMPARE(m_editor->text(), QString("xab"));
    QCOMPARE(spy.count(), 3);
    QTest::keyClick(m_editor, Qt::Key_Return);
    QCOMPARE(m_editor->text(), QString("xab\r\n"));
}

void TestTxtCode::pasteWithLoneLineFeeds()
{
    m_editor->setText(QString());
    QApplication::clipboard()->setText("a\nb\rc");
    m_editor->paste();
    QCOMPARE(m_editor->text(), QString("a\r\nb\r\nc"));
}

QTEST_MAIN(TestTxtCode)
#include "tst_txtcode.moc"
