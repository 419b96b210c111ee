#include "app/main_window.h"

#include "app/help_files.h"
#include "app/status_line.h"
#include "app/windows.h"
#include "config/config_files.h"
#include "history/history_window.h"
#include "link/configuration_window.h"
#include "params/parameter_window.h"
#include "records/record_commands.h"
#include "ui/document_opener.h"
#include "ui/messages.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

PRINCIPAL::PRINCIPAL(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_area(new QMdiArea(this))
    , m_registry(new WindowRegistry(m_area, services, this))
{
    setObjectName(QStringLiteral("PRINCIPAL"));
    setWindowTitle(QStringLiteral("Tachymetre spécial anémomètre sur KVL."));
    m_area->setObjectName(QStringLiteral("MDIArea"));
    setCentralWidget(m_area);
    m_status = new StatusLine(*m_registry, statusBar());
    installWindows(*m_registry);
    buildMenus();
}

PRINCIPAL::~PRINCIPAL()
{
    // Nothing is asked any more; the link settings go last, with the port.
    m_registry->unloadAll();
    delete m_registry;
}

void PRINCIPAL::buildMenus()
{
    struct Item
    {
        const char *name;
        const char *caption;
        bool enabled;
        void (PRINCIPAL::*handler)();
    };
    struct Menu
    {
        const char *name;
        const char *caption;
        std::initializer_list<Item> items;
    };
    // The configuration file commands and the luminosity and microswitch
    // windows are greyed: installers reach only what the panels need.
    const Menu menus[] = {
        {"MENU_FICHIER", "&Fichier",
         {{"MENU_NOUVELLE", "&Nouvelle configuration", false, &PRINCIPAL::MENU_NOUVELLE_Click},
          {"MENU_OUVRIR", "&Ouvrir une configuration", false, &PRINCIPAL::MENU_OUVRIR_Click},
          {"MENU_ENREGISTRER", "&Enregistrer une configuration", false, &PRINCIPAL::MENU_ENREGISTRER_Click},
          {"MENU_ENREGISTRER_PARAMETRES", "&Enregistrer les paramètres…", true,
           &PRINCIPAL::MENU_ENREGISTRER_PARAMETRES_Click},
          {"MENU_CHARGER_PARAMETRES", "&Charger des paramètres…", true, &PRINCIPAL::MENU_CHARGER_PARAMETRES_Click},
          {"MENU_COMPARER", "&Comparer avec le panneau…", true, &PRINCIPAL::MENU_COMPARER_Click},
          {"MENU_FICHE", "&Imprimer la fiche du panneau…", true, &PRINCIPAL::MENU_FICHE_Click},
          {"MENU_QUITTER", "&Quitter", true, &PRINCIPAL::MENU_QUITTER_Click}}},
        {"MENU_CONFIGURER2", "&Configuration",
         {{"MENU_CONFIGURER", "Configuration", true, &PRINCIPAL::MENU_CONFIGURER_Click},
          {"MENU_DETECT", "Détection port COM", true, &PRINCIPAL::MENU_DETECT_Click}}},
        {"MENU_FENETRE", "&Fenêtre",
         {{"MENU_PARA", "&Paramètres du tachymètre.", true, &PRINCIPAL::MENU_PARA_Click},
          {"MENU_AFF", "&Luminosité", false, &PRINCIPAL::MENU_AFF_Click},
          {"MENU_MISEALH", "&Lire les microswitches", false, &PRINCIPAL::MENU_MISEALH_Click},
          {"MENU_SURVEILLANCE", "&Surveillance de la vitesse", true, &PRINCIPAL::MENU_SURVEILLANCE_Click},
          {"MENU_HISTORIQUE", "&Historique des sauvegardes", true, &PRINCIPAL::MENU_HISTORIQUE_Click}}},
        {"MENU_Aide_generale", "&?", {{"MENU_Aide", "Aide", true, &PRINCIPAL::MENU_Aide_Click}}},
    };
    for (const Menu &m : menus) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(m.name));
        for (const Item &i : m.items) {
            QAction *action = menu->addAction(QString::fromUtf8(i.caption));
            action->setObjectName(QString::fromLatin1(i.name));
            action->setEnabled(i.enabled);
            if (i.handler)
                connect(action, &QAction::triggered, this, i.handler);
        }
    }
}

