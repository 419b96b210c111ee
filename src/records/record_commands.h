#pragma once

#include <QDateTime>

class WindowRegistry;

// The commands of the "&Fichier" menu that carry a panel's settings: the
// parameter file for a series of panels and the commissioning sheet.
void saveParameterFile(WindowRegistry &registry);
// Applies a parameter file to the editor's controls; nothing is sent.
void loadParameterFile(WindowRegistry &registry);
// After a successful parameter read or write only.
void printCommissioningSheet(WindowRegistry &registry, const QDateTime &now = QDateTime::currentDateTime());
