#pragma once

#include <QString>

// The catalogue's own log, log/opac.log in the library folder: start, sign-ins, renewals,
// errors. Safe to call from any thread. PINs are never written.
namespace OpacLog {
void write(const QString& message);
QString file();
} // namespace OpacLog
