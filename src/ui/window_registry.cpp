#include "ui/window_registry.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
const char *const FixedProperty = "fixedBorder";
}

WindowRegistry::WindowRegistry(QMdiArea *area, const Services &services, QObject *parent)
    : QObject(parent)
    , m_area(area)
    , m_services(services)
{
}

void fitFrameToClient(QWidget *window)
{
    auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    if (!frame)
        return;
    if (frame->property(FixedProperty).toBool())
        frame->setFixedSize(frame->sizeHint());
    else
        frame->adjustSize();
}

void WindowRegistry::setFactory(WindowId id, Factory factory, Qt::WindowFlags frameFlags, Options options)
{
    Entry &entry = m_entries[id];
    entry.factory = std::move(factory);
    entry.frameFlags = frameFlags;
    entry.options = options;
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
    if (entry.options & HideOnClose)
        frame->installEventFilter(this);
    else
        frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setObjectName(widget->objectName() + QStringLiteral("_frame"));
    frame->setProperty(FixedProperty, bool(entry.options & FixedBorder));
    fitFrameToClient(widget);
    entry.frame = frame;
    emit windowLoaded(id, widget);
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

void WindowRegistry::unloadAll()
{
    // The link settings go last: the other windows talk through their port.
    for (auto &[id, entry] : m_entries) {
        if (id != WindowId::Configuration)
            unload(id);
    }
    unload(WindowId::Configuration);
}

// The close box of a window kept for the whole run only hides it.
bool WindowRegistry::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close) {
        event->ignore();
        static_cast<QWidget *>(watched)->hide();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
