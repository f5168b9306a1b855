#pragma once

#include "reports/report.h"

#include <QFont>

// Maps the fonts that layouts name to installed faces. The Windows names 宋体/SimSun
// fall back to the installed Song (Ming) face, 黑体/SimHei to a CJK sans face, and any
// other missing family to the Song face, so Chinese never prints as empty boxes.
namespace ReportFonts {
QString installedFamily(const QString& wanted);
// The font at its point size; painters scale points by their device's resolution.
QFont resolve(const ReportFont& font);
} // namespace ReportFonts
