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

// The order the office suite writes dates in, which follows the locale it runs in.
enum class SheetLocale {
  English,   // C, POSIX and en_US: 04/25/2024, 04/25/2024 13:45:00, 01:45:10 PM
  Japanese,  // ja_JP: 2024/04/25, 2024/4/25 13:45:00, 13:45:10
};

// The locale the office suite would take from this process's environment, or none
// when it is one whose numbers or dates are written in some other way.
std::optional<SheetLocale> sheet_locale_from_environment();

// A number in the suite's standard format: at most 15 significant digits, trailing
// zeros dropped, exponent form (three exponent digits) from 1E+015 up and below
// 1E-014, whole numbers the mantissa holds written in full.
QString sheet_number_text(double value);

enum class DateKind { Date, DateTime, Time };

// A cell's date and time of day, to the second, free of any time zone.
struct SheetMoment {
  QDate date;
  QTime time;
};

// A date or time as the suite writes a cell of that kind; empty for a year outside
// 1-9999, which the reader leaves to the suite.
QString sheet_date_text(const SheetMoment& moment, DateKind kind, SheetLocale locale);

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