void PRINCIPAL::Form_Load()
{
    // Without a window manager maximising does nothing: take the screen anyway.
    if (const QScreen *s = screen())
        setGeometry(s->availableGeometry());
    showMaximized();
    m_registry->show(WindowId::Configuration);
}

// A user who starts the tool from the desktop sees no terminal.
void PRINCIPAL::reportPortMapProblems(const QString &file, const QStringList &problems)
{
    if (problems.isEmpty())
        return;
    m_registry->services().messages.show(
        Messages::Icon::Exclamation,
        QStringLiteral("Le fichier de correspondance des ports %1 n'a pas pu être appliqué en entier ; "
                       "les ports concernés gardent leur périphérique habituel.\n\n%2")
            .arg(file, problems.join(QLatin1Char('\n'))));
}

void PRINCIPAL::MENU_NOUVELLE_Click()
{
    m_registry->unload(WindowId::Configuration);
    m_registry->showNormal(WindowId::Configuration);
}

void PRINCIPAL::MENU_OUVRIR_Click()
{
    OUVRIR_CONFIGURATION(*m_registry);
}

void PRINCIPAL::MENU_ENREGISTRER_Click()
{
    ENREGISTRER_CONFIGURATION(*m_registry);
}

void PRINCIPAL::MENU_ENREGISTRER_PARAMETRES_Click()
{
    saveParameterFile(*m_registry);
}

void PRINCIPAL::MENU_CHARGER_PARAMETRES_Click()
{
    loadParameterFile(*m_registry);
}

void PRINCIPAL::MENU_COMPARER_Click()
{
    m_registry->show(WindowId::Parameters);
    m_registry->window<dump_24c01>(WindowId::Parameters).compareWithPanel();
}

void PRINCIPAL::MENU_FICHE_Click()
{
    printCommissioningSheet(*m_registry);
}

void PRINCIPAL::MENU_QUITTER_Click()
{
    if (editsMayGo())
        QApplication::quit();
}

bool PRINCIPAL::editsMayGo()
{
    auto *editor = qobject_cast<dump_24c01 *>(m_registry->loaded(WindowId::Parameters));
    return !editor || editor->mayDiscardEdits();
}

void PRINCIPAL::MENU_CONFIGURER_Click()
{
    m_registry->showNormal(WindowId::Configuration);
}

void PRINCIPAL::MENU_DETECT_Click()
{
    m_registry->showNormal(WindowId::Detection);
}

void PRINCIPAL::MENU_PARA_Click()
{
    m_registry->show(WindowId::Parameters);
}

void PRINCIPAL::MENU_AFF_Click()
{
    m_registry->show(WindowId::Luminosity);
}

void PRINCIPAL::MENU_MISEALH_Click()
{
    m_registry->show(WindowId::Switches);
}

void PRINCIPAL::MENU_SURVEILLANCE_Click()
{
    m_registry->show(WindowId::SpeedMonitor);
}

void PRINCIPAL::MENU_HISTORIQUE_Click()
{
    m_registry->show(WindowId::History);
    m_registry->window<HistoryWindow>(WindowId::History).refresh();
}

// The desktop's word processor shows the guide best; where none opens it,
// the tool shows it itself. Nothing here changes the current folder.
void PRINCIPAL::MENU_Aide_Click()
{
    const QString document = findHelpFile(HelpDocument);
    if (!document.isEmpty() && m_registry->services().documents.open(document))
        return;
    m_registry->showNormal(WindowId::Help);
}

void PRINCIPAL::closeEvent(QCloseEvent *event)
{
    // A transfer cut short can leave a panel half-programmed: let it end first.
    auto *config = qobject_cast<CONFIGURATION *>(m_registry->loaded(WindowId::Configuration));
    if (config && config->exchange().busy()) {
        event->ignore();
        connect(
            &config->exchange(), &Exchange::busyChanged, this,
            [this](bool busy) {
                if (!busy && editsMayGo())
                    QApplication::quit();
            },
            Qt::SingleShotConnection);
        return;
    }
    if (!editsMayGo()) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::quit();
}
