#pragma once

#include <QString>

// The logged-in operator, set once by a successful login and read by every screen
// that records who did something (the operator columns store the name).
struct OperatorSession {
    QString loginCode;
    QString password;
    QString name;
    QString grade;
    bool attempted = false; // a login attempt has been judged
    bool completed = false; // a login attempt succeeded

    bool isAdministrator() const { return grade.compare("A", Qt::CaseInsensitive) == 0; }
    bool loggedIn() const { return attempted && completed; }
};

class Session {
public:
    static OperatorSession& current();
    static void reset();
};
