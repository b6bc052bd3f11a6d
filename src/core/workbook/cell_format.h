#pragma once

#include <QByteArray>
#include <QString>

#include "core/text/result.h"
#include "core/workbook/sheet_text.h"

namespace tsubakuro {

// What a number format shows, as far as the export cares: dates and times are
// written in the locale's own form, percentages with "%", the rest as plain
// numbers. Fractions, exponents and elapsed times the reader leaves to the suite.
enum class CellFormat { Number, Percent, Date, DateTime, Time, Boolean, Unknown };

// A number format code of an Office Open XML workbook.
CellFormat classify_format_code(const QString& code);

// One of the formats Office Open XML numbers without spelling its code.
CellFormat builtin_format(int id);

// Appends a number cell's field.
void append_number(QByteArray& out, double value);

// Appends a date or time cell's field; refused for a year the suite's text is not
// known for.
Result<void> append_date(QByteArray& out, const SheetMoment& moment, DateKind kind,
                         SheetLocale locale);

}  // namespace tsubakuro
