#include "statuslabel.h"

#include <QPainter>

void StatusLabel::setMessage(const QString &message)
{
    setText(message);
    updateToolTip();
}

QString StatusLabel::fitted(const QString &text, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString ellipsis = QStringLiteral("...");
    // The longest run of whole words that fits with the ellipsis after it.
    for (qsizetype end = text.lastIndexOf(QLatin1Char(' ')); end > 0; end = text.lastIndexOf(QLatin1Char(' '), end - 1)) {
        const QString head = text.left(end).trimmed();
        if (!head.isEmpty() && metrics.horizontalAdvance(head + ellipsis) <= width)
            return head + ellipsis;
    }
    // Not even the first word fits: cut inside it.
    return metrics.elidedText(text, Qt::ElideRight, width);
}

void StatusLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, int(alignment()) | Qt::TextSingleLine, fitted(text(), fontMetrics(), area.width()));
}

void StatusLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

void StatusLabel::updateToolTip()
{
    const bool cut = fitted(text(), fontMetrics(), contentsRect().width()) != text();
    setToolTip(cut ? text() : QString());
}
