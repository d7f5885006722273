#pragma once

#include <QString>
#include <QStringList>

// The example code that the Run, Examples and More Commands menus put into the editor.
namespace snippets {

// A piece: line breaks before, one text, line breaks after. Most pieces have one of each.
struct Piece {
    int before;
    const char *text; // UTF-8; may hold line breaks of its own
    int after;
};

struct Snippet {
    const char *menuControl; // the menu item that inserts it
    QList<Piece> pieces;
};

// Every snippet, in menu order: Run, then Examples, then More Commands.
const QList<Snippet> &all();
const Snippet *find(const QString &menuControl);

// What one piece inserts, with CR LF line breaks.
QString pieceText(const Piece &piece);

// The one editor operation that inserting needs: replace the selection (or insert at the
// caret), leaving the caret after the inserted text.
class Editor {
public:
    virtual ~Editor() = default;
    virtual void replaceSelection(const QString &text) = 0;
};

// Inserts the snippet's pieces in order, each as one replacement of the selection.
void insert(const Snippet &snippet, Editor &editor);

} // namespace snippets
