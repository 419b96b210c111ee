#include "records/record_commands.h"

#include "link/configuration_window.h"
#include "params/parameter_window.h"
#include "records/commissioning_sheet.h"
#include "records/parameter_file.h"
#include "panel/report.h"
#include "records/sheet_pdf.h"
#include "ui/file_dialogs.h"
#include "ui/messages.h"
#include "ui/retrying.h"
#include "ui/window_registry.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString ParameterFilter = QStringLiteral("Fichiers de paramètres(*.kvlpar);;Tous les fichiers(*.*)");
const QString ReadFirstText =
    QStringLiteral("Lisez d'abord les paramètres du panneau (« Lire les paramètres ») : la fiche décrit un panneau lu "
                   "ou programmé.");

const QString UnsentText = QStringLiteral("La fiche décrit le panneau : programmez les réglages modifiés, ou relisez "
                                         "le panneau, avant de l'imprimer.");

// Written beside the chosen name and renamed at the end: a failure never
// leaves half a file under that name.
void saveAtomically(Messages &messages, const QString &name, const QByteArray &bytes)
{
    retrying(messages, QStringLiteral("Erreur lors de la création de ") + name + QStringLiteral(". Essayer à nouveau"),
             [&] {
                 QSaveFile file(name);
                 return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
             });
}

QString listed(const QString &lead, const QStringList &entries)
{
    return lead + entries.join(QStringLiteral(", ")) + QLatin1Char('.');
}

void reportLoad(Messages &messages, const LoadedParameters &loaded)
{
    if (!loaded.outOfRange.isEmpty())
        messages.show(Messages::Icon::Exclamation, outOfRangeText(loaded.outOfRange));
    if (!loaded.unreadable.isEmpty())
        messages.show(Messages::Icon::Exclamation,
                      listed(QStringLiteral("Valeurs illisibles, réglages laissés tels quels : "), loaded.unreadable));
    QStringList notices;
    if (loaded.version != ParameterFileVersion)
        notices.append(QStringLiteral("Fichier au format %1 (cette version écrit le format %2).")
                           .arg(loaded.version)
                           .arg(ParameterFileVersion));
    if (!loaded.unknownNames.isEmpty())
        notices.append(listed(QStringLiteral("Réglages inconnus ignorés : "), loaded.unknownNames));
    if (!loaded.missing.isEmpty())
        notices.append(listed(QStringLiteral("Réglages absents du fichier, laissés tels quels : "), loaded.missing));
    if (!notices.isEmpty())
        messages.show(Messages::Icon::Information, notices.join(QLatin1Char('\n')));
}

} // namespace

void saveParameterFile(WindowRegistry &registry)
{
    const Services &services = registry.services();
    QString name = services.files.saveFileName(
        {FileDialogs::Kind::ParameterFiles, QStringLiteral("Enregistrer les paramètres"), ParameterFilter, QStringLiteral("parametres.kvlpar")});
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".kvlpar");
    const auto &editor = registry.window<dump_24c01>(WindowId::Parameters);
    saveAtomically(services.messages, name, parameterFileText(editor.currentSettings()));
}

void loadParameterFile(WindowRegistry &registry)
{
    const Services &services = registry.services();
    const QString name =
        services.files.openFileName(
        {FileDialogs::Kind::ParameterFiles, QStringLiteral("Charger des paramètres"), ParameterFilter, QString()});
    if (name.isEmpty())
        return;
    QByteArray bytes;
    const bool read = retrying(services.messages, QStringLiteral("Erreur d'ouverture de ") + name, [&] {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        bytes = file.read(ParameterFileLimit + 1);
        return file.error() == QFileDevice::NoError;
    });
    if (!read)
        return;
    auto &editor = registry.window<dump_24c01>(WindowId::Parameters);
    const std::optional<LoadedParameters> loaded = readParameterFile(bytes, editor.currentSettings());
    if (!loaded) {
        services.messages.show(Messages::Icon::None, name + QStringLiteral(" n'est pas un fichier de paramètres."));
        return;
    }
    registry.show(WindowId::Parameters);
    if (editor.loadSettings(loaded->settings, QFileInfo(name).fileName()))
        reportLoad(services.messages, *loaded);
}

void printCommissioningSheet(WindowRegistry &registry, const QDateTime &now)
{
    const Services &services = registry.services();
    auto *editor = qobject_cast<dump_24c01 *>(registry.loaded(WindowId::Parameters));
    const std::optional<MemoryBytes> panel = editor ? editor->knownPanel() : std::nullopt;
    if (!panel) {
        services.messages.show(Messages::Icon::Information, ReadFirstText);
        return;
    }
    // The sheet is a record of the panel, not of the editor.
    if (!editor->unsentChanges().isEmpty()) {
        services.messages.show(Messages::Icon::Exclamation, UnsentText);
        return;
    }
    const int port = registry.configuration().MSComm1().commPort();
    const QString name = services.files.saveFileName({FileDialogs::Kind::Sheets, QStringLiteral("Imprimer la fiche du panneau"),
                                                      QStringLiteral("Fichiers PDF(*.pdf);;Tous les fichiers(*.*)"),
                                                      sheetFileName(port, now)});
    if (name.isEmpty())
        return;
    const SheetInput input{editor->currentSettings(), now, port, editor->liveSpeedText(), editor->liveMaximumText(),
                           *panel};
    saveAtomically(services.messages, name, sheetPdf(commissioningSheet(input)));
}
