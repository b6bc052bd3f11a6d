#include "core/zengin/bank_calendar.h"

#include <gtest/gtest.h>

#include <map>

namespace tsubakuro {
namespace {

// The national holidays of 2025 to 2027 as the Cabinet Office publishes them.
const std::map<QDate, QString> kPublishedHolidays = {
    {QDate(2025, 1, 1), u"元日"_qs},           {QDate(2025, 1, 13), u"成人の日"_qs},
    {QDate(2025, 2, 11), u"建国記念の日"_qs},  {QDate(2025, 2, 23), u"天皇誕生日"_qs},
    {QDate(2025, 2, 24), u"振替休日"_qs},      {QDate(2025, 3, 20), u"春分の日"_qs},
    {QDate(2025, 4, 29), u"昭和の日"_qs},      {QDate(2025, 5, 3), u"憲法記念日"_qs},
    {QDate(2025, 5, 4), u"みどりの日"_qs},     {QDate(2025, 5, 5), u"こどもの日"_qs},
    {QDate(2025, 5, 6), u"振替休日"_qs},       {QDate(2025, 7, 21), u"海の日"_qs},
    {QDate(2025, 8, 11), u"山の日"_qs},        {QDate(2025, 9, 15), u"敬老の日"_qs},
    {QDate(2025, 9, 23), u"秋分の日"_qs},      {QDate(2025, 10, 13), u"スポーツの日"_qs},
    {QDate(2025, 11, 3), u"文化の日"_qs},      {QDate(2025, 11, 23), u"勤労感謝の日"_qs},
    {QDate(2025, 11, 24), u"振替休日"_qs},

    {QDate(2026, 1, 1), u"元日"_qs},           {QDate(2026, 1, 12), u"成人の日"_qs},
    {QDate(2026, 2, 11), u"建国記念の日"_qs},  {QDate(2026, 2, 23), u"天皇誕生日"_qs},
    {QDate(2026, 3, 20), u"春分の日"_qs},      {QDate(2026, 4, 29), u"昭和の日"_qs},
    {QDate(2026, 5, 3), u"憲法記念日"_qs},     {QDate(2026, 5, 4), u"みどりの日"_qs},
    {QDate(2026, 5, 5), u"こどもの日"_qs},     {QDate(2026, 5, 6), u"振替休日"_qs},
    {QDate(2026, 7, 20), u"海の日"_qs},        {QDate(2026, 8, 11), u"山の日"_qs},
    {QDate(2026, 9, 21), u"敬老の日"_qs},      {QDate(2026, 9, 22), u"国民の休日"_qs},
    {QDate(2026, 9, 23), u"秋分の日"_qs},      {QDate(2026, 10, 12), u"スポーツの日"_qs},
    {QDate(2026, 11, 3), u"文化の日"_qs},      {QDate(2026, 11, 23), u"勤労感謝の日"_qs},

    {QDate(2027, 1, 1), u"元日"_qs},           {QDate(2027, 1, 11), u"成人の日"_qs},
    {QDate(2027, 2, 11), u"建国記念の日"_qs},  {QDate(2027, 2, 23), u"天皇誕生日"_qs},
    {QDate(2027, 3, 21), u"春分の日"_qs},      {QDate(2027, 3, 22), u"振替休日"_qs},
    {QDate(2027, 4, 29), u"昭和の日"_qs},      {QDate(2027, 5, 3), u"憲法記念日"_qs},
    {QDate(2027, 5, 4), u"みどりの日"_qs},     {QDate(2027, 5, 5), u"こどもの日"_qs},
    {QDate(2027, 7, 19), u"海の日"_qs},        {QDate(2027, 8, 11), u"山の日"_qs},
    {QDate(2027, 9, 20), u"敬老の日"_qs},      {QDate(2027, 9, 23), u"秋分の日"_qs},
    {QDate(2027, 10, 11), u"スポーツの日"_qs}, {QDate(2027, 11, 3), u"文化の日"_qs},
    {QDate(2027, 11, 23), u"勤労感謝の日"_qs},
};

TEST(BankCalendar, EveryDayOf2025To2027IsAHolidayExactlyWhenPublished) {
  for (QDate date(2025, 1, 1); date.year() <= 2027; date = date.addDays(1)) {
    const auto published = kPublishedHolidays.find(date);
    const std::optional<QString> expected =
        published == kPublishedHolidays.end() ? std::nullopt : std::optional(published->second);
    EXPECT_EQ(national_holiday_name(date), expected) << date.toString(Qt::ISODate).toStdString();
  }
}

TEST(BankCalendar, KeepsTheOneOffAndMovedHolidaysOfTheirYears) {
  const struct {
    QDate date;
    const char16_t* name;  // nullptr: no holiday
  } cases[] = {
      {QDate(2019, 4, 30), u"国民の休日"}, {QDate(2019, 5, 1), u"即位の日"},
      {QDate(2019, 5, 2), u"国民の休日"},  {QDate(2019, 10, 22), u"即位礼正殿の儀"},
      {QDate(2019, 2, 23), nullptr},       {QDate(2018, 12, 23), u"天皇誕生日"},
      {QDate(2018, 12, 24), u"振替休日"},  {QDate(2020, 7, 20), nullptr},
      {QDate(2020, 7, 23), u"海の日"},     {QDate(2020, 7, 24), u"スポーツの日"},
      {QDate(2020, 8, 10), u"山の日"},     {QDate(2020, 8, 11), nullptr},
      {QDate(2020, 10, 12), nullptr},      {QDate(2021, 8, 8), u"山の日"},
      {QDate(2021, 8, 9), u"振替休日"},    {QDate(2015, 9, 22), u"国民の休日"},
      {QDate(2015, 8, 11), nullptr},       {QDate(2030, 3, 20), u"春分の日"},
      {QDate(2032, 9, 21), u"国民の休日"}, {QDate(2032, 9, 22), u"秋分の日"},
  };
  for (const auto& c : cases) {
    const std::optional<QString> expected =
        c.name ? std::optional(QString::fromUtf16(c.name)) : std::nullopt;
    EXPECT_EQ(national_holiday_name(c.date), expected)
        << c.date.toString(Qt::ISODate).toStdString();
  }
}

TEST(BankCalendar, BanksCloseOnWeekendsHolidaysAndTheYearEnd) {
  EXPECT_EQ(bank_closed_warning(QDate(2027, 1, 1)), u"銀行休業日です（元日）"_qs);
  EXPECT_EQ(bank_closed_warning(QDate(2027, 1, 2)), u"銀行休業日です（年末年始）"_qs);
  EXPECT_EQ(bank_closed_warning(QDate(2026, 1, 2)), u"銀行休業日です（年末年始）"_qs);
  EXPECT_EQ(bank_closed_warning(QDate(2026, 1, 3)), u"銀行休業日です（年末年始）"_qs);
  EXPECT_EQ(bank_closed_warning(QDate(2026, 12, 31)), u"銀行休業日です（年末年始）"_qs);
  EXPECT_EQ(bank_closed_warning(QDate(2026, 12, 30)), QString());
  EXPECT_EQ(bank_closed_warning(QDate(2027, 1, 4)), QString());
  EXPECT_EQ(bank_closed_warning(QDate(2026, 12, 5)), u"銀行休業日です（土曜日）"_qs);
  EXPECT_EQ(bank_closed_warning(QDate(2026, 12, 6)), u"銀行休業日です（日曜日）"_qs);
  // A holiday on a Sunday is told by its name.
  EXPECT_EQ(bank_closed_warning(QDate(2027, 3, 21)), u"銀行休業日です（春分の日）"_qs);
  EXPECT_EQ(bank_closed_warning(QDate()), QString());
}

TEST(BankCalendar, TellsTheDayInFullWithItsWeekday) {
  EXPECT_EQ(full_date_text(QDate(2027, 1, 4)), u"2027年1月4日（月）"_qs);
  EXPECT_EQ(full_date_text(QDate(2026, 12, 13)), u"2026年12月13日（日）"_qs);
}

TEST(BankCalendar, AMonthAndDayMeanTheNextSuchDayFromToday) {
  const QDate today(2026, 12, 7);
  EXPECT_EQ(next_date_of(12, 7, today), today);
  EXPECT_EQ(next_date_of(1, 1, today), QDate(2027, 1, 1));
  EXPECT_EQ(next_date_of(12, 6, today), QDate(2027, 12, 6));
  EXPECT_EQ(next_date_of(2, 29, today), QDate(2028, 2, 29));
  EXPECT_EQ(next_date_of(2, 30, today), std::nullopt);
  EXPECT_EQ(next_date_of(13, 1, today), std::nullopt);
  EXPECT_EQ(next_date_of(0, 0, today), std::nullopt);
}

}  // namespace
}  // namespace tsubakuro
