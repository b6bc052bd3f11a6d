#include "core/conversion/list_survey.h"

#include <algorithm>
#include <map>

#include "core/conversion/row_reader.h"
#include "core/records/csv_row.h"
#include "core/text/leading_number.h"

namespace tsubakuro {

bool line_holds_nothing(const QByteArray& line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

void drop_end_of_file_mark(QByteArray& last_line) {
  if (last_line.endsWith('\x1A')) last_line.chop(1);
}

qint64 column_count(QByteArrayView line) {
  if (line.contains('"')) {
    qint64 fields = 0;
    if (for_each_csv_field(line, [&](QByteArrayView, bool) {
          ++fields;
          return true;
        }))
      return fields;
  }
  // Without a branch per byte, so the compiler can count many bytes at a time.
  qint64 commas = 0;
  for (const char c : line) commas += c == ',';
  return commas + 1;
}

ColumnShape column_shape(QByteArrayView row) {
  if (row.contains('"')) {
    ColumnShape shape;
    const bool closed = for_each_csv_field(row, [&](QByteArrayView field, bool) {
      ++shape.columns;
      for (const char c : field) {
        if (c != ' ' && c != '\t') {
          shape.up_to_last_filled = shape.columns;
          break;
        }
      }
      return true;
    });
    if (closed) return shape;
  }
  ColumnShape shape{1, 0};
  bool filled = false;  // the column being read holds more than blanks
  for (const char c : row) {
    if (c == ',') {
      if (filled) shape.up_to_last_filled = shape.columns;
      ++shape.columns;
      filled = false;
    } else if (c != ' ' && c != '\t') {
      filled = true;
    }
  }
  if (filled) shape.up_to_last_filled = shape.columns;
  return shape;
}

qint64 column_count_differing(QByteArrayView row, qint64 columns, qint64 expected) {
  if (expected == 0 || columns == expected) return 0;
  if (columns < expected) return columns;
  const qint64 filled = column_shape(row).up_to_last_filled;
  return filled <= expected ? 0 : filled;
}

qint64 heading_rows_to_skip(const QString& stored) {
  return std::max<qint64>(0, round_half_even(leading_number(stored)));
}

qint64 payment_row_count(const ListSurvey& survey, qint64 skip_header_rows, bool skip_footer) {
  const qint64 rows = survey.last_content_line - skip_header_rows - (skip_footer ? 1 : 0);
  return std::max<qint64>(0, rows);
}

ListSurvey survey_list(QIODevice& device, qint64 skip_header_rows, bool skip_footer) {
  ListSurvey survey;
  RowReader reader(device);
  // Columns of each data line that holds something; the footer is known only at
  // the end, so the columns of the last such line wait before they count.
  std::map<qint64, qint64> rows_with;
  qint64 pending_columns = 0;
  QByteArray line;
  for (qint64 number = 1; reader.read_row(line); ++number) {
    if (reader.at_end()) drop_end_of_file_mark(line);
    if (line_holds_nothing(line)) continue;
    survey.last_content_line = number;
    if (number <= skip_header_rows) {
      // The heading names the columns: the last skipped line that has columns.
      if (line.contains(',')) {
        survey.expected_columns = column_shape(line).up_to_last_filled;
        survey.columns_from_heading = true;
      }
      continue;
    }
    if (pending_columns > 0) ++rows_with[pending_columns];
    pending_columns = column_count(line);
  }
  if (pending_columns > 0 && !skip_footer) ++rows_with[pending_columns];
  survey.failed = reader.failed();
  if (survey.columns_from_heading) return survey;
  qint64 most = 0;
  for (const auto& [columns, rows] : rows_with) {
    if (rows > most) {  // ascending order: on a tie the smaller count stays
      most = rows;
      survey.expected_columns = columns;
    }
  }
  return survey;
}

}  // namespace tsubakuro
