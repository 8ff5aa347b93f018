#pragma once

#include <QString>
#include <exception>
#include <optional>

// The one error type of the program: a handler that fails throws it, and the handler's guard shows
// its message in the error box.
class AppError : public std::exception
{
public:
    explicit AppError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Runs `work`; the message of an error that escapes it, or nothing when it succeeded.
template <typename Work> std::optional<QString> failureOf(Work &&work)
{
    try {
        work();
        return std::nullopt;
    } catch (const AppError &error) {
        return error.message();
    } catch (const std::exception &error) {
        return QString::fromLocal8Bit(error.what());
    }
}
