#pragma once

#include <QString>

// Operator passwords are stored as salted Argon2id hashes, never as typed.
namespace Passwords {
// The superuser's password as delivered; the login dialog warns while it still verifies.
inline constexpr const char* deliveredSuperuserPassword = "1";

QString hash(const QString& password);
bool verify(const QString& storedHash, const QString& typed);
} // namespace Passwords
