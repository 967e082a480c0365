#pragma once

#include <QString>
#include <stdexcept>

namespace kontaro {

// An error the user gets to see: the message is German and names what failed (a file, a table).
// The application shows it in the standard error box and rolls the current command back.
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// A file could not be read or written.
class FileError : public UserError {
public:
    using UserError::UserError;
};

// A rule refused a save or a deletion after telling the user why: ends the command silently and
// keeps what it saved before.
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "Abort"; }
};

} // namespace kontaro
