#pragma once

// French (France) for the whole tool whatever the machine's locale: dates and
// numbers through QLocale, and Qt's own texts (dialogs, standard buttons)
// through its French translation when it is installed. Call once, after the
// application object exists.
void useFrenchEverywhere();
