#pragma once

#include <QString>
#include <optional>

// Script files on disk. They are written as the editor holds them: UTF-8 without a
// byte-order mark, CR LF line ends. They are read as UTF-8, as UTF-16 after a byte-order
// mark, or as Windows-1252 when the bytes are not valid UTF-8 (a file from an old Windows
// editor), with line ends of any kind.
namespace scriptfile {

struct Read {
    std::optional<QString> text; // CR LF line breaks; nothing when the file could not be read
    QString error;               // why not
};

Read read(const QString &fileName);
// Replaces the file atomically; returns the reason when it could not.
std::optional<QString> write(const QString &fileName, const QString &text);

} // namespace scriptfile
