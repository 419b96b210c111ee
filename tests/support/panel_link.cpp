#include "support/panel_link.h"

PanelLink::PanelLink(const sim::PanelState &state)
    : panel(state)
{
}

bool PanelLink::open()
{
    if (!panel.start())
        return false;
    ports.setDevice(3, QString::fromStdString(panel.devicePath()));
    port.setCommPort(3);
    port.setSettings(QStringLiteral("4800,N,8,1"));
    return port.open();
}

QStringList PanelLink::frames(std::size_t expected) const
{
    panel.waitForFrames(expected, std::chrono::seconds(1));
    return frameTexts(panel.frames());
}

QStringList frameTexts(const std::vector<sim::LoggedFrame> &frames)
{
    QStringList texts;
    for (const sim::LoggedFrame &f : frames)
        texts.append(QString::fromStdString(f.prefix + ' ' + f.command));
    return texts;
}

QStringList repeated(const QString &frame, int times)
{
    QStringList list;
    for (int i = 0; i < times; ++i)
        list.append(frame);
    return list;
}
