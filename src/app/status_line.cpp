#include "app/status_line.h"

#include "link/configuration_window.h"
#include "params/parameter_window.h"
#include "ui/window_registry.h"

#include <QLabel>
#include <QStatusBar>

StatusLine::StatusLine(WindowRegistry &registry, QStatusBar *bar)
    : QObject(bar)
    , m_registry(registry)
    , m_bar(bar)
{
    auto *label = new QLabel(m_bar);
    label->setObjectName(QStringLiteral("STATUS_PANNEAU"));
    m_bar->addWidget(label, 1);
    connect(&registry, &WindowRegistry::windowLoaded, this, [this](WindowId id, QWidget *window) {
        if (auto *config = qobject_cast<CONFIGURATION *>(window)) {
            connect(config, &CONFIGURATION::portStateChanged, this, &StatusLine::refresh);
            connect(&config->exchange(), &Exchange::busyChanged, this, [this](bool busy) {
                if (!busy)
                    refresh();
            });
        } else if (auto *editor = qobject_cast<dump_24c01 *>(window)) {
            connect(editor, &dump_24c01::settingsChanged, this, &StatusLine::refresh);
        }
        connect(window, &QObject::destroyed, this, &StatusLine::refresh, Qt::QueuedConnection);
        Q_UNUSED(id);
        refresh();
    });
}

QString StatusLine::text() const
{
    auto *config = qobject_cast<CONFIGURATION *>(m_registry.loaded(WindowId::Configuration));
    if (!config || !config->portOpenFlag())
        return {};
    const QString port = QStringLiteral("COM%1 : ").arg(config->MSComm1().commPort());
    auto *editor = qobject_cast<dump_24c01 *>(m_registry.loaded(WindowId::Parameters));
    const Exchange &exchange = config->exchange();
    const bool known = exchange.record().covers(exchange.session(), ParameterBlockFirst, ParameterBlockSize);
    if (!known)
        return port + QStringLiteral("panneau non lu.");
    if (editor) {
        const qsizetype changed = editor->unsentChanges().size();
        if (changed == 1)
            return port + QStringLiteral("1 réglage modifié, non programmé.");
        if (changed > 1)
            return port + QStringLiteral("%1 réglages modifiés, non programmés.").arg(changed);
    }
    const std::optional<PanelMemoryRecord::Transfer> last = exchange.record().last(exchange.session());
    const QString at = last ? last->at.toString(QStringLiteral("HH:mm")) : QString();
    if (last && last->written)
        return port + QStringLiteral("panneau programmé à %1.").arg(at);
    return port + QStringLiteral("réglages lus sur le panneau à %1.").arg(at);
}

void StatusLine::refresh()
{
    if (auto *label = m_bar->findChild<QLabel *>(QStringLiteral("STATUS_PANNEAU")))
        label->setText(text());
}
