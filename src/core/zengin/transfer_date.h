#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

namespace tsubakuro {

// The transfer date a conversion writes into the header (header value 4 of the
// kind's section): two characters of month followed by two of day, as the date
// prompt stores them. Each part is the last two characters of "00" followed by
// what the user typed, so "4" and "5" give "0405". Nothing is checked here: a
// date that is no date is stored as typed and the header's date check logs it.
QString compose_transfer_date(QStringView month, QStringView day);

// The day a stored transfer date means: the next day from `today` on with that
// month and day. Nothing when the text is not four digits or no year has that day.
std::optional<QDate> transfer_day(QStringView stored, QDate today);

}  // namespace tsubakuro
