#pragma once

#include <QList>
#include <QString>

// Operator rights: which command keys an operator holds (`usergrantk`), granted from the
// two-level catalogue of function groups (`funk`, one per top-level menu) and functions
// (`subfunk`, one per menu item). A menu shows only when its group key is granted too, so
// granting a function always brings its group along.
//
// Every operation writes at once; call them inside one action (Action::run). They refuse
// with Refused and stop quietly (ActionCancelled) for a code that names no operator.
namespace Rights {
struct Entry {
    QString key;     // ownerename / funcename / funename
    QString caption; // ownercname / funccname / funcname
};

inline constexpr const char* superuserCode = "ADMIN";

// The operator a typed code stands for, read as the login reads it: blanks around it do
// not count and the superuser's code may be typed in any letter case.
QString operatorCode(const QString& typed);
bool isSuperuser(const QString& typed);
// True when `userk` holds this (already read) code.
bool operatorExists(const QString& code);
// The name of the first operator whose code begins with the typed text, or empty.
QString operatorName(const QString& typed);
// Every login code of `userk`, trimmed, in code order.
QStringList operatorCodes();

QList<Entry> groups();                           // catalogue order
QList<Entry> functions(const QString& groupKey); // catalogue order
QList<Entry> grants(const QString& code);

// Adds every missing function of the group and the group key itself.
void grantGroup(const QString& code, const QString& groupKey);
// Adds the function and, when missing, its group; refuses a function already held.
void grantFunction(const QString& code, const QString& functionKey);
// Replaces all of the operator's grants by the whole catalogue.
void grantAll(const QString& code);
// The superuser's grants are never taken away, so rights management stays reachable.
void revoke(const QString& code, const QString& key);
void revokeAll(const QString& code);
} // namespace Rights
