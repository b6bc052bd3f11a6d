#pragma once

#include <QByteArray>
#include <QIODevice>
#include <deque>

#include "core/conversion/line_reader.h"

namespace tsubakuro {

// Reads a payment list one row at a time: a line, or several when a quoted field
// holds a line break (csv_row.h). The break stays in the row as written.
//
// The closing quote is looked for no further than a row of LineReader's limit,
// lines between included. A quote not closed by then, or by the end of the file,
// makes the row its first line alone, marked unclosed(), and reading goes on from
// the line after it: one stray quote must not swallow the payments below it.
class RowReader {
 public:
  explicit RowReader(QIODevice& device);

  bool at_end();
  // The next row; false when none is left. A first line longer than the limit
  // gives an empty row with too_long() true.
  bool read_row(QByteArray& row);
  bool too_long() const { return too_long_; }
  bool unclosed() const { return unclosed_; }
  // The bytes of the last row read, its final terminator left out.
  qint64 row_bytes() const { return row_bytes_; }
  bool failed() const { return reader_.failed(); }

 private:
  struct Line {
    QByteArray bytes;  // held lines only
    QByteArrayView terminator;
    qint64 start = 0;   // its offset in the file
    qint64 length = 0;  // its bytes, terminator left out, dropped ones counted
    bool too_long = false;
  };

  // The reader's next line into `bytes`, and what is known of it into `line`.
  bool read_line(QByteArray& bytes, Line& line);
  // Reads until pending_ holds `count` lines; false at the end of the file.
  bool hold(std::size_t count);

  LineReader reader_;
  // Lines read ahead while looking for a closing quote, and not yet in a row.
  std::deque<Line> pending_;
  qint64 number_ = 0;  // lines taken out of pending_ or the reader so far
  qint64 offset_ = 0;  // where the reader's next line starts
  // Lines number_ + 1 (the first held) to open_until_ are known to stay inside a
  // quoted field from their start to their end: once a stray quote has been
  // looked past them, the rows after it need not look again.
  qint64 open_until_ = 0;
  bool too_long_ = false;
  bool unclosed_ = false;
  qint64 row_bytes_ = 0;
};

}  // namespace tsubakuro
