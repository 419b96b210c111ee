#pragma once

#include "records/commissioning_sheet.h"

#include <QByteArray>

// The sheet as an A4 PDF of real text (searchable), one or two pages.
QByteArray sheetPdf(const CommissioningSheet &sheet);
