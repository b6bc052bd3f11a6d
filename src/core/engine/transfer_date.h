#pragma once

#include <QString>
#include <QStringView>

namespace tsubakuro {

// The transfer date a conversion writes into the header (header value 4 of the
// kind's section): two characters of month followed by two of day, as the date
// prompt stores them. Each part is the last two characters of "00" followed by
// what the user typed, so "4" and "5" give "0405". Nothing is checked here: a
// date that is no date is stored as typed and the header's date check logs it.
QString compose_transfer_date(QStringView month, QStringView day);

}  // namespace tsubakuro
