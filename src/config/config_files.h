#pragma once

#include <QByteArray>

class WindowRegistry;

// The configuration file commands: the eight link settings saved to a text
// file, and loaded back (which confirms them and so reopens the port).
void OUVRIR_CONFIGURATION(WindowRegistry &registry);
void ENREGISTRER_CONFIGURATION(WindowRegistry &registry);
// Applies the list positions of a file's text to the link settings and, when
// all eight are there, confirms them.
void LIRE_CONFIGURATION(WindowRegistry &registry, const QByteArray &TEXTE_LU);
