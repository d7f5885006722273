#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "x11window.h"

// While a box or dialog of the window is open: when it closes, the window is made the
// active one again and the focus goes back to the widget that had it. Window managers do
// not always do it themselves for a window kept off the task bar.
class FocusReturn {
public:
    explicit FocusReturn(QWidget *window)
        : m_window(window ? window->window() : nullptr), m_focused(QApplication::focusWidget()) {}
    ~FocusReturn()
    {
        if (!m_window || !m_window->isVisible())
            return;
        x11window::activate(m_window);
        m_window->activateWindow();
        if (m_focused && m_focused->window() == m_window)
            m_focused->setFocus(Qt::OtherFocusReason);
    }
    FocusReturn(const FocusReturn &) = delete;
    FocusReturn &operator=(const FocusReturn &) = delete;

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_focused;
};
