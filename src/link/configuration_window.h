#pragma once

#include "link/link_settings.h"
#include "port/serial_port.h"
#include "panel/exchange.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class WindowRegistry;

// The link settings window: the eight settings lists, the one serial port of
// the tool and the flag that says whether the last opening succeeded.
class CONFIGURATION : public QWidget
{
    Q_OBJECT
public:
    explicit CONFIGURATION(WindowRegistry &registry, QWidget *parent = nullptr);

    // Opens the port chosen in SEL_COM at 4800,N,8,1 and reports the outcome.
    void OUVERTURE_DU_COM();

    bool portOpenFlag() const { return m_portOpenFlag; }
    void setPortOpenFlag(bool open);

    SerialPort &MSComm1() { return m_port; }
    // Every conversation with the panel goes through this one exchange.
    Exchange &exchange() { return m_exchange; }
    QComboBox *list(LinkSetting setting) const { return m_lists.at(static_cast<int>(setting)); }
    // The answer-check setting: "NON" silences the exchange reports.
    QString answerCheck() const;

    LinkPositions positions() const;
    // Selects the positions of the lists in file order; stops at the first
    // position a list does not have and tells how many it applied.
    int selectPositions(const QList<int> &positions);

    QPushButton *BOUTON_VALIDE = nullptr;

signals:
    // The port was opened, failed to open, or was lost or given up.
    void portStateChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLists();
    void describePorts();
    void reportLostPort();

    WindowRegistry &m_registry;
    SerialPort m_port;
    Exchange m_exchange{m_port};
    bool m_portOpenFlag = false;
    bool m_lossReported = false;
    std::array<QComboBox *, LinkSettingCount> m_lists{};
};
