#pragma once

#include <QWidget>

class QLabel;
class QTextEdit;
class QTimer;

// The first window: title, picture, contact text and version. Hands over to
// the main window after five seconds, a key press or a click, exactly once.
class OMR_ND_SPLASH : public QWidget
{
    Q_OBJECT
public:
    explicit OMR_ND_SPLASH(QWidget *parent = nullptr);

    static QString versionText();

    QTimer *Timer1;
    QLabel *Label1;
    QLabel *lblVersion;
    QWidget *Picture1;
    QTextEdit *Text1;

signals:
    // Emitted once, when the window goes: time to show the main window.
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void finish();
    bool m_finished = false;
};
