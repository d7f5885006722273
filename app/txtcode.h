#pragma once

#include <QPlainTextEdit>

#include "snippets.h"

// The code editor. Everything outside this class sees its text the way scripts are
// written and counted: lines separated by CR LF. QPlainTextEdit keeps paragraphs instead,
// so positions are translated here: in the CR LF model every line break before a position
// counts two characters, in the document one.
class TxtCode : public QPlainTextEdit, public snippets::Editor {
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
    void replaceSelection(const QString &text) override { setSelText(text); }

    // Converts positions between the CR LF model and the document.
    int toModel(int documentPosition) const;
    int toDocument(int modelPosition) const;

signals:
    // One notification per change of the text, by the user or by the program.
    void changed();

protected:
    void insertFromMimeData(const QMimeData *source) override;

private:
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    bool m_quiet = false;
};
