#include "core/zengin/transfer_date.h"

#include <gtest/gtest.h>

namespace tsubakuro {
namespace {

TEST(TransferDate, KeepsTheLastTwoCharactersOfEachPartAfterLeadingZeros) {
  struct Typed {
    const char16_t* month;
    const char16_t* day;
    const char16_t* stored;
  };
  for (const Typed& t : std::initializer_list<Typed>{
           {u"4", u"5", u"0405"},
           {u"12", u"1", u"1201"},
           {u"", u"", u"0000"},
           // Nothing is checked: the header's date check logs what is no date.
           {u"13", u"40", u"1340"},
           {u"a", u"ｲ", u"0a0ｲ"},
       }) {
    const TransferDate date = TransferDate::typed(t.month, t.day);
    EXPECT_EQ(date.stored(), QStringView(t.stored)) << date.stored().toStdString();
    // What was stored reads back as the same date, and the prompt shows it again.
    EXPECT_EQ(TransferDate::from_stored(date.stored()), date) << date.stored().toStdString();
    EXPECT_EQ(date.month() + date.day(), date.stored());
    EXPECT_EQ(date.field(), date.stored());
  }
}

// A date edited by hand in the company's settings need not be four characters:
// it is saved and shown back as it is, and only the header pads it.
TEST(TransferDate, KeepsAStoredTextAsItIsAndPadsEachHalfForTheHeader) {
  struct Stored {
    const char16_t* stored;
    const char16_t* month;
    const char16_t* day;
    const char16_t* field;
    bool calendar_day;
  };
  for (const Stored& s : std::initializer_list<Stored>{
           {u"0425", u"04", u"25", u"0425", true},
           {u"5", u"5", u"5", u"0505", true},
           {u"123", u"12", u"23", u"1223", true},
           {u"12345", u"12", u"45", u"1245", false},
           {u"", u"", u"", u"0000", false},
           {u"0229", u"02", u"29", u"0229", true},
           {u"0230", u"02", u"30", u"0230", false},
           {u"0a0ｲ", u"0a", u"0ｲ", u"0a0ｲ", false},
       }) {
    const TransferDate date = TransferDate::from_stored(QString::fromUtf16(s.stored));
    const std::string shown = date.stored().toStdString();
    EXPECT_EQ(date.stored(), QStringView(s.stored)) << shown;
    EXPECT_EQ(date.month(), QStringView(s.month)) << shown;
    EXPECT_EQ(date.day(), QStringView(s.day)) << shown;
    EXPECT_EQ(date.field(), QStringView(s.field)) << shown;
    EXPECT_EQ(date.is_calendar_day(), s.calendar_day) << shown;
  }
}

TEST(TransferDate, TakesTheNextDayWithItsMonthAndDayFromToday) {
  const QDate new_years_eve(2026, 12, 31);
  struct Resolution {
    const char16_t* stored;
    QDate today;
    QDate day;  // invalid: none
  };
  for (const Resolution& r : std::initializer_list<Resolution>{
           {u"1231", new_years_eve, QDate(2026, 12, 31)},
           {u"0101", new_years_eve, QDate(2027, 1, 1)},
           {u"1230", new_years_eve, QDate(2027, 12, 30)},
           {u"0229", new_years_eve, QDate(2028, 2, 29)},
           {u"0105", QDate(2027, 1, 4), QDate(2027, 1, 5)},
           {u"1225", QDate(2027, 1, 4), QDate(2027, 12, 25)},
           {u"0230", new_years_eve, QDate()},
           {u"1340", new_years_eve, QDate()},
           // The header reads these as 1223 and 0505, but only four digits name a day.
           {u"123", new_years_eve, QDate()},
           {u"5", new_years_eve, QDate()},
           {u"", new_years_eve, QDate()},
       }) {
    const TransferDate date = TransferDate::from_stored(QString::fromUtf16(r.stored));
    const std::optional<QDate> day = date.resolved(r.today).date();
    EXPECT_EQ(day.value_or(QDate()), r.day) << date.stored().toStdString();
    EXPECT_EQ(date.resolved(r.today).stored(), date.stored());
  }
  EXPECT_FALSE(TransferDate::from_stored(QStringLiteral("0101")).date()) << "not yet resolved";
}

TEST(TransferDate, KnowsItsWeekdayAndWhyBanksAreClosed) {
  struct Known {
    const char16_t* stored;
    QDate today;
    Qt::DayOfWeek weekday;
    const char16_t* closed;  // nullptr: banks work
    const char16_t* full_text;
  };
  for (const Known& k : std::initializer_list<Known>{
           {u"0101", QDate(2026, 12, 31), Qt::Friday, u"元日", u"2027年1月1日（金）"},
           {u"0103", QDate(2026, 12, 31), Qt::Sunday, u"年末年始", u"2027年1月3日（日）"},
           {u"0104", QDate(2026, 12, 31), Qt::Monday, nullptr, u"2027年1月4日（月）"},
           {u"1205", QDate(2026, 12, 1), Qt::Saturday, u"土曜日", u"2026年12月5日（土）"},
           {u"0321", QDate(2027, 3, 1), Qt::Sunday, u"春分の日", u"2027年3月21日（日）"},
       }) {
    const TransferDate date =
        TransferDate::from_stored(QString::fromUtf16(k.stored)).resolved(k.today);
    const std::string shown = date.stored().toStdString();
    EXPECT_EQ(date.weekday(), k.weekday) << shown;
    EXPECT_EQ(date.full_text(), QStringView(k.full_text)) << shown;
    if (k.closed == nullptr) {
      EXPECT_FALSE(date.bank_closed_reason()) << shown;
      EXPECT_EQ(date.bank_closed_warning(), QString()) << shown;
    } else {
      EXPECT_EQ(date.bank_closed_reason(), QString::fromUtf16(k.closed)) << shown;
      EXPECT_EQ(date.bank_closed_warning(),
                QStringLiteral("銀行休業日です（%1）").arg(QString::fromUtf16(k.closed)))
          << shown;
    }
  }
  // Without a day the prompt shows nothing, not a guess.
  const TransferDate no_day =
      TransferDate::from_stored(QStringLiteral("0230")).resolved(QDate(2027, 1, 4));
  EXPECT_FALSE(no_day.weekday());
  EXPECT_FALSE(no_day.bank_closed_reason());
  EXPECT_EQ(no_day.full_text(), QString());
  EXPECT_EQ(no_day.bank_closed_warning(), QString());
}

}  // namespace
}  // namespace tsubakuro
