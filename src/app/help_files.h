#pragma once

#include <QString>
#include <QStringList>

// The guide in its two forms: the document the desktop's word processor opens
// and the page the tool shows itself.
inline const QString HelpDocument = QStringLiteral("KVL_PWS.doc");
inline const QString HelpPage = QStringLiteral("KVL_PWS.html");

// Where the guide is looked for, in order: the program's own folder (a build,
// or a copy of the program with its guide), then the documentation folder of
// the installation the program belongs to.
QStringList helpFolders();

// The path of `name` in the first of `folders` that holds it; empty when none does.
QString findHelpFile(const QString &name, const QStringList &folders = helpFolders());
