#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One column of the pulse-generator test table, as its text boxes show it.
struct CalibrationColumn
{
    QString msec;     // speed in metres per second
    QString NB_impul; // pulse frequency in hertz
    QString PERCLAV;  // period of the pulse signal in seconds; empty when the frequency shows as 0,0000
    bool operator==(const CalibrationColumn &) const = default;
};

struct PulseCalibration
{
    QString dimpulse;    // the distance text with "." turned into ",", even on failure
    QString failure;     // the message to show; empty on success
    QString coefficient; // texcoef and Text4
    QList<CalibrationColumn> columns; // one per reference speed, on success

    bool succeeded() const { return failure.isEmpty(); }
};

// KMH(0) to KMH(14): the reference speeds in km/h.
const QStringList &referenceSpeedTexts();

// The speed coefficient and the test table from the distance per pulse
// (Dimpulse, in metres) and the factory constant (etalon).
PulseCalibration calibratePulses(const QString &dimpulse, const QString &etalon);
