#pragma once

#include "desk/ask.h"

#include <QString>

#include <functional>
#include <stdexcept>

// Operator accounts (`userk`): the administrator's add, edit, delete and password
// setting, and an operator's change of his own password. Passwords are stored only as
// hashes (Passwords::hash) and checked only through Passwords::verify.
//
// Call each operation inside one action (Action::run). They refuse with Refused (naming
// the box to correct) and stop quietly with ActionCancelled.
namespace Operators {
struct Account {
    QString code;  // loginuser
    QString name;  // name
    QString grade; // dj, "A" to "F"
};

// The store would not take the row (a login code already in use, a store error): the
// screen shows its own save-failure notice. Nothing has been written.
struct NotSaved : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Returns the password typed twice in the password dialog, or empty when none was given.
using AskPassword = std::function<QString()>;

// Boxes of the operator screen the refusals point at.
inline constexpr const char* codeBox = "DBEdit1";
inline constexpr const char* nameBox = "DBEdit3";

bool isSuperuser(const QString& code); // "ADMIN" in any letter case, blanks ignored

// A new operator: code and name checked first, then the password is asked; an empty
// one stores nothing. A code in use throws NotSaved.
void add(const Account& account, const AskPassword& askPassword);
// Edits the operator `originalCode`; a changed code takes his grants along. The
// superuser is never edited. A code in use by another operator throws NotSaved.
void update(const QString& originalCode, const Account& account);
// Deletes the operator and his grants after the question; never the superuser.
void remove(const QString& code, const Ask& confirm);
// Sets the operator's password; an empty one is refused.
void setPassword(const QString& code, const QString& password);
// The logged-in operator's own password: the old one must verify, the new one typed
// twice the same and not empty.
void changeOwnPassword(const QString& code, const QString& oldPassword, const QString& newPassword,
                       const QString& confirmation);
} // namespace Operators
