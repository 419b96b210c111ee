#pragma once

#include <QObject>

class QStatusBar;
class WindowRegistry;

// The main window's status bar: on the open port, whether the editor holds
// settings not programmed, when the panel was last read or programmed, or
// that nothing is known of it. It follows every edit, exchange and opening.
class StatusLine : public QObject
{
    Q_OBJECT
public:
    StatusLine(WindowRegistry &registry, QStatusBar *bar);

    QString text() const;
    void refresh();

private:
    WindowRegistry &m_registry;
    QStatusBar *m_bar;
};
