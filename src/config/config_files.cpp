#include "config/config_files.h"

#include "config/config_text.h"
#include "link/configuration_window.h"
#include "ui/file_dialogs.h"
#include "ui/messages.h"
#include "ui/retrying.h"
#include "ui/window_registry.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>

#include <optional>

namespace {
// A configuration file is a few hundred bytes; reading stops well past that.
constexpr qint64 ReadLimit = 64 * 1024 + 1;
} // namespace

void OUVRIR_CONFIGURATION(WindowRegistry &registry)
{
    Messages &messages = registry.services().messages;
    const QString name = registry.services().files.openFileName(
        {FileDialogs::Kind::ConfigurationFiles, QStringLiteral("Ouvrir un fichier de configuration LDQ"),
         QStringLiteral("Fichiers configuration(*.omr);;Tous les fichiers(*.*)"), QStringLiteral("Configuration_LDQ")});
    if (name.isEmpty())
        return;
    QByteArray TEXTE_LU;
    const bool read = retrying(messages, QStringLiteral("Erreur d'ouverture de ") + name, [&] {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        TEXTE_LU = file.read(ReadLimit);
        return file.error() == QFileDevice::NoError;
    });
    if (!read)
        return;
    registry.showNormal(WindowId::Configuration);
    if (!readConfigurationPositions(TEXTE_LU)) {
        messages.show(Messages::Icon::None, name + QStringLiteral(" n'est pas un fichier de configuration."));
        return;
    }
    LIRE_CONFIGURATION(registry, TEXTE_LU);
}

void LIRE_CONFIGURATION(WindowRegistry &registry, const QByteArray &TEXTE_LU)
{
    const std::optional<QList<int>> positions = readConfigurationPositions(TEXTE_LU);
    if (!positions)
        return;
    CONFIGURATION &config = registry.configuration();
    if (config.selectPositions(*positions) == LinkSettingCount)
        config.BOUTON_VALIDE->click();
}

void ENREGISTRER_CONFIGURATION(WindowRegistry &registry)
{
    Messages &messages = registry.services().messages;
    const QString name = registry.services().files.saveFileName(
        {FileDialogs::Kind::ConfigurationFiles, QStringLiteral("Enregistrer un fichier de configuration LDQ"),
         QStringLiteral("Fichiers configuration(*.OMR);;Tous les fichiers(*.*)"), QStringLiteral("Configuration_LDQ")});
    if (name.isEmpty())
        return;
    // Written beside the chosen name and renamed at the end: a failure never
    // leaves half a file under that name. The file is created before the
    // link settings are shown, so that a name that cannot be written stops
    // the command there.
    const QString failure = QStringLiteral("Erreur lors de la création de ") + name + QStringLiteral(". Essayer à nouveau");
    QSaveFile file(name);
    auto create = [&file] { return file.isOpen() || file.open(QIODevice::WriteOnly); };
    if (!retrying(messages, failure, create))
        return;
    registry.showNormal(WindowId::Configuration);
    const QByteArray TEXTE_ECRIT = TEXTE_CONFIGURATION(registry.configuration().positions(),
                                                       QDateTime::currentDateTime(), QLocale());
    retrying(messages, failure, [&] {
        // A failed commit closes the file: the retry creates it again.
        return create() && file.write(TEXTE_ECRIT) == TEXTE_ECRIT.size() && file.commit();
    });
}
