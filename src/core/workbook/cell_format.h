#pragma once

#include <QByteArray>
#include <QString>

#include "core/text/result.h"
#include "core/workbook/sheet_text.h"

namespace tsubakuro {

// What a number format shows, as far as the export cares: a date or time is written
// in the form the suite edits it in, which is that of the format's language (the
// suite's own unless the format names English) or ISO 8601 for a format that starts
// as an ISO date; percentages with "%", the rest as plain numbers. Fractions,
// exponents, elapsed times and other languages the reader leaves to the suite.
enum class CellFormat {
  Number,
  Percent,
  Boolean,
  Unknown,
  Date,  // in the suite's language
  DateTime,
  Time,
  EnglishDate,  // [$-409]
  EnglishDateTime,
  EnglishTime,
  IsoDate,  // yyyy-mm-dd…
  IsoDateTime,
};

// Whether cells of the format hold serial day numbers.
bool is_date_or_time(CellFormat format);

// A number format code of an Office Open XML workbook.
CellFormat classify_format_code(const QString& code);

// One of the formats Office Open XML numbers without spelling its code.
CellFormat builtin_format(int id);

// Appends a number cell's field.
void append_number(QByteArray& out, double value);

// Appends the field of a cell of a date or time format from its serial day number;
// refused for a year or time the suite's text is not known for.
Result<void> append_serial(QByteArray& out, double serial, CellFormat format,
                           bool counts_from_1904);

// Appends a date or time cell's field; refused for a year the suite's text is not
// known for.
Result<void> append_date(QByteArray& out, const SheetMoment& moment, DateKind kind,
                         SheetLocale locale);

}  // namespace tsubakuro
