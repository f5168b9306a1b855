#pragma once

#include <QString>

// Operator passwords are stored as salted Argon2id hashes, never as typed.
namespace Passwords {
// The superuser's password as delivered; the login dialog warns while it still verifies.
inline constexpr const char* deliveredSuperuserPassword = "1";
// The longest password any box takes: what can be set can be typed at login, and no more.
inline constexpr int maxLength = 32;

QString hash(const QString& password);
bool verify(const QString& storedHash, const QString& typed);
} // namespace Passwords
