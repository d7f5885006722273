#pragma once

#include <QByteArray>
#include <optional>

namespace vbs { class Context; }

// The process's standard input as the console host reads it: InputBox, WScript.StdIn.
// Read without stdio's buffer, so that a script waiting for input still stops when its
// time limit passes.
class ConsoleInput {
public:
    static ConsoleInput &standard();

    // The next line without its line break (CR LF or LF); nothing at the end of input, or
    // when the script was stopped while it waited (the context then holds the stop).
    std::optional<QByteArray> readLine(vbs::Context &cx);
    // Everything up to the end of input.
    std::optional<QByteArray> readAll(vbs::Context &cx);
    // Up to `count` bytes; fewer at the end of input.
    std::optional<QByteArray> read(vbs::Context &cx, qsizetype count);
    // Whether the input has ended (waits for the next byte to know); the next byte
    // is a line break (AtEndOfLine).
    std::optional<bool> atEnd(vbs::Context &cx);
    std::optional<bool> atEndOfLine(vbs::Context &cx);

private:
    explicit ConsoleInput(int fd) : m_fd(fd) {}
    // Waits until `enough` holds of the buffer or the input ends; false when stopped.
    template <typename Enough> bool fill(vbs::Context &cx, Enough enough);
    // Reads what is there, waiting at most the milliseconds; false when nothing came yet.
    bool readSome(int milliseconds);

    int m_fd;
    QByteArray m_buffer;
    bool m_ended = false;
};
