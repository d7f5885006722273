#include "txtcode.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Any line break the user could mean (CR LF, lone CR, lone LF) becomes one paragraph break.
QString toParagraphs(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

TxtCode::TxtCode(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("txtCode"));
    setAccessibleName(tr("Code editor"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Like the classic multi-line text box: Tab moves the focus along the tab order.
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &TxtCode::onContentsChange);
}

void TxtCode::onContentsChange(int, int charsRemoved, int charsAdded)
{
    if (!m_quiet && (charsRemoved || charsAdded))
        emit changed();
}

QString TxtCode::text() const
{
    QString plain = toPlainText();
    plain.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return plain;
}

void TxtCode::setText(const QString &text)
{
    const QString old = toPlainText();
    const QString fresh = toParagraphs(text);
    m_quiet = true;
    setPlainText(fresh);
    m_quiet = false;
    if (old != fresh)
        emit changed();
}

int TxtCode::toModel(int documentPosition) const
{
    return documentPosition + document()->findBlock(documentPosition).blockNumber();
}

int TxtCode::toDocument(int modelPosition) const
{
    // A block b starts at document position p(b) and model position p(b) + b; search the
    // last block whose model start is not after the position.
    const QTextDocument *doc = document();
    int lo = 0, hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= modelPosition)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const int offset = qMax(0, modelPosition - (block.position() + lo));
    // A position inside a CR LF pair, or past the end, stands at the end of the line.
    return block.position() + qMin(offset, block.length() - 1);
}

int TxtCode::selStart() const
{
    return toModel(textCursor().selectionStart());
}

void TxtCode::setSelStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(toDocument(qMax(0, position)));
    setTextCursor(cursor);
}

int TxtCode::selLength() const
{
    const QTextCursor cursor = textCursor();
    return toModel(cursor.selectionEnd()) - toModel(cursor.selectionStart());
}

QString TxtCode::selText() const
{
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return selected;
}

void TxtCode::setSelText(const QString &text)
{
    QTextCursor cursor = textCursor();
    const bool hadSelection = cursor.hasSelection();
    const QString fresh = toParagraphs(text);
    m_quiet = true;
    cursor.insertText(fresh);
    m_quiet = false;
    setTextCursor(cursor);
    if (hadSelection || !fresh.isEmpty())
        emit changed();
}

void TxtCode::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText()) {
        textCursor().insertText(toParagraphs(source->text()));
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}
