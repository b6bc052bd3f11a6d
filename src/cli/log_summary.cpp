#include "cli/log_summary.h"

#include <QFile>

#include "core/log/conversion_log.h"
#include "core/log/log_messages.h"
#include "core/text/cp932.h"

namespace tsubakuro::cli {

namespace {

constexpr int kOpeningLines = 2;  // the company line and the start marker

QString unquoted(QByteArray line) {
  // A CP932 trail byte is never CR or LF, so the line end can be cut as bytes.
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  if (line.size() >= 2 && line.startsWith('"') && line.endsWith('"'))
    line = line.mid(1, line.size() - 2);
  return decode_cp932(line);
}

}  // namespace

FieldErrorSummary summarize_field_errors(const QString& log_file, int shown) {
  FieldErrorSummary summary;
  QFile file(log_file);
  if (!file.open(QIODevice::ReadOnly)) return summary;
  for (int i = 0; i < kOpeningLines && !file.atEnd(); ++i) file.readLine();
  // A line is an error once another follows it: the last one is the closing marker.
  QByteArray held;
  bool holding = false;
  while (!file.atEnd()) {
    QByteArray line = file.readLine();
    if (holding) {
      const QString message = unquoted(held);
      if (message.startsWith(QStringView(kCorrectionPrefix))) {
        ++summary.corrections;
      } else if (message.startsWith(QStringView(kWarningPrefix))) {
        ++summary.warnings;
      } else {
        if (summary.total < shown) summary.first.append(message);
        ++summary.total;
      }
    }
    held = std::move(line);
    holding = true;
  }
  return summary;
}

}  // namespace tsubakuro::cli
