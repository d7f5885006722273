#pragma once

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

// Answers the message boxes that a run shows, as a user would, recording what they said.
class BoxAnswerer : public QObject {
public:
    struct Box {
        QString title, text;
        QMessageBox::Icon icon;
        int buttons;
        int width = 0;
    };

    BoxAnswerer()
    {
        connect(&m_poll, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_poll.start(5);
    }
    // Runs once while the next box is up, before it is answered.
    std::function<void()> whileOpen;
    QList<Box> boxes;
    QString typed; // what an input box gets; null: Cancel

private:
    void poll()
    {
        if (auto *input = qobject_cast<QInputDialog *>(QApplication::activeModalWidget())) {
            if (!input->isVisible())
                return;
            boxes << Box{input->windowTitle(), input->labelText(), QMessageBox::NoIcon, 2};
            if (typed.isNull()) {
                input->reject();
            } else {
                input->setTextValue(typed);
                input->accept();
            }
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        boxes << Box{box->windowTitle(), box->text(), box->icon(), int(box->buttons().size()), box->width()};
        if (whileOpen) {
            auto action = std::move(whileOpen);
            whileOpen = nullptr;
            action();
        }
        // As a user pressing Enter: the default button.
        QAbstractButton *answer = box->defaultButton();
        if (!answer)
            answer = box->button(QMessageBox::Ok);
        answer->click();
    }
    QTimer m_poll;
};
