#pragma once

// The whole tool, unattended, on a virtual panel at COM3 running at line rate.
#include "app/main_window.h"
#include "link/configuration_window.h"
#include "port/port_map.h"
#include "luminosity/luminosity_window.h"
#include "params/parameter_window.h"
#include "switches/switch_window.h"
#include "ui/change_views.h"
#include "ui/document_opener.h"
#include "ui/file_dialogs.h"
#include "ui/messages.h"
#include "ui/window_registry.h"
#include "virtual_panel.h"

#include <QComboBox>
#include <QTemporaryDir>

class Unattended : public Messages, public FileDialogs, public DocumentOpener, public ChangeViews
{
public:
    void show(Icon, const QString &text) override { shown.append(text); }
    Answer askRetry(Icon, const QString &text) override
    {
        shown.append(text);
        return Answer::Cancel;
    }
    Answer askYesNo(Icon, const QString &text) override
    {
        shown.append(text);
        return Answer::Yes;
    }
    QString openFileName(const Request &) override { return {}; }
    QString saveFileName(const Request &) override { return {}; }
    bool open(const QString &) override { return false; }
    // Every change is taken: the benchmark times the writes themselves.
    std::optional<QList<bool>> show(const ChangesRequest &request) override
    {
        return QList<bool>(request.rows.size(), true);
    }
    QStringList shown;
};

// The whole tool, its link confirmed on a virtual panel at COM3 running at
// line rate, with the answer check off so that nothing waits for a click.
struct Rig
{
    sim::VirtualPanel panel{sim::PanelState::programmed()};
    Unattended user;
    PortMap ports;
    QTemporaryDir backups;
    Services services{user, user, user, user, ports, backups.path()};
    PRINCIPAL principal{services};
    WindowRegistry &registry = principal.registry();

    bool open()
    {
        if (!panel.start())
            return false;
        panel.setLineRate(true);
        ports.setDevice(3, QString::fromStdString(panel.devicePath()));
        CONFIGURATION &config = registry.configuration();
        config.list(LinkSetting::SEL_REP)->setCurrentText(QStringLiteral("NON"));
        config.OUVERTURE_DU_COM();
        return config.portOpenFlag();
    }
    dump_24c01 &editor() { return registry.window<dump_24c01>(WindowId::Parameters); }
    SW &switches() { return registry.window<SW>(WindowId::Switches); }
    LUM &luminosity() { return registry.window<LUM>(WindowId::Luminosity); }
};

