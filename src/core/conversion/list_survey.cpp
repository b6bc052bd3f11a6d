#include "core/conversion/list_survey.h"

#include <algorithm>
#include <map>

#include "core/conversion/row_reader.h"
#include "core/records/csv_row.h"

namespace tsubakuro {

bool line_holds_nothing(const QByteArray& line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

void drop_end_of_file_mark(QByteArray& last_line) {
  if (last_line.endsWith('\x1A')) last_line.chop(1);
}

qint64 column_count(const QByteArray& line) {
  if (line.contains('"')) {
    qint64 fields = 0;
    if (for_each_csv_field(QByteArrayView(line), [&](QByteArrayView, bool) {
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
    if (number <= skip_header_rows) continue;
    if (pending_columns > 0) ++rows_with[pending_columns];
    pending_columns = column_count(line);
  }
  if (pending_columns > 0 && !skip_footer) ++rows_with[pending_columns];
  survey.failed = reader.failed();
  qint64 most = 0;
  for (const auto& [columns, rows] : rows_with) {
    if (rows > most) {  // ascending order: on a tie the smaller count stays
      most = rows;
      survey.usual_columns = columns;
    }
  }
  return survey;
}

}  // namespace tsubakuro
