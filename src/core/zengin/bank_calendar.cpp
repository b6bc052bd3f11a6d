#include "core/zengin/bank_calendar.h"

#include <cmath>

namespace tsubakuro {
namespace {

// The n-th Monday of a month: the Monday holidays of the act.
QDate nth_monday(int year, int month, int n) {
  const QDate first(year, month, 1);
  const int to_monday = (Qt::Monday - first.dayOfWeek() + 7) % 7;
  return first.addDays(to_monday + 7 * (n - 1));
}

// The formula the National Astronomical Observatory's published days follow
// from 1980 to 2099; the act names the day the observatory announces.
int equinox_day(int year, double base) {
  const int years = year - 1980;
  return static_cast<int>(std::floor(base + 0.242194 * years - std::floor(years / 4.0)));
}

struct OneOff {
  int year, month, day;
  const char16_t* name;
};

// Days moved or added by law for one year: the enthronement of 2019 and the
// Olympic Games of 2020 and 2021.
constexpr OneOff kOneOffHolidays[] = {
    {2019, 5, 1, u"即位の日"},      {2019, 10, 22, u"即位礼正殿の儀"}, {2020, 7, 23, u"海の日"},
    {2020, 7, 24, u"スポーツの日"}, {2020, 8, 10, u"山の日"},          {2021, 7, 22, u"海の日"},
    {2021, 7, 23, u"スポーツの日"}, {2021, 8, 8, u"山の日"},
};

bool moved_away(int year, int month) {
  // In these years the summer and sports holidays stood only on their one-off days.
  return (year == 2020 || year == 2021) && (month == 7 || month == 8 || month == 10);
}

// A holiday the act names by date or rule (no substitute or citizens' holiday).
std::optional<QString> named_holiday(QDate date) {
  const int y = date.year();
  const int m = date.month();
  const int d = date.day();
  for (const OneOff& holiday : kOneOffHolidays) {
    if (holiday.year == y && holiday.month == m && holiday.day == d)
      return QString::fromUtf16(holiday.name);
  }
  const auto is = [&](int month, int day) { return m == month && d == day; };
  const auto monday = [&](int month, int n) { return date == nth_monday(y, month, n); };
  if (is(1, 1)) return QStringLiteral("元日");
  if (monday(1, 2)) return QStringLiteral("成人の日");
  if (is(2, 11)) return QStringLiteral("建国記念の日");
  if (y >= 2020 && is(2, 23)) return QStringLiteral("天皇誕生日");
  if (m == 3 && d == equinox_day(y, 20.8431)) return QStringLiteral("春分の日");
  if (is(4, 29)) return y >= 2007 ? QStringLiteral("昭和の日") : QStringLiteral("みどりの日");
  if (is(5, 3)) return QStringLiteral("憲法記念日");
  if (y >= 2007 && is(5, 4)) return QStringLiteral("みどりの日");
  if (is(5, 5)) return QStringLiteral("こどもの日");
  if (!moved_away(y, m)) {
    if (y >= 2003 ? monday(7, 3) : is(7, 20)) return QStringLiteral("海の日");
    if (y >= 2016 && is(8, 11)) return QStringLiteral("山の日");
    if (monday(10, 2))
      return y >= 2020 ? QStringLiteral("スポーツの日") : QStringLiteral("体育の日");
  }
  if (y >= 2003 ? monday(9, 3) : is(9, 15)) return QStringLiteral("敬老の日");
  if (m == 9 && d == equinox_day(y, 23.2488)) return QStringLiteral("秋分の日");
  if (is(11, 3)) return QStringLiteral("文化の日");
  if (is(11, 23)) return QStringLiteral("勤労感謝の日");
  if (y < 2019 && is(12, 23)) return QStringLiteral("天皇誕生日");
  return std::nullopt;
}

// A holiday on a Sunday gives the next day that is no holiday.
bool substitute_holiday(QDate date) {
  QDate before = date.addDays(-1);
  while (named_holiday(before)) {
    if (before.dayOfWeek() == Qt::Sunday) return true;
    before = before.addDays(-1);
  }
  return false;
}

}  // namespace

std::optional<QString> national_holiday_name(QDate date) {
  if (!date.isValid()) return std::nullopt;
  if (std::optional<QString> name = named_holiday(date)) return name;
  if (substitute_holiday(date)) return QStringLiteral("振替休日");
  // A day between two holidays is a holiday of its own; the Sunday rule has
  // already had its say, so a substitute day never makes one.
  if (named_holiday(date.addDays(-1)) && named_holiday(date.addDays(1)))
    return QStringLiteral("国民の休日");
  return std::nullopt;
}

std::optional<QString> bank_closed_reason(QDate date) {
  if (!date.isValid()) return std::nullopt;
  if (std::optional<QString> name = national_holiday_name(date)) return name;
  if ((date.month() == 12 && date.day() == 31) || (date.month() == 1 && date.day() <= 3))
    return QStringLiteral("年末年始");
  if (date.dayOfWeek() == Qt::Saturday) return QStringLiteral("土曜日");
  if (date.dayOfWeek() == Qt::Sunday) return QStringLiteral("日曜日");
  return std::nullopt;
}

QString full_date_text(QDate date) {
  static const char16_t* const kWeekdays[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};
  return QStringLiteral("%1年%2月%3日（%4）")
      .arg(date.year())
      .arg(date.month())
      .arg(date.day())
      .arg(QString::fromUtf16(kWeekdays[date.dayOfWeek() - 1]));
}

QString bank_closed_warning(QDate date) {
  const std::optional<QString> reason = bank_closed_reason(date);
  return reason ? QStringLiteral("銀行休業日です（%1）").arg(*reason) : QString();
}

std::optional<QDate> next_date_of(int month, int day, QDate today) {
  // 2/29 comes back within eight years, a day that no month has never.
  for (int year = today.year(); year <= today.year() + 8; ++year) {
    const QDate date(year, month, day);
    if (date.isValid() && date >= today) return date;
  }
  return std::nullopt;
}

}  // namespace tsubakuro
