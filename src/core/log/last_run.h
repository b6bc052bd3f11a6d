#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "core/text/result.h"
#include "core/zengin/record_kinds.h"

namespace tsubakuro {

// A company's last run as its log tells it. The log holds one run only: the one
// of whichever transfer kind was converted last.
struct LastRun {
  TransferKind kind = TransferKind::Credit;
  QDateTime started;
  QDateTime ended;         // of the closing marker, 変換終了 or キャンセル
  bool cancelled = false;  // the bank file of a cancelled run was left as it was
  qint64 errors = 0;       // field errors; notes of mended names and warnings are none
  qint64 corrections = 0;  // 補正
  qint64 warnings = 0;     // 注意
};

// Reads the log an entry at a time, so a log of a million errors costs no memory.
// Nothing when the log is missing or holds no whole run (no title, no start, or
// no closing marker); a failure when it is there but cannot be read.
Result<std::optional<LastRun>> read_last_run(const QString& log_file);

}  // namespace tsubakuro
