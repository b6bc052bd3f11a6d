#include "cli/log_summary.h"

#include <QFile>

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

bool is_note(const QString& line) {
  return line.startsWith(QStringLiteral("補正：")) || line.startsWith(QStringLiteral("注意："));
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
    // Corrections and the bank list's warnings are told in the log, but are no errors.
    if (holding && !is_note(unquoted(held))) {
      if (summary.total < shown) summary.first.append(unquoted(held));
      ++summary.total;
    }
    held = std::move(line);
    holding = true;
  }
  return summary;
}

}  // namespace tsubakuro::cli
