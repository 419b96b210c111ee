#include "ui/french_locale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void useFrenchEverywhere()
{
    const QLocale french(QLocale::French, QLocale::France);
    QLocale::setDefault(french);
    auto *qtFrench = new QTranslator(QCoreApplication::instance());
    if (qtFrench->load(french, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtFrench);
}
