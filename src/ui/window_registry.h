#pragma once

#include "ui/services.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

class QMdiArea;
class QMdiSubWindow;
class QWidget;
class CONFIGURATION;

enum class WindowId { Configuration, Detection, Parameters, Switches, Luminosity, SpeedMonitor };

// The working windows of the main window: each exists at most once. The first
// use creates it with its start-up values, showing brings it to the front,
// unloading (or the user closing it) destroys it.
class WindowRegistry : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget *(WindowRegistry &)>;

    WindowRegistry(QMdiArea *area, const Services &services, QObject *parent = nullptr);

    const Services &services() const { return m_services; }

    // frameFlags: the buttons of the window's frame (title, system menu, close
    // are always there).
    void setFactory(WindowId id, Factory factory, Qt::WindowFlags frameFlags = {});

    // Creates the window if needed, without showing it.
    QWidget *load(WindowId id);
    QWidget *loaded(WindowId id) const;
    template <class T>
    T &window(WindowId id)
    {
        return *qobject_cast<T *>(load(id));
    }
    CONFIGURATION &configuration();

    void show(WindowId id);
    // Shows the window and brings it back from the minimised state.
    void showNormal(WindowId id);
    void minimize(WindowId id);
    void unload(WindowId id);

    QMdiSubWindow *frame(WindowId id) const;

private:
    struct Entry
    {
        Factory factory;
        Qt::WindowFlags frameFlags;
        QPointer<QMdiSubWindow> frame;
    };

    QMdiArea *m_area;
    Services m_services;
    std::map<WindowId, Entry> m_entries;
};
