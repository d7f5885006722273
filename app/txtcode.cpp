#include "txtcode.h"

#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "vbshighlighter.h"

// The strip at the editor's left that numbers its lines.
class LineNumberGutter : public QWidget {
public:
    explicit LineNumberGutter(TxtCode *editor) : QWidget(editor), m_editor(editor) {}
    QSize sizeHint() const override { return QSize(m_editor->gutterWidth(), 0); }

protected:
    void paintEvent(QPaintEvent *event) override { m_editor->paintGutter(event); }

private:
    TxtCode *m_editor;
};

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
    m_highlighter = new VbsHighlighter(document());
    m_gutter = new LineNumberGutter(this);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(gutterWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &TxtCode::updateGutter);
    setViewportMargins(gutterWidth(), 0, 0, 0);
}

void TxtCode::onContentsChange(int, int charsRemoved, int charsAdded)
{
    if (!charsRemoved && !charsAdded)
        return;
    if (!extraSelections().isEmpty()) // an edit ends the error's mark
        setExtraSelections({});
    if (!m_quiet)
        emit changed();
}

void TxtCode::asOneEdit(const std::function<void()> &changes)
{
    QTextCursor block(document());
    block.beginEditBlock();
    changes();
    // The changes inside told of themselves already; the block's summary is no new change.
    const bool wasQuiet = m_quiet;
    m_quiet = true;
    block.endEditBlock();
    m_quiet = wasQuiet;
}

void TxtCode::markErrorLine(int line)
{
    const QTextBlock target = document()->findBlockByNumber(line - 1);
    if (!target.isValid())
        return;
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(QColor(255, 150, 150));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.cursor = QTextCursor(target);
    setExtraSelections({mark});
}

int TxtCode::gutterWidth() const
{
    int digits = 2;
    for (int n = qMax(1, blockCount()); n >= 100; n /= 10)
        ++digits;
    return 6 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TxtCode::updateGutter(const QRect &rect, int dy)
{
    if (dy)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
}

void TxtCode::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_gutter->setGeometry(QRect(area.left(), area.top(), gutterWidth(), area.height()));
}

void TxtCode::paintGutter(QPaintEvent *event)
{
    QPainter painter(m_gutter);
    const QColor base = palette().color(QPalette::Base);
    painter.fillRect(event->rect(), base.darker(108));
    painter.setPen(QColor(110, 90, 110));
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    const int lineHeight = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible())
            painter.drawText(0, qRound(top), m_gutter->width() - 3, lineHeight, Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + 1));
        top += blockBoundingRect(block).height();
        block = block.next();
    }
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
    if (old.isEmpty() && !document()->isUndoAvailable()) {
        setPlainText(fresh); // the first text: nothing to undo back to
    } else {
        // Replacing the whole text as one step, so that Undo gives the old text back.
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        all.insertText(fresh);
        setTextCursor(all);
    }
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

bool TxtCode::canInsertFromMimeData(const QMimeData *source) const
{
    if (source && source->hasUrls()) {
        for (const QUrl &url : source->urls())
            if (url.isLocalFile())
                return false;
    }
    return QPlainTextEdit::canInsertFromMimeData(source);
}

void TxtCode::insertFromMimeData(const QMimeData *source)
{
    if (!canInsertFromMimeData(source))
        return;
    if (source && source->hasText()) {
        textCursor().insertText(toParagraphs(source->text()));
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}
