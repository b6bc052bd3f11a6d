#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <optional>

#include "core/log/log_messages.h"

namespace tsubakuro {

// The corrections of a company's log, to be asked by record and field. Data records
// are numbered in six digits in the log, so record 1000001 answers as record 1.
class LoggedCorrections {
 public:
  // Nothing is found when the log is missing or unreadable.
  static LoggedCorrections read(const QString& log_file);

  // The text the settings or the list held before it was mended, when it was.
  std::optional<QString> header_original(int field) const;
  std::optional<QString> data_original(qint64 record_number, int field) const;
  bool empty() const { return originals_.isEmpty(); }

 private:
  static qint64 key(const LoggedCorrection& correction);
  QHash<qint64, QString> originals_;
};

}  // namespace tsubakuro
