#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>
#include <optional>

namespace tsubakuro {

// A worksheet's cell values written as "tbk.tmp" holds them: the text the office
// suite's comma-separated export gives when asked for cell values rather than their
// display formats. Every rule here is that export's, so a sheet read without the
// suite gives the same bytes as one read through it.

// The form the office suite writes a date or time in, which is the form of the
// number format's language.
enum class SheetLocale {
  English,   // en-US: 04/25/2024, 04/25/2024 13:45:00, 01:45:10 PM
  Japanese,  // ja-JP: 2024/04/05, 2024/4/5 9:05:00, 09:05:10
};

// The suite's own language, which every format without a language of its own takes:
// the suite is started in it (workbook_export.cpp) whatever the machine's locale.
inline constexpr SheetLocale kSuiteLocale = SheetLocale::Japanese;

// A number in the suite's standard format: the shortest decimal digits that give the
// value back, rounded half up to 15 significant digits, trailing zeros dropped;
// exponent form (three exponent digits) when those digits start at 1E+015 or above or
// below 1E-014; whole numbers the mantissa holds written in full.
QString sheet_number_text(double value);

// Iso: a format that starts as an ISO 8601 date, which the suite keeps.
enum class DateKind { Date, DateTime, Time, IsoDate, IsoDateTime };

// A cell's date and time of day, to the second, free of any time zone.
struct SheetMoment {
  QDate date;
  QTime time;
};

// A date or time as the suite writes a cell of that kind; empty for a year outside
// 1-9999, which the reader leaves to the suite.
QString sheet_date_text(const SheetMoment& moment, DateKind kind, SheetLocale locale);

// A time of day (a fraction of a day, 0 up to 1) as the suite writes a cell of a time
// format: to the second in the locale's form, or, when hundredths of a second show,
// as 08:05:07.25 (05:07.25 under an hour); empty outside the day.
QString sheet_time_text(double day_fraction, SheetLocale locale);

// A spreadsheet serial day number (days since 1899-12-30, or 1904-01-01 in a
// workbook that counts from 1904), to the second; nullopt outside 1-9999.
std::optional<SheetMoment> moment_from_serial(double serial, bool counts_from_1904);

// Appends one text cell as the export writes it, in CP932: quoted (inner quotes
// doubled) when it holds a comma, a quote or a line break, each line break inside
// quotes then written as one space (a row must stay one line), and a "?" for each
// character CP932 lacks.
void append_text_field(QByteArray& out, QStringView text);

// Appends a field that never needs quoting (numbers, dates, TRUE and FALSE).
void append_plain_field(QByteArray& out, QStringView text);

}  // namespace tsubakuro
