#pragma once

#include <QSet>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Colours VBScript in the editor: keywords, strings, comments, numbers and the command
// words. Plain code keeps the editor's own text colour on its own background.
class VbsHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit VbsHighlighter(QTextDocument *document);

    enum class Kind { Plain, Keyword, String, Comment, Number, CommandWord };
    // What the character at `position` of a line of code is, for the tests and for painting.
    static QList<Kind> classify(const QString &line);
    static QTextCharFormat format(Kind kind);

protected:
    void highlightBlock(const QString &text) override;
};
