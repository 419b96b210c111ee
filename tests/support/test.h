#pragma once

// What every test program includes: QtTest, the controls tests look for, and
// the names the tables share.
#include "support/recording_messages.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <string>

namespace sim {
enum class Fault;
}
enum class WindowId;

using Icon = Messages::Icon;
using Shown = RecordingMessages::Shown;
using ShownList = QList<Shown>;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(sim::Fault)
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(WindowId)
