#include "monitor/speed_export.h"

#include "monitor/speed_log.h"
#include "ui/file_dialogs.h"
#include "ui/retrying.h"
#include "ui/services.h"

#include <QSaveFile>

void exportSpeedLog(const Services &services, const SpeedLog &log)
{
    const QString name = services.files.saveFileName({FileDialogs::Kind::SpeedExports, QStringLiteral("Exporter les lectures de vitesse"),
                                                      QStringLiteral("Fichiers CSV(*.csv);;Tous les fichiers(*.*)"),
                                                      QStringLiteral("Surveillance_vitesse.csv")});
    if (name.isEmpty())
        return;
    const QByteArray bytes = log.csv();
    // Written beside the chosen name and renamed at the end: a failure never
    // leaves half a file under that name.
    retrying(services.messages, QStringLiteral("Erreur lors de l'enregistrement de ") + name + QLatin1Char('.'), [&] {
        QSaveFile file(name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    });
}
