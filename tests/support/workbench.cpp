#include "support/workbench.h"

#include "link/configuration_window.h"

#include <QComboBox>
#include <QPushButton>

QString ScriptedFileDialogs::openFileName(const Request &request)
{
    requests.append(request);
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

QString ScriptedFileDialogs::saveFileName(const Request &request)
{
    return openFileName(request);
}

Workbench::Workbench()
{
    for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n)
        ports.setDevice(n, QStringLiteral("/nonexistent/kvl-com%1").arg(n));
}

void Workbench::confirmPort(int port)
{
    CONFIGURATION &config = registry.configuration();
    config.list(LinkSetting::SEL_COM)->setCurrentText(QStringLiteral("COM%1:").arg(port));
    config.BOUTON_VALIDE->click();
}
