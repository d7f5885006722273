#pragma once

#include <QPlainTextEdit>
#include <functional>

class VbsHighlighter;

// The code editor. Everything outside this class sees its text the way scripts are
// written and counted: lines separated by CR LF. QPlainTextEdit keeps paragraphs instead,
// so positions are translated here: in the CR LF model every line break before a position
// counts two characters, in the document one.
class TxtCode : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TxtCode(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

    // Caret position in the CR LF model; setting it clears any selection.
    int selStart() const;
    void setSelStart(int position);
    int selLength() const;
    QString selText() const;
    // Replaces the selection (or inserts at the caret) and leaves the caret after it.
    void setSelText(const QString &text);

    // Converts positions between the CR LF model and the document.
    int toModel(int documentPosition) const;
    int toDocument(int modelPosition) const;

    // Files dropped on the editor are for the window to open, not text to insert.
    bool canInsertFromMimeData(const QMimeData *source) const override;

    // Runs the changes as one step of Undo (a whole snippet, New).
    void asOneEdit(const std::function<void()> &changes);
    // Marks a line (1-based) as the place of an error, until the text changes.
    void markErrorLine(int line);
    bool hasErrorMark() const { return !extraSelections().isEmpty(); }
    // The gutter with the line numbers, inside the editor's own area.
    int gutterWidth() const;
    QWidget *gutter() const { return m_gutter; }

signals:
    // One notification per change of the text, by the user or by the program.
    void changed();

protected:
    void insertFromMimeData(const QMimeData *source) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class LineNumberGutter;
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    void paintGutter(QPaintEvent *event);
    void updateGutter(const QRect &rect, int dy);
    bool m_quiet = false;
    QWidget *m_gutter = nullptr;
    VbsHighlighter *m_highlighter = nullptr;
};
