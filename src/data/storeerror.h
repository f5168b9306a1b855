#pragma once

#include <QString>

#include <stdexcept>

// A store error: the engine's message and the statement that failed.
class StoreError : public std::runtime_error {
public:
    StoreError(const QString& message, const QString& statement)
        : std::runtime_error(message.toStdString()), m_message(message), m_statement(statement)
    {
    }
    QString message() const { return m_message; }
    QString statement() const { return m_statement; }

private:
    QString m_message;
    QString m_statement;
};
