#pragma once

#include <QStringList>

#include "desktop.h"

// Records page requests instead of starting a browser.
class FakeDesktop : public platform::Desktop {
public:
    void openPage(const QString &address, quintptr ownerWindow) override
    {
        pages << address;
        owners << ownerWindow;
    }
    QStringList pages;
    QList<quintptr> owners;
};
