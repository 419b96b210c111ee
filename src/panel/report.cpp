#include "panel/report.h"

#include "panel/memory_image.h"
#include "panel/transfer.h"
#include "ui/messages.h"

const QString TransferErrorText =
    QStringLiteral("Une erreur est survenue. Veuillez recommencer ou  vérifier directement sur l'afficheur.");

void COMPTE_RENDU(Messages &messages, const QString &answerCheck, TransferKind kind, bool timedOut, bool portLost)
{
    if (answerCheck == QLatin1String("NON") || portLost)
        return;
    if (timedOut)
        messages.show(Messages::Icon::Exclamation, TransferErrorText);
    else if (kind == TransferKind::Read)
        messages.show(Messages::Icon::Information, QStringLiteral("Lecture effectuée avec succés."));
    else
        messages.show(Messages::Icon::Information, QStringLiteral("Programmation effectuée avec succés."));
}

void reportRefusedWrite(Messages &messages, const WriteOutcome &outcome)
{
    if (outcome.invalidAddress >= 0) {
        messages.show(Messages::Icon::Exclamation,
                      QStringLiteral("Envoi annulé : la case %1 ne contient pas d'octet valide. "
                                     "Lisez d'abord la mémoire du panneau.")
                          .arg(cellName(outcome.invalidAddress)));
    } else {
        messages.show(Messages::Icon::Exclamation, QStringLiteral("Envoi annulé : ") + outcome.preparationFailure);
    }
}

QString outOfRangeEntry(const QString &field, const QString &read, const QString &shown)
{
    return QStringLiteral("%1 : %2 → %3").arg(field, read, shown);
}

QString outOfRangeText(const QStringList &entries)
{
    return QStringLiteral("Valeurs hors limites ramenées dans la plage : ") + entries.join(QStringLiteral(", "))
        + QLatin1Char('.');
}
