#pragma once

#include <QString>

#include <stdexcept>

// A store error: the engine's message and the statement that failed. A conflict is the
// store saying that another desk holds or changed what this transaction needs (busy,
// locked, a serialization failure): the work is retried rather than shown.
class StoreError : public std::runtime_error {
public:
    StoreError(const QString& message, const QString& statement, bool conflict = false)
        : std::runtime_error(message.toStdString()), m_message(message), m_statement(statement),
          m_conflict(conflict)
    {
    }
    QString message() const { return m_message; }
    QString statement() const { return m_statement; }
    bool isConflict() const { return m_conflict; }

private:
    QString m_message;
    QString m_statement;
    bool m_conflict = false;
};
