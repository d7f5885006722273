#include "boxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

void fitTitle(QMessageBox &box)
{
    // Title bars draw in a bold face of about the application's size, beside the window's
    // icon and buttons (room for four of them).
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int buttons = 4 * QFontMetrics(titleFont).height() * 2;
    const int needed = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + buttons;
    auto *layout = qobject_cast<QGridLayout *>(box.layout());
    if (!layout)
        return;
    layout->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), layout->rowCount(), 0, 1,
                    layout->columnCount());
}
