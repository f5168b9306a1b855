#pragma once

#include <QString>

// Appends a dated line to log/library.log under the program folder.
namespace Log {
void write(const QString& message);
}
