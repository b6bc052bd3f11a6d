#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>
#include <functional>
#include <vector>

#include "core/text/result.h"

namespace tsubakuro {

// The suite's sheets end at this row and column; a reference beyond them is damage.
inline constexpr qint64 kRowLimit = 1'048'576;
inline constexpr int kColumnLimit = 16'384;

// Where the rows go: each row becomes one line as it arrives, and the lines are
// written out again at the end, every one filled with empty columns up to the
// sheet's widest row, as the suite writes a sheet's whole used area. A cell whose
// field is left empty (an empty text) is no cell to the suite: it neither widens
// its row nor keeps the rows after the last filled one.
class SheetWriter {
 public:
  explicit SheetWriter(QTemporaryFile& out) : out_(out) {}

  // The field for the cell at (row, column), counted from 0, in reading order, to be
  // appended to before the next call; refused out of that order or past the sheet's
  // last row or column.
  Result<QByteArray*> cell(qint64 row, int column);

  // Keeps the last cell a cell though its field is empty: a formula whose result is
  // an empty text is a cell to the suite.
  void keep_cell();

  // Refused when the rows so far cannot be set aside.
  Result<void> flush_if_full();

  // The bytes finish() would write for the rows so far, each filled out to the
  // widest: a sheet claiming a far cell is used grows every row.
  qint64 finished_size() const;

  // Writes the finished lines to `target`, the text of `workbook`, unless a stop is
  // asked for before the file is replaced: a read stopped at any time before then
  // leaves it as it was.
  Result<void> finish(const QString& target, const QString& workbook,
                      const std::function<bool()>& stop_requested);

 private:
  void end_row();
  bool flush();
  // Takes back the last cell when its field stayed empty.
  void settle();

  QTemporaryFile& out_;
  QByteArray buffer_;
  std::vector<int> fields_per_row_;
  qint64 written_ = 0;     // set aside in out_
  qint64 fields_sum_ = 0;  // of fields_per_row_, each at least 1
  qint64 row_ = -1;
  qint64 ended_row_ = -1;
  int fields_ = 0;  // in the row being written, to its last filled cell
  int last_column_ = -1;
  int widest_ = 1;
  // The last cell, until it is settled: where its commas start, where its field starts.
  qsizetype cell_start_ = -1;
  qsizetype field_start_ = -1;
  int fields_before_ = 0;
};

}  // namespace tsubakuro
