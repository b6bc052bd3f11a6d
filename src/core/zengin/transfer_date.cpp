#include "core/zengin/transfer_date.h"

#include "core/zengin/bank_calendar.h"
#include "core/zengin/padding.h"

namespace tsubakuro {

namespace {

bool all_digits(QStringView text) {
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

}  // namespace

TransferDate TransferDate::typed(QStringView month, QStringView day) {
  return TransferDate(zero_right(month, 2) + zero_right(day, 2));
}

TransferDate TransferDate::from_stored(QString stored) { return TransferDate(std::move(stored)); }

QString TransferDate::field() const { return zero_right(month(), 2) + zero_right(day(), 2); }

bool TransferDate::is_calendar_day() const {
  static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const QString date = field();
  if (!all_digits(date)) return false;
  const int month = date.left(2).toInt();
  const int day = date.right(2).toInt();
  if (month < 1 || month > 12) return false;
  return day >= 1 && day <= kDaysInMonth[month - 1];
}

TransferDate TransferDate::resolved(QDate today) const {
  TransferDate date(stored_);
  if (stored_.size() == 4 && all_digits(stored_)) {
    date.date_ = next_date_of(month().toInt(), day().toInt(), today).value_or(QDate());
  }
  return date;
}

std::optional<QDate> TransferDate::date() const {
  if (!date_.isValid()) return std::nullopt;
  return date_;
}

std::optional<Qt::DayOfWeek> TransferDate::weekday() const {
  if (!date_.isValid()) return std::nullopt;
  return static_cast<Qt::DayOfWeek>(date_.dayOfWeek());
}

std::optional<QString> TransferDate::bank_closed_reason() const {
  return tsubakuro::bank_closed_reason(date_);
}

QString TransferDate::full_text() const {
  return date_.isValid() ? full_date_text(date_) : QString();
}

QString TransferDate::bank_closed_warning() const { return tsubakuro::bank_closed_warning(date_); }

}  // namespace tsubakuro
