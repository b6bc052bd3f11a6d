#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

namespace tsubakuro {

// The transfer date of a conversion (振込指定日, 振替指定日), stored in the company's
// settings as header value 4: two characters of month followed by two of day.
// Nothing is checked when it is made: a date that is no date is stored as typed,
// and the header's date check logs it.
class TransferDate {
 public:
  // Month and day as typed into the date prompt or given to the converter. Each
  // part is kept as its last two characters after leading zeros, so "4" and "5"
  // give "0405" and "a" and "ｲ" give "0a0ｲ".
  static TransferDate typed(QStringView month, QStringView day);
  // The text of the company's settings, kept exactly: a value edited by hand
  // need not be four characters long, and is shown and saved as it is.
  static TransferDate from_stored(QString stored);

  const QString& stored() const { return stored_; }
  // The two boxes of the date prompt: the first and the last two characters.
  QString month() const { return stored_.left(2); }
  QString day() const { return stored_.right(2); }

  // The header's MMDD field: month and day each right-aligned and zero-filled
  // on its own, so a stored "5" is 0505 in the file.
  QString field() const;
  // Whether some year has the field's month and day. The year is not known to
  // the header, so 29 February always passes; the bank refuses 0230 or 0431.
  bool is_calendar_day() const;

  // The same date with its year: the next day from `today` on, today included,
  // with that month and day. Only a stored text of four digits has one.
  TransferDate resolved(QDate today) const;
  // Nothing before resolved(), or when no year has the month and day (0230).
  std::optional<QDate> date() const;
  std::optional<Qt::DayOfWeek> weekday() const;
  // Why banks are closed that day (a holiday's name, 年末年始, 土曜日, 日曜日);
  // nothing on a business day or without a day.
  std::optional<QString> bank_closed_reason() const;
  // "2027年1月4日（月）", and "銀行休業日です（元日）" when banks are closed then:
  // empty text without a day.
  QString full_text() const;
  QString bank_closed_warning() const;

  bool operator==(const TransferDate&) const = default;

 private:
  explicit TransferDate(QString stored) : stored_(std::move(stored)) {}

  QString stored_;
  QDate date_;  // invalid until resolved, and when no year has the day
};

}  // namespace tsubakuro
