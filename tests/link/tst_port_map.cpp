#include "port/port_map.h"

#include <QtTest>

class PortMapTest : public QObject
{
    Q_OBJECT

private slots:
    void overrides_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("problems");
        QTest::newRow("default first USB adapter") << "" << 3 << "/dev/ttyUSB0" << 0;
        QTest::newRow("default COM14") << "" << 14 << "/dev/ttyS5" << 0;
        QTest::newRow("override") << "COM3=/tmp/kvl/pty3\n" << 3 << "/tmp/kvl/pty3" << 0;
        QTest::newRow("COM1 does not catch COM12") << "COM12=/dev/x12\n" << 1 << "/dev/ttyS0" << 0;
        QTest::newRow("blanks and comments") << "# mine\n  com12 = /dev/my port \n" << 12 << "/dev/my port" << 0;
        QTest::newRow("out of range kept out") << "COM15=/dev/x\nCOM0=/dev/y\nnonsense\n" << 1 << "/dev/ttyS0" << 3;
        QTest::newRow("later line wins") << "COM5=/a\nCOM5=/b\n" << 5 << "/b" << 0;
    }
    void overrides()
    {
        QFETCH(QString, text);
        QFETCH(int, port);
        PortMap map;
        QTEST(int(map.applyOverrides(text).size()), "problems");
        QTEST(map.device(port), "device");
    }
};

QTEST_GUILESS_MAIN(PortMapTest)
#include "tst_port_map.moc"
