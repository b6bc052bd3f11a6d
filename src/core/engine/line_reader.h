#pragma once

#include <QByteArray>
#include <QIODevice>

namespace tsubakuro {

// Reads a payment list one line at a time without holding more than a chunk and
// the current line. A line ends at CR LF, at CR or at a lone LF (lists saved on
// other systems must not become one long row); the terminator is not part of the
// line, and a last line without one is still a line.
class LineReader {
 public:
  explicit LineReader(QIODevice& device);

  // True when no line is left (or the device failed: see failed()).
  bool at_end();
  // The next line; false when none is left.
  bool read_line(QByteArray& line);
  bool failed() const { return failed_; }

 private:
  // Appends the next chunk after dropping what was consumed; false at the end.
  bool fill();
  qsizetype find_terminator(qsizetype from) const;

  QIODevice& device_;
  QByteArray buffer_;
  qsizetype position_ = 0;
  bool exhausted_ = false;
  bool failed_ = false;
};

}  // namespace tsubakuro
