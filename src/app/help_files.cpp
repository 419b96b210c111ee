#include "app/help_files.h"

#include "install_dirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList helpFolders()
{
    const QString program = QCoreApplication::applicationDirPath();
    // KVL_HELP_FROM_PROGRAM: the documentation folder relative to the program's,
    // so that it holds for any installation prefix.
    return {program, QDir::cleanPath(program + QStringLiteral("/" KVL_HELP_FROM_PROGRAM))};
}

QString findHelpFile(const QString &name, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo file(QDir(folder).filePath(name));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return {};
}
