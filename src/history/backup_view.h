#pragma once

#include "history/backup_listing.h"
#include "params/editor_settings.h"
#include "params/parameter_changes.h"
#include "ui/change_views.h"

#include <optional>

// One backup shown: its settings in the editor's words, when it knows the
// whole parameter block (64 to 98); none otherwise.
QList<SettingValue> backupSettings(const MemoryBytes &bytes);

// The rows between entry `index` and the backup of the same port before it,
// in the changes view's words.
ChangesRequest previousDifferences(const BackupListing &listing, int index);
// The rows between the backup and the editor as it stands (nothing: no editor).
ChangesRequest editorDifferences(const MemoryBackup &backup, const std::optional<EditorState> &editor);

// The question a restore asks before it writes: what the panel will change.
ChangesRequest restoreQuestion(const MemoryBackup &backup, const MemoryBytes &panel, const MemoryBytes &card,
                               int openPort);
