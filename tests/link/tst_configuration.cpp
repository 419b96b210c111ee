#include "link/configuration_window.h"
#include "link/pwsbase.h"
#include "support/pty_pair.h"
#include "support/workbench.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using Icon = Messages::Icon;

class ConfigurationTest : public QObject
{
    Q_OBJECT

private slots:
    void lists_data();
    void lists();
    void confirmingOpensTheMappedDevice();
    void failedOpening_data();
    void failedOpening();
    void guardRefusesUntilConfirmed();
    void secondConfirmationClosesTheFirstPort();
};

void ConfigurationTest::lists_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("inView");
    QStringList com;
    for (int k = 1; k <= 12; ++k)
        com << QStringLiteral("COM%1:").arg(k);
    const QStringList noYes{"NON", "OUI"};
    QTest::newRow("SEL_COM") << com << "COM3:" << true;
    QTest::newRow("SEL_COUL") << QStringList{"Mono couleur", "Tri couleur "} << "Tri couleur " << true;
    QTest::newRow("SEL_REP") << noYes << "OUI" << true;
    QTest::newRow("SEL_INTER") << QStringList{"Filaire ", "Sans fil"} << "Filaire " << false;
    QTest::newRow("SEL_NBR_DIGI") << QStringList{"8 Digits 99 heu 59 min 59 sec 99 cen",
                                                 "6 Digits 99 min 59 sec 99 cen", "4 Digits 99 sec 99 cen",
                                                 "2 Digits 99 cen"}
                                  << "4 Digits 99 sec 99 cen" << false;
    QTest::newRow("SEL_DCF77") << noYes << "NON" << false;
    QTest::newRow("SEL_REL1") << noYes << "NON" << false;
    QTest::newRow("SEL_REL2") << noYes << "NON" << false;
}

void ConfigurationTest::lists()
{
    QFETCH(QStringList, items);
    QFETCH(QString, selected);
    QFETCH(bool, inView);
    Workbench bench;
    CONFIGURATION &config = bench.registry.configuration();
    auto *list = config.findChild<QComboBox *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(list);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->itemText(i);
    QCOMPARE(shown, items);
    QCOMPARE(list->currentText(), selected);
    QCOMPARE(config.rect().contains(list->geometry()), inView);
    QCOMPARE(list->isEditable(), false);
}

void ConfigurationTest::confirmingOpensTheMappedDevice()
{
    PtyPair com1, com12;
    Workbench bench;
    bench.mapPort(1, com1.path());
    bench.mapPort(12, com12.path());
    bench.principal.Form_Load();
    CONFIGURATION &config = bench.registry.configuration();
    QVERIFY(config.list(LinkSetting::SEL_COM)->itemData(11, Qt::ToolTipRole).toString().contains(com12.path()));

    bench.confirmPort(12);
    QCOMPARE(bench.messages.shown,
             (QList<RecordingMessages::Shown>{{Icon::Information, "Ouverture du port COM12: effectuée avec succès."}}));
    QVERIFY(config.portOpenFlag());
    QVERIFY(config.MSComm1().isOpen());
    QCOMPARE(config.MSComm1().commPort(), 12);
    config.MSComm1().output("ping");
    QCOMPARE(com12.readAvailable(1000), QByteArray("ping"));
    QCOMPARE(com1.readAvailable(), QByteArray());
    QVERIFY(bench.registry.frame(WindowId::Parameters)->isVisible());
    QVERIFY(bench.registry.frame(WindowId::Configuration)->isMinimized());
}

void ConfigurationTest::failedOpening_data()
{
    QTest::addColumn<QString>("holder");
    QTest::newRow("missing device") << "none";
    QTest::newRow("device locked by another program") << "flock";
    QTest::newRow("device open in another port object") << "port";
}

void ConfigurationTest::failedOpening()
{
    QFETCH(QString, holder);
    PtyPair device;
    Workbench bench;
    if (holder != QLatin1String("none"))
        bench.mapPort(7, device.path());
    int lockedFd = -1;
    SerialPort other(bench.ports);
    if (holder == QLatin1String("flock")) {
        lockedFd = ::open(qPrintable(device.path()), O_RDWR | O_NOCTTY);
        QCOMPARE(::flock(lockedFd, LOCK_EX | LOCK_NB), 0);
    } else if (holder == QLatin1String("port")) {
        other.setCommPort(7);
        QVERIFY(other.open());
    }

    bench.confirmPort(7);
    CONFIGURATION &config = bench.registry.configuration();
    QCOMPARE(bench.messages.shown,
             (QList<RecordingMessages::Shown>{{Icon::Critical, "L'ouverture du port COM7 à échouée !"}}));
    QVERIFY(!config.portOpenFlag());
    QVERIFY(!config.MSComm1().isOpen());
    QVERIFY(!bench.registry.loaded(WindowId::Parameters));
    if (lockedFd >= 0)
        ::close(lockedFd);
}

void ConfigurationTest::guardRefusesUntilConfirmed()
{
    PtyPair device;
    Workbench bench;
    const QString refusal =
        QStringLiteral("Pas de port COM ouvert. Veuillez valider la Configuration dans le menu Configuration.");
    QVERIFY(!PORT_OUVERT(bench.registry));
    QCOMPARE(bench.messages.shown, (QList<RecordingMessages::Shown>{{Icon::Exclamation, refusal}}));

    bench.messages.clear();
    bench.confirmPort(3); // COM3 is missing: still refused
    QVERIFY(!PORT_OUVERT(bench.registry));
    QCOMPARE(bench.messages.texts().last(), refusal);

    bench.messages.clear();
    bench.mapPort(3, device.path());
    bench.confirmPort(3);
    bench.messages.clear();
    QVERIFY(PORT_OUVERT(bench.registry));
    QVERIFY(bench.messages.shown.isEmpty());
}

void ConfigurationTest::secondConfirmationClosesTheFirstPort()
{
    PtyPair first, second;
    Workbench bench;
    bench.mapPort(3, first.path());
    bench.mapPort(4, second.path());
    bench.confirmPort(3);
    bench.confirmPort(4);
    QCOMPARE(bench.registry.configuration().MSComm1().device(), second.path());

    SerialPort other(bench.ports);
    other.setCommPort(3);
    QVERIFY2(other.open(), "the first port is still held");
    other.setCommPort(4);
    QVERIFY(!other.open());
}

QTEST_MAIN(ConfigurationTest)
#include "tst_configuration.moc"
