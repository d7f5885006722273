#pragma once

#include <QLabel>

// The status line: a label whose text, when longer than the line, is shown cut at a word
// and ended with "...", with the whole text in its tooltip. Its text (what screen readers
// and tests read) is always the whole message.
class StatusLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setMessage(const QString &message);
    // The text as it fits in `width` pixels of the font: whole, or cut after a word with "...".
    static QString fitted(const QString &text, const QFontMetrics &metrics, int width);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateToolTip();
};
