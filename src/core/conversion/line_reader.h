#pragma once

#include <QByteArray>
#include <QIODevice>

namespace tsubakuro {

// Reads a payment list one line at a time without holding more than a chunk and
// the current line. A line ends at CR LF, at CR or at a lone LF (lists saved on
// other systems must not become one long row); the terminator is not part of the
// line, and a last line without one is still a line.
//
// No payment row comes near a megabyte, but a file of one endless line does
// (a binary file, a log pasted whole): such a line is read past and dropped as it
// comes, never held, so memory stays bounded whatever the input.
class LineReader {
 public:
  static constexpr qsizetype kMaxLineBytes = 1 << 20;

  explicit LineReader(QIODevice& device);

  // True when no line is left (or the device failed: see failed()).
  bool at_end();
  // The next line; false when none is left. A line longer than kMaxLineBytes
  // comes back empty, with too_long() true.
  bool read_line(QByteArray& line);
  bool too_long() const { return too_long_; }
  // The bytes of the last line read, terminator left out, dropped ones counted.
  qint64 line_bytes() const { return line_bytes_; }
  // The terminator of the last line read ("\r\n", "\r", "\n"; empty at the end of
  // the file): a quoted field keeps the line break as written.
  QByteArrayView terminator() const { return terminator_; }
  bool failed() const { return failed_; }

 private:
  // Appends the next chunk after dropping what was consumed; false at the end.
  bool fill();
  qsizetype find_terminator(qsizetype from) const;

  QIODevice& device_;
  QByteArray buffer_;
  qsizetype position_ = 0;
  bool exhausted_ = false;
  bool too_long_ = false;
  qint64 line_bytes_ = 0;
  QByteArrayView terminator_;
  bool failed_ = false;
};

}  // namespace tsubakuro
