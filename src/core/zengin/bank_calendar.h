#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace tsubakuro {

// The national holidays of Japan as the holidays act defines them: fixed days,
// the Monday holidays, the equinox days by the astronomical formula, substitute
// holidays and the citizens' holiday between two holidays, with a table of the
// days the act moved or added for one year only. Holidays before 2000 follow
// today's rules and may differ from the calendar of their time.
std::optional<QString> national_holiday_name(QDate date);

// Why banks are closed on `date` (the holiday's name, 年末年始 for 12/31 to 1/3,
// 土曜日, 日曜日), or nothing on a business day.
std::optional<QString> bank_closed_reason(QDate date);

// "2027年1月4日（月）".
QString full_date_text(QDate date);

// "銀行休業日です（元日）" when banks are closed on `date`, else empty text.
QString bank_closed_warning(QDate date);

// The day a transfer date of month and day means: the next such day from `today`
// on, today included; nothing when no year has it (2/30).
std::optional<QDate> next_date_of(int month, int day, QDate today);

}  // namespace tsubakuro
