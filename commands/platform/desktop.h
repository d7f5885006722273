#pragma once

#include <QString>
#include <QtGlobal>

namespace platform {

// What the program asks of the desktop outside its own windows. The program holds one
// instance; tests hand in their own so that nothing leaves the test.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens a web page in the user's browser. The owner is the native window the request
    // comes from, for desktops that place or attribute the browser by it. The result is
    // not examined by any caller: a failure goes unreported.
    virtual void openPage(const QString &address, quintptr ownerWindow) = 0;
};

// The real desktop: the browser that the desktop's settings choose (xdg-open).
class SystemDesktop : public Desktop {
public:
    void openPage(const QString &address, quintptr ownerWindow) override;
};

} // namespace platform
