#pragma once

#include <QString>

// What the operator types. A Chinese input method in full-width mode types digits,
// letters and punctuation as their full-width forms ("５０", "２０２７－０１－０１");
// every place that reads a typed number, date or code folds them first.
namespace Typing {
// Full-width ASCII forms (U+FF01..U+FF5E) become ASCII, the ideographic space a space;
// everything else is kept.
QString halfWidth(const QString& typed);
} // namespace Typing
