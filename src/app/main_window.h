#pragma once

#include "ui/services.h"

#include <QMainWindow>

class QMdiArea;
class StatusLine;
class WindowRegistry;

// The main window: a multiple-document frame whose menus open the working
// windows. Closing it ends the program.
class PRINCIPAL : public QMainWindow
{
    Q_OBJECT
public:
    explicit PRINCIPAL(const Services &services, QWidget *parent = nullptr);
    ~PRINCIPAL() override;

    // Maximises the window and shows the link settings.
    void Form_Load();
    // Tells the user, in one message, which lines of the port map file
    // `file` were not used (nothing when there are none).
    void reportPortMapProblems(const QString &file, const QStringList &problems);

    WindowRegistry &registry() { return *m_registry; }
    QMdiArea *mdiArea() const { return m_area; }
    StatusLine &statusLine() { return *m_status; }

    void MENU_NOUVELLE_Click();
    void MENU_OUVRIR_Click();
    void MENU_ENREGISTRER_Click();
    void MENU_ENREGISTRER_PARAMETRES_Click();
    void MENU_CHARGER_PARAMETRES_Click();
    void MENU_COMPARER_Click();
    void MENU_FICHE_Click();
    void MENU_QUITTER_Click();
    void MENU_CONFIGURER_Click();
    void MENU_DETECT_Click();
    void MENU_PARA_Click();
    void MENU_AFF_Click();
    void MENU_MISEALH_Click();
    void MENU_SURVEILLANCE_Click();
    void MENU_HISTORIQUE_Click();
    void MENU_Aide_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    // Nothing unsent in the editor, or the user lets it go.
    bool editsMayGo();

    QMdiArea *m_area;
    WindowRegistry *m_registry;
    StatusLine *m_status;
};
