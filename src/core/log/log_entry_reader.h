#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include "core/text/result.h"

namespace tsubakuro {

// Reads a company's error log one entry at a time, as the log viewer shows it:
// a quoted message is one entry without its quotes; an unquoted line is split at
// its commas (a hand-edited log); a blank line between entries is an empty entry,
// blank lines at the end are none. Only as much of the file is read as the
// entries asked for, so a huge log costs no more than the part shown.
class LogEntryReader {
 public:
  explicit LogEntryReader(const QString& file_name);

  // Fails when the file exists but cannot be read.
  Result<void> open();
  bool at_end();
  QString read_entry();  // empty text at the end

 private:
  void fill();

  QFile file_;
  QStringList pending_;
  int blank_lines_ = 0;  // held back until an entry follows them
};

}  // namespace tsubakuro
