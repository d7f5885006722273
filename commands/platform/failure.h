#pragma once

#include <QString>

namespace platform {

// A failed platform operation: VBScript's error number for it (53 File not found, ...) and,
// where the number's own text would not say enough, a description of its own.
struct Failure {
    int number = 0;
    QString description;

    explicit operator bool() const { return number != 0; }
};

inline Failure failed(int number, const QString &description = QString())
{
    return Failure{number, description};
}

// Error numbers the platform reports.
enum : int {
    InvalidCall = 5,
    BadFileName = 52,
    FileNotFound = 53,
    FileExists = 58,
    DeviceUnavailable = 68,
    PermissionDenied = 70,
    PathFileAccess = 75,
    PathNotFound = 76,
};

} // namespace platform
