#pragma once

#include <QString>
#include <QStringList>

// International Standard Book Numbers as operators type them and catalogues store them:
// with or without hyphens and spaces, ten or thirteen digits.
namespace Isbn {
// The digits (and a final X of an ISBN-10), without hyphens or spaces; empty when the
// text is no ISBN (wrong length or check digit).
QString compact(const QString& text);
// The thirteen-digit form of a valid ISBN-10 or ISBN-13; empty when invalid.
QString toIsbn13(const QString& text);
// The ten-digit form when there is one (978 prefix); empty otherwise.
QString toIsbn10(const QString& text);
// The forms a catalogue may have indexed the book under: ISBN-13 and ISBN-10.
QStringList searchForms(const QString& text);
} // namespace Isbn
