#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A flow on the wire written as one line of text, items split by ';':
//   PREFIX CMD[*n]     one write of the frame, n times over ("_31 SSS*11"); in
//                      an expectation "??" stands for any two characters
//   ack[*n]            the panel's acknowledgement (frame "01", character 06)
//   pause S  discard  DTR off  wait >= N  wait == N
//   {ITEMS}*n          the items n times over
namespace wire {
// One entry per item, groups spread out, blanks made single.
QStringList parse(const QString &script);
// The frames only, each write's repeats apart ("31 SSS").
QStringList frames(const QString &script);
// The frames as they go on the line: prefix, STX, command, ETX.
QByteArray bytes(const QString &script);
// `seen` with its entries taken as `expected` where that has "??" and the
// rest of the entry agrees (a byte in two upper-case digits), so that a comparison shows only what differs.
QStringList masked(QStringList seen, const QStringList &expected);
// A byte as frames carry it: two upper-case hexadecimal digits.
QString hex(int byte);
} // namespace wire
