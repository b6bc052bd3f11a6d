#include "core/zengin/transfer_date.h"

#include "core/zengin/bank_calendar.h"

namespace tsubakuro {

namespace {

QString last_two_after_zeros(QStringView part) {
  QString padded = QStringLiteral("00");
  padded += part;
  return padded.right(2);
}

}  // namespace

QString compose_transfer_date(QStringView month, QStringView day) {
  return last_two_after_zeros(month) + last_two_after_zeros(day);
}

std::optional<QDate> transfer_day(QStringView stored, QDate today) {
  if (stored.size() != 4) return std::nullopt;
  for (const QChar c : stored) {
    if (c < u'0' || c > u'9') return std::nullopt;
  }
  return next_date_of(stored.left(2).toInt(), stored.right(2).toInt(), today);
}

}  // namespace tsubakuro
