# Qt's headers parsed once per build folder rather than once per file: the
# library code and every test program each share one precompiled header.
# A header that does not fit a file (other macros, other options) would be
# passed over silently; -Winvalid-pch makes that a warning.
option(KVL_PCH "Precompile Qt's headers" ON)

set(kvl_pch_core <QByteArray> <QList> <QObject> <QString> <QStringList> <QTimer> <QFile>
                 <QDateTime> <QLocale> <QRegularExpression> <QSerialPort>)
set(kvl_pch_widgets ${kvl_pch_core} <QApplication> <QWidget> <QPushButton> <QLineEdit> <QLabel>
                    <QScrollBar> <QSlider> <QRadioButton> <QCheckBox> <QGroupBox> <QComboBox>
                    <QMdiArea> <QMdiSubWindow> <QPainter>)

if(KVL_PCH)
  add_compile_options(-Winvalid-pch)
endif()

# Qt's test library without the folder names it defines for QFINDTESTDATA
# (unused here), which differ from one test folder to the next and would
# keep the programs from sharing their header.
add_library(kvl_qt_test INTERFACE)
target_link_libraries(kvl_qt_test INTERFACE $<LINK_ONLY:Qt6::Test> Qt6::Widgets Qt6::Charts Qt6::SerialPort)
target_include_directories(kvl_qt_test SYSTEM INTERFACE
  $<TARGET_PROPERTY:Qt6::Test,INTERFACE_INCLUDE_DIRECTORIES>)
target_compile_definitions(kvl_qt_test INTERFACE QT_TESTLIB_LIB)

# kvl_precompile(<target> CORE|WIDGETS|TESTS|PROGRAM): the header set for a
# target of that kind. Test code reuses the header of kvl_test_pch, programs
# over the windows the header of kvl_ui.
function(kvl_precompile target kind)
  if(NOT KVL_PCH)
    return()
  endif()
  if(kind STREQUAL "TESTS")
    target_precompile_headers(${target} REUSE_FROM kvl_test_pch)
  elseif(kind STREQUAL "PROGRAM")
    target_precompile_headers(${target} REUSE_FROM kvl_ui)
  elseif(kind STREQUAL "WIDGETS")
    target_precompile_headers(${target} PRIVATE ${kvl_pch_widgets})
  else()
    target_precompile_headers(${target} PRIVATE ${kvl_pch_core})
  endif()
endfunction()

function(kvl_add_test_pch)
  add_library(kvl_test_pch STATIC ${PROJECT_SOURCE_DIR}/cmake/pch_anchor.cpp)
  set_target_properties(kvl_test_pch PROPERTIES AUTOMOC OFF)
  target_link_libraries(kvl_test_pch PUBLIC kvl_qt_test)
  if(KVL_PCH)
    target_precompile_headers(kvl_test_pch PRIVATE <QtTest> ${kvl_pch_widgets})
  endif()
endfunction()
