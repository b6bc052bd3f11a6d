#include "core/log/log_entry_reader.h"

#include "core/log/log_messages.h"
#include "core/text/cp932.h"
#include "core/text/write_notation.h"

namespace tsubakuro {

namespace {
// A longer line is taken in pieces, each piece an entry, rather than read whole.
constexpr qint64 kMaxLineBytes = 64 * 1024;
}  // namespace

LogEntryReader::LogEntryReader(const QString& file_name) : file_(file_name) {}

Result<void> LogEntryReader::open() {
  if (file_.open(QIODevice::ReadOnly)) return {};
  return failure(log_unreadable_message(file_.fileName(), file_.errorString()));
}

bool LogEntryReader::at_end() {
  fill();
  return pending_.isEmpty();
}

QString LogEntryReader::read_entry() {
  fill();
  return pending_.isEmpty() ? QString() : pending_.takeFirst();
}

void LogEntryReader::fill() {
  while (pending_.isEmpty() && file_.isOpen() && !file_.atEnd()) {
    QByteArray line = file_.readLine(kMaxLineBytes);
    if (line.isEmpty() && file_.error() != QFileDevice::NoError) {
      // What was read stands; the rest of a log that fails mid-way is not shown.
      file_.close();
      return;
    }
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    if (line.isEmpty()) {
      ++blank_lines_;
      continue;
    }
    for (; blank_lines_ > 0; --blank_lines_) pending_.append(QString());
    WriteNotationReader items(decode_cp932(line));
    do {
      pending_.append(items.read_item());
    } while (!items.at_end());
  }
}

}  // namespace tsubakuro
