#include "ui/window_registry.h"

#include <QMdiArea>
#include <QMdiSubWindow>

WindowRegistry::WindowRegistry(QMdiArea *area, const Services &services, QObject *parent)
    : QObject(parent)
    , m_area(area)
    , m_services(services)
{
}

void WindowRegistry::setFactory(WindowId id, Factory factory, Qt::WindowFlags frameFlags)
{
    Entry &entry = m_entries[id];
    entry.factory = std::move(factory);
    entry.frameFlags = frameFlags;
}

QWidget *WindowRegistry::load(WindowId id)
{
    Entry &entry = m_entries.at(id);
    if (entry.frame)
        return entry.frame->widget();
    QWidget *widget = entry.factory(*this);
    const Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | entry.frameFlags;
    QMdiSubWindow *frame = m_area->addSubWindow(widget, flags);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setObjectName(widget->objectName() + QStringLiteral("_frame"));
    frame->adjustSize();
    entry.frame = frame;
    return widget;
}

QWidget *WindowRegistry::loaded(WindowId id) const
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end() || !it->second.frame)
        return nullptr;
    return it->second.frame->widget();
}

QMdiSubWindow *WindowRegistry::frame(WindowId id) const
{
    const auto it = m_entries.find(id);
    return it == m_entries.end() ? nullptr : it->second.frame.data();
}

void WindowRegistry::show(WindowId id)
{
    load(id);
    QMdiSubWindow *f = frame(id);
    f->show();
    f->raise();
    m_area->setActiveSubWindow(f);
}

void WindowRegistry::showNormal(WindowId id)
{
    show(id);
    frame(id)->showNormal();
}

void WindowRegistry::minimize(WindowId id)
{
    if (QMdiSubWindow *f = frame(id))
        f->showMinimized();
}

void WindowRegistry::unload(WindowId id)
{
    if (QMdiSubWindow *f = frame(id)) {
        m_entries.at(id).frame = nullptr;
        f->hide();
        delete f;
    }
}
