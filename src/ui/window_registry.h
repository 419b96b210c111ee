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

enum class WindowId { Configuration, Detection, Parameters, Switches, Luminosity, SpeedMonitor, Help, History };

// A window whose client area changes size takes its frame along; a fixed
// frame stays fixed at the new size.
void fitFrameToClient(QWidget *window);

// The working windows of the main window: each exists at most once. The first
// use creates it with its start-up values, showing brings it to the front,
// unloading destroys it. The user closing it destroys it too, unless the
// window stays loaded for the whole run: then it is only hidden.
class WindowRegistry : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<QWidget *(WindowRegistry &)>;
    enum Option {
        FixedBorder = 1, // the user cannot resize the frame, by its edges or its system menu
        HideOnClose = 2, // loaded for the whole run: the close box only hides it
    };
    Q_DECLARE_FLAGS(Options, Option)

    WindowRegistry(QMdiArea *area, const Services &services, QObject *parent = nullptr);

    const Services &services() const { return m_services; }

    // frameFlags: the buttons of the window's frame (title, system menu, close
    // are always there).
    void setFactory(WindowId id, Factory factory, Qt::WindowFlags frameFlags = {}, Options options = {});

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
    // Every window, without asking them: the program is ending.
    void unloadAll();

    QMdiSubWindow *frame(WindowId id) const;

signals:
    // A window was created with its start-up values.
    void windowLoaded(WindowId id, QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        Factory factory;
        Qt::WindowFlags frameFlags;
        Options options;
        QPointer<QMdiSubWindow> frame;
    };

    QMdiArea *m_area;
    Services m_services;
    std::map<WindowId, Entry> m_entries;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(WindowRegistry::Options)
