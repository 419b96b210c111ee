#include "history/restore_plan.h"

#include "panel/memory_image.h"

#include <algorithm>

namespace {
QString byteText(quint8 byte)
{
    return hexText(byte).rightJustified(2, QLatin1Char('0'));
}
} // namespace

const QString ReadBackFailedText =
    QStringLiteral("Restauration non vérifiée : la relecture du panneau a échoué. Vérifiez la liaison puis lisez "
                   "à nouveau le panneau.");
const QString NothingToRestoreText =
    QStringLiteral("Cette sauvegarde ne contient aucun octet connu : il n'y a rien à restaurer.");

RestorePlan restorePlan(const MemoryBackup &backup)
{
    const bool lowHalf = std::any_of(backup.bytes.begin(), backup.bytes.begin() + EditorTransfer.writeFirst,
                                     [](const std::optional<quint8> &b) { return b.has_value(); });
    const TransferProfile &profile = lowHalf ? LuminosityTransfer : EditorTransfer;
    RestorePlan plan{&profile, lowHalf ? QStringLiteral("LUM") : QStringLiteral("dump_24c01"), profile.writeFirst,
                     16 * profile.writePages, 0};
    for (int a = plan.first; a < plan.first + plan.count; ++a)
        plan.restored += backup.bytes[a].has_value();
    return plan;
}

MemoryBytes restoredCard(const MemoryBackup &backup, const MemoryBytes &panel, const RestorePlan &plan)
{
    MemoryBytes card = panel;
    for (int a = plan.first; a < plan.first + plan.count; ++a) {
        if (backup.bytes[a])
            card[a] = backup.bytes[a];
    }
    return card;
}

int firstMismatch(const MemoryBackup &backup, const MemoryBytes &readBack, const RestorePlan &plan)
{
    for (int a = plan.first; a < plan.first + plan.count; ++a) {
        if (backup.bytes[a] && readBack[a] != backup.bytes[a])
            return a;
    }
    return -1;
}

QString portMismatchLine(int backupPort, int openPort)
{
    if (backupPort == openPort)
        return {};
    return QStringLiteral("Cette sauvegarde vient de COM%1 ; le port ouvert est COM%2.").arg(backupPort).arg(openPort);
}

QString verdictText(const MemoryBackup &backup, const MemoryBytes &readBack, const RestorePlan &plan)
{
    const int a = firstMismatch(backup, readBack, plan);
    if (a < 0)
        return QStringLiteral("Restauration vérifiée : les %1 octets restaurés sont sur le panneau.").arg(plan.restored);
    const QString found = readBack[a] ? byteText(*readBack[a]) : QStringLiteral("--");
    return QStringLiteral("Restauration à vérifier : à l'adresse %1, le panneau relu donne %2 au lieu de %3. Vérifiez "
                          "la liaison puis restaurez à nouveau.")
        .arg(cellName(a), found, byteText(*backup.bytes[a]));
}
