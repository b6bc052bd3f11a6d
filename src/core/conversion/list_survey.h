#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace tsubakuro {

// What a first pass over a payment list learns before any row is converted. It
// reads the list in chunks and only counts separators, so it costs about as
// much as reading the file once and holds no more than one line.
struct ListSurvey {
  // The number of columns every data row must have; 0 when nothing says (no
  // heading with a comma and no data row). With header rows skipped it is the
  // count of the last skipped line that holds a comma, less the empty columns at
  // its end; otherwise the count most data rows have (the smaller on a tie), where
  // skipped rows, the footer and lines that hold nothing do not count.
  qint64 expected_columns = 0;
  bool columns_from_heading = false;
  // The number (from 1) of the last row (a line, or lines joined by a quoted
  // line break) that holds anything: every row after it is a trailing empty
  // line, and with the footer skipped this is the footer. 0 when none holds
  // anything.
  qint64 last_content_line = 0;
  bool failed = false;  // the device could not be read to its end
};

ListSurvey survey_list(QIODevice& device, qint64 skip_header_rows, bool skip_footer);

// The lines a run skips as the heading, from the stored setting: its number
// rounded, none for anything else.
qint64 heading_rows_to_skip(const QString& stored);

// The rows a run reads as payments: those up to the last that holds anything,
// less the heading and the footer it skips.
qint64 payment_row_count(const ListSurvey& survey, qint64 skip_header_rows, bool skip_footer);

// A line that holds nothing but blanks: after the last content, it is no row.
bool line_holds_nothing(const QByteArray& line);

// Drops the end-of-file character (0x1A) that old editors leave at a file's end.
void drop_end_of_file_mark(QByteArray& last_line);

// Columns of a row as the row split counts them: one more than its commas outside
// quoted fields (all of them when a quote is never closed). A comma is never the
// second byte of a CP932 character, so bytes suffice.
qint64 column_count(QByteArrayView line);

// A row's columns, and how many of them remain when the empty columns at its end
// (a spreadsheet's padding: "…,摘要,,") are left out.
struct ColumnShape {
  qint64 columns = 0;
  qint64 up_to_last_filled = 0;
};
ColumnShape column_shape(QByteArrayView row);

// The count a row is taken to have against the expected one: its own, except
// that empty columns past the expected ones do not count. 0 when the row has
// the expected shape.
qint64 column_count_differing(QByteArrayView row, qint64 columns, qint64 expected);

}  // namespace tsubakuro
