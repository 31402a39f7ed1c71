#pragma once

#include <QString>

#include <exception>

// A failure raised by the computing code (card store, report engine) and
// carried up to the edge of the event handler that started the work, where
// it is reported in one place. The message is the failing layer's own text.
class Failure : public std::exception
{
public:
    explicit Failure(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A failure that is not to be shown: the user cancelled, nothing went wrong.
class SilentAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "aborted"; }
};
