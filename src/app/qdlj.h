#pragma once

#include <QString>

#include <optional>

class QWidget;

// "确定路径": the folder chooser of the backup screen. The folder goes into the backup
// box or the restore box by the copy mode; a backup folder must not be the data folder
// and must be writable.
namespace Tqdljfm {
enum class Mode { Backup, Restore };

// The program-wide copy mode: the backup screen's radio and action buttons set it.
Mode& copyMode();

// Asks for a folder starting at `start`. Returns the chosen folder, an empty text when the
// folder was refused (the refusal has been shown), or nothing when the operator cancelled.
std::optional<QString> choose(QWidget* parent, const QString& start);
} // namespace Tqdljfm
