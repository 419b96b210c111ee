#include "panel/report.h"

#include "panel/exchange.h"
#include "panel/memory_image.h"
#include "port/serial_port.h"
#include "panel/transfer.h"
#include "ui/messages.h"

const QString TransferErrorText =
    QStringLiteral("Une erreur est survenue. Veuillez recommencer ou  vérifier directement sur l'afficheur.");

const QString PartlyWrittenText =
    QStringLiteral("Le panneau a peut-être été programmé en partie. Sa mémoire d'avant l'écriture est sauvegardée : "
                   "Fenêtre > Historique des sauvegardes permet de la restaurer.");

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

void reportWriteEnd(Exchange &exchange, Messages &messages, const QString &answerCheck, const WriteOutcome &outcome,
                    bool answerReport)
{
    if (outcome.cancelled)
        return;
    if (outcome.refused()) {
        reportRefusedWrite(messages, outcome);
        return;
    }
    const bool portLost = exchange.port().lost();
    // Only a write that had begun sending has a backup.
    const bool partly = outcome.timedOut && !outcome.backup.isEmpty();
    if (!partly) {
        if (answerReport)
            COMPTE_RENDU(messages, answerCheck, TransferKind::Write, outcome.timedOut, portLost);
        return;
    }
    exchange.record().noteInterruptedWrite(outcome.backup);
    const bool failureTold = answerReport && !portLost && answerCheck != QLatin1String("NON");
    messages.show(Messages::Icon::Exclamation,
                  failureTold ? TransferErrorText + QStringLiteral("\n\n") + PartlyWrittenText : PartlyWrittenText);
}
