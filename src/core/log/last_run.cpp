#include "core/log/last_run.h"

#include <QFileInfo>

#include "core/log/log_entry_reader.h"
#include "core/log/log_messages.h"

namespace tsubakuro {

Result<std::optional<LastRun>> read_last_run(const QString& log_file) {
  if (!QFileInfo::exists(log_file)) return std::optional<LastRun>();
  LogEntryReader reader(log_file);
  if (const Result<void> opened = reader.open(); !opened) return opened.failure();

  const std::optional<TransferKind> kind = parse_log_title_kind(reader.read_entry());
  const std::optional<QDateTime> started =
      parse_marker_time(reader.read_entry(), log_start_marker());
  if (!kind || !started) return std::optional<LastRun>();

  LastRun run;
  run.kind = *kind;
  run.started = *started;
  // An entry is a message once another follows it: the last is the closing marker.
  QString held;
  bool holding = false;
  while (!reader.at_end()) {
    QString entry = reader.read_entry();
    // A blank line between entries is an empty entry and no message.
    if (holding && !held.isEmpty()) {
      if (held.startsWith(QStringView(kCorrectionPrefix)))
        ++run.corrections;
      else if (held.startsWith(QStringView(kWarningPrefix)))
        ++run.warnings;
      else
        ++run.errors;
    }
    held = std::move(entry);
    holding = true;
  }
  if (const std::optional<QDateTime> ended = parse_marker_time(held, log_end_marker())) {
    run.ended = *ended;
  } else if (const std::optional<QDateTime> stopped =
                 parse_marker_time(held, log_cancel_marker())) {
    run.ended = *stopped;
    run.cancelled = true;
  } else {
    return std::optional<LastRun>();
  }
  return std::optional<LastRun>(run);
}

}  // namespace tsubakuro
