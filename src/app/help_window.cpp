#include "app/help_window.h"

#include "app/help_files.h"

#include <QDir>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral(" Aide."));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);

    const QStringList folders = helpFolders();
    const QString page = findHelpFile(HelpPage, folders);
    if (!page.isEmpty()) {
        m_browser->setSource(QUrl::fromLocalFile(page));
        return;
    }
    QStringList shown;
    for (const QString &folder : folders)
        shown.append(QDir::toNativeSeparators(folder).toHtmlEscaped());
    m_browser->setHtml(QStringLiteral("<p>Le guide d'utilisation %1 est introuvable. Il est cherché dans :</p><ul><li>%2</li></ul>"
                                      "<p>Réinstallez le programme avec son guide.</p>")
                           .arg(HelpPage, shown.join(QStringLiteral("</li><li>"))));
}
