#include "core/engine/transfer_date.h"

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

}  // namespace tsubakuro
