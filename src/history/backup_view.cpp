#include "history/backup_view.h"

#include "history/restore_plan.h"

namespace {
bool knowsBlock(const MemoryBytes &bytes)
{
    return std::all_of(bytes.begin() + ParameterBlockFirst, bytes.begin() + ParameterBlockFirst + ParameterBlockSize,
                       [](const std::optional<quint8> &b) { return b.has_value(); });
}

QString when(const MemoryBackup &backup)
{
    return backup.takenAt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}
} // namespace

QList<SettingValue> backupSettings(const MemoryBytes &bytes)
{
    return knowsBlock(bytes) ? parameterValues(bytes) : QList<SettingValue>{};
}

ChangesRequest previousDifferences(const BackupListing &listing, int index)
{
    ChangesRequest request;
    request.title = QStringLiteral("Écarts avec la sauvegarde précédente");
    request.toHeading = QStringLiteral("Cette sauvegarde");
    const int previous = previousOfSamePort(listing, index);
    const MemoryBackup &backup = listing.entries[index].backup;
    if (previous < 0) {
        request.lead = QStringLiteral("Aucune sauvegarde plus ancienne de COM%1.").arg(backup.port);
        request.empty = QString();
        return request;
    }
    const MemoryBackup &older = listing.entries[previous].backup;
    request.lead = QStringLiteral("Par rapport à la sauvegarde de COM%1 du %2 :").arg(older.port).arg(when(older));
    request.fromHeading = QStringLiteral("Précédente");
    request.rows = changeRows(cardChanges(older.bytes, backup.bytes));
    request.empty = QStringLiteral("Aucun octet connu des deux ne diffère.");
    return request;
}

ChangesRequest editorDifferences(const MemoryBackup &backup, const std::optional<EditorState> &editor)
{
    ChangesRequest request;
    request.title = QStringLiteral("Écarts avec l'éditeur");
    request.fromHeading = QStringLiteral("Sauvegarde");
    request.empty = QStringLiteral("Aucun réglage ne diffère de l'éditeur.");
    if (!editor) {
        request.lead = QStringLiteral("L'éditeur des paramètres n'est pas ouvert.");
        request.empty = QString();
        return request;
    }
    if (!knowsBlock(backup.bytes)) {
        request.lead = QStringLiteral("Cette sauvegarde ne contient pas tous les octets des paramètres (64 à 98).");
        request.empty = QString();
        return request;
    }
    request.lead = QStringLiteral("Par rapport à l'éditeur des paramètres tel qu'il est :");
    if (const std::optional<MemoryBytes> now = withEditorState(backup.bytes, *editor))
        request.rows = changeRows(parameterChanges(backup.bytes, *now));
    return request;
}

ChangesRequest restoreQuestion(const MemoryBackup &backup, const MemoryBytes &panel, const MemoryBytes &card,
                               int openPort)
{
    ChangesRequest request;
    request.title = QStringLiteral("Restauration");
    request.lead = QStringLiteral("Le panneau sur COM%1 va changer :").arg(openPort);
    request.toHeading = QStringLiteral("Sauvegarde");
    request.rows = changeRows(cardChanges(panel, card));
    request.empty = QStringLiteral("Le panneau contient déjà cette sauvegarde : rien ne changera.");
    request.note = portMismatchLine(backup.port, openPort);
    request.accept = QStringLiteral("Restaurer");
    request.reject = QStringLiteral("Annuler");
    return request;
}
