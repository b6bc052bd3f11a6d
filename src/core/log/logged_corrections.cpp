#include "core/log/logged_corrections.h"

#include "core/log/log_entry_reader.h"

namespace tsubakuro {
namespace {

constexpr qint64 kLoggedRecordNumbers = 1000000;  // six digits

}  // namespace

LoggedCorrections LoggedCorrections::read(const QString& log_file) {
  LoggedCorrections found;
  LogEntryReader reader(log_file);
  if (!reader.open().ok()) return found;
  while (!reader.at_end()) {
    if (const std::optional<LoggedCorrection> correction =
            parse_logged_correction(reader.read_entry()))
      found.originals_.insert(key(*correction), correction->original);
  }
  return found;
}

std::optional<QString> LoggedCorrections::header_original(int field) const {
  const auto at = originals_.constFind(key({true, 0, field, {}, {}}));
  if (at == originals_.constEnd()) return std::nullopt;
  return *at;
}

std::optional<QString> LoggedCorrections::data_original(qint64 record_number, int field) const {
  const auto at = originals_.constFind(key({false, record_number, field, {}, {}}));
  if (at == originals_.constEnd()) return std::nullopt;
  return *at;
}

// Header fields count below zero, data fields by record and field.
qint64 LoggedCorrections::key(const LoggedCorrection& correction) {
  if (correction.header) return -correction.field;
  return (correction.record_number % kLoggedRecordNumbers) * 100 + correction.field;
}

}  // namespace tsubakuro
