#include "data/passwords.h"

#include <sodium.h>

#include <stdexcept>

namespace {
// Interactive-strength Argon2id, small enough that checking a login stays instant.
constexpr unsigned long long opsLimit = 2;
constexpr size_t memLimit = 8u * 1024u * 1024u;

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium could not be initialised");
}
} // namespace

QString Passwords::hash(const QString& password)
{
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          opsLimit, memLimit) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(out);
}

bool Passwords::verify(const QString& storedHash, const QString& typed)
{
    ensureSodium();
    const QByteArray stored = storedHash.toLatin1();
    if (stored.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}
