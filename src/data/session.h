#pragma once

#include <QSet>
#include <QString>

// The logged-in operator, set once by a successful login and read by every screen
// that records who did something (the operator columns store the name).
struct OperatorSession {
    QString loginCode;
    QString name;
    QString grade;
    bool attempted = false; // a login attempt has been judged
    bool completed = false; // a login attempt succeeded
    QSet<QString> grants;   // the command keys granted in `usergrantk` (letter case counts)

    bool isAdministrator() const { return grade.compare("A", Qt::CaseInsensitive) == 0; }
    bool loggedIn() const { return attempted && completed; }
    bool holds(const QString& key) const { return grants.contains(key); }
};

class Session {
public:
    static OperatorSession& current();
    static void reset();
};
