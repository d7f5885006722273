#include <QtTest>
#include <QApplication>
#include <QClipboard>

#include "txtcode.h"
#include "vbshighlighter.h"

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
    void undoGivesBackAReplacedText();
    void oneEditIsOneUndoStep();
    void errorMarkLastsUntilAnEdit();
    void gutterInsideTheEditor();
    void colouring_data();
    void colouring();

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

void TestTxtCode::undoGivesBackAReplacedText()
{
    m_editor->setText("Sub Main()\r\n\r\nEnd Sub\r\n");
    m_editor->setSelStart(12);
    m_editor->setSelText("x = 1");
    m_editor->setText("Sub Main()\r\n\r\nEnd Sub"); // as New does
    m_editor->undo();
    QCOMPARE(m_editor->text(), QString("Sub Main()\r\nx = 1\r\nEnd Sub\r\n"));
}

void TestTxtCode::oneEditIsOneUndoStep()
{
    m_editor->setText("a");
    QSignalSpy changes(m_editor, &TxtCode::changed);
    m_editor->asOneEdit([this] {
        m_editor->setSelText("\r\nb");
        m_editor->setSelText("\r\nc");
    });
    QCOMPARE(changes.count(), 2); // each replacement still tells of itself, once
    QCOMPARE(m_editor->text(), QString("\r\nb\r\nca"));
    m_editor->undo();
    QCOMPARE(m_editor->text(), QString("a"));
}

void TestTxtCode::errorMarkLastsUntilAnEdit()
{
    m_editor->setText("one\r\ntwo\r\nthree");
    m_editor->markErrorLine(2);
    QVERIFY(m_editor->hasErrorMark());
    QCOMPARE(m_editor->extraSelections().first().cursor.block().text(), QString("two"));
    m_editor->setSelStart(0); // moving the caret is no edit
    QVERIFY(m_editor->hasErrorMark());
    m_editor->setSelText("x");
    QVERIFY(!m_editor->hasErrorMark());
}

void TestTxtCode::gutterInsideTheEditor()
{
    m_editor->setGeometry(0, 0, 400, 300);
    m_editor->show();
    QVERIFY(m_editor->gutterWidth() > 0);
    QCOMPARE(m_editor->size(), QSize(400, 300)); // the editor's own size stays
    QCOMPARE(m_editor->viewport()->geometry().left(), m_editor->contentsRect().left() + m_editor->gutterWidth());
    QCOMPARE(m_editor->gutter()->width(), m_editor->gutterWidth());
    const int two = m_editor->gutterWidth();
    m_editor->setText(QString("x\r\n").repeated(1000));
    QVERIFY(m_editor->gutterWidth() > two); // four digits need more room than two
}

void TestTxtCode::colouring_data()
{
    using K = VbsHighlighter::Kind;
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("kinds"); // a letter per character: . plain, k, s, c, n, w (command word)
    QTest::newRow("keywords and a string") << "If x Then s = \"a\"\"b\"" << "kk...kkkk.....ssssss";
    QTest::newRow("comment") << "x = 1 ' If" << "....n.cccc";
    QTest::newRow("Rem") << "rem note" << "cccccccc";
    QTest::newRow("quote in a string is no comment") << "s = \"it's\"" << "....ssssss";
    QTest::newRow("command words") << "SendKeys \"x\" : Shell(a)" << "wwwwwwww.sss.:.wwwww(a)";
    QTest::newRow("member after a dot is plain") << "obj.End = &HFF" << "..........nnnn";
    Q_UNUSED(K::Plain);
}

void TestTxtCode::colouring()
{
    QFETCH(QString, line);
    QFETCH(QString, kinds);
    const QList<VbsHighlighter::Kind> got = VbsHighlighter::classify(line);
    QString letters;
    for (VbsHighlighter::Kind k : got) {
        switch (k) {
        case VbsHighlighter::Kind::Keyword: letters += 'k'; break;
        case VbsHighlighter::Kind::String: letters += 's'; break;
        case VbsHighlighter::Kind::Comment: letters += 'c'; break;
        case VbsHighlighter::Kind::Number: letters += 'n'; break;
        case VbsHighlighter::Kind::CommandWord: letters += 'w'; break;
        case VbsHighlighter::Kind::Plain: letters += '.'; break;
        }
    }
    // Plain characters are written as themselves where they are not letters of a word.
    for (int i = 0; i < kinds.size(); ++i)
        if (kinds[i] != '.' && !QString("kscnw").contains(kinds[i]))
            kinds[i] = '.';
    QCOMPARE(letters, kinds);
    // Plain code keeps the editor's own colours: no format at all.
    QVERIFY(!VbsHighlighter::format(VbsHighlighter::Kind::Plain).hasProperty(QTextFormat::ForegroundBrush));
}

QTEST_MAIN(TestTxtCode)
#include "tst_txtcode.moc"
