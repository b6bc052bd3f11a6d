#include "core/workbook/cell_format.h"

#include <gtest/gtest.h>

#include "result_checks.h"

namespace tsubakuro {
namespace {

using testing::failure_kind;

TEST(CellFormat, FormatCodesByWhatTheSuiteWritesForThem) {
  const struct {
    const char* code;
    CellFormat format;
  } cases[] = {
      {"General", CellFormat::Number},
      {"#,##0", CellFormat::Number},
      {"[$¥-411]#,##0", CellFormat::Number},
      {"0.0%", CellFormat::Percent},
      {"yyyy/mm/dd", CellFormat::Date},
      {"yyyy\"年\"m\"月\"d\"日\"", CellFormat::Date},
      {"[$-411]ggge\"年\"m\"月\"d\"日\"", CellFormat::Date},
      {"yyyy/m/d h:mm", CellFormat::DateTime},
      {"h:mm:ss", CellFormat::Time},
      {"hh:mm:ss.00", CellFormat::Time},
      // English: the suite writes it in the form of that language.
      {"[$-409]m/d/yyyy", CellFormat::EnglishDate},
      {"[$-409]m/d/yyyy h:mm AM/PM", CellFormat::EnglishDateTime},
      {"[$-409]h:mm:ss AM/PM", CellFormat::EnglishTime},
      {"[$-0409]h:mm", CellFormat::EnglishTime},
      // ISO 8601 dates, however the hyphens are written, keep their form.
      {"yyyy-mm-dd", CellFormat::IsoDate},
      {"yy-m-d", CellFormat::IsoDate},
      {"yyyy\\-mm\\-dd", CellFormat::IsoDate},
      {"yyyy\"-\"mm\"-\"dd", CellFormat::IsoDate},
      {"[$-409]yyyy-mm-dd", CellFormat::IsoDate},
      {"yyyy-mm-dd hh:mm:ss", CellFormat::IsoDateTime},
      {"yyyy-mm-dd;@", CellFormat::IsoDate},
      {"yyyy-mm", CellFormat::Date},
      {"yyyy-mm-ddd", CellFormat::Date},
      {"dd-mm-yyyy", CellFormat::Date},
      // Left to the suite: other languages, numerals of another script, elapsed times,
      // exponents and fractions.
      {"[$-804]yyyy/m/d", CellFormat::Unknown},
      {"[$-F800]dddd, mmmm dd, yyyy", CellFormat::Unknown},
      {"[$-ja-JP-x-gannen]ggge年", CellFormat::Unknown},
      {"[DBNum1]yyyy/m/d", CellFormat::Unknown},
      {"[h]:mm:ss", CellFormat::Unknown},
      {"0.00E+00", CellFormat::Unknown},
      {"# ?/?", CellFormat::Unknown},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(classify_format_code(QString::fromUtf8(c.code)), c.format) << c.code;
  }
}

TEST(CellFormat, SerialDayNumbersAsTheSuiteEditsThem) {
  const double day = 45757;  // 2025-04-10
  const double morning = day + (9 * 3600 + 5 * 60 + 7.25) / 86400;
  const struct {
    double serial;
    CellFormat format;
    const char* text;
  } cases[] = {
      {day, CellFormat::Date, "2025/04/10"},
      // A date format keeps the time of day the cell has, to the second.
      {morning, CellFormat::Date, "2025/4/10 9:05:07"},
      {day, CellFormat::DateTime, "2025/4/10 0:00:00"},
      {day, CellFormat::EnglishDate, "04/10/2025"},
      {morning, CellFormat::EnglishDate, "04/10/2025 09:05:07"},
      {day, CellFormat::IsoDate, "2025-04-10"},
      {morning, CellFormat::IsoDate, "2025-04-10 09:05:07"},
      {day, CellFormat::IsoDateTime, "2025-04-10 00:00:00"},
      {morning - day, CellFormat::Time, "09:05:07.25"},
      {0.75, CellFormat::EnglishTime, "06:00:00 PM"},
  };
  for (const auto& c : cases) {
    QByteArray out;
    const Result<void> appended = append_serial(out, c.serial, c.format, false);
    EXPECT_EQ(failure_kind(appended), std::nullopt) << c.text;
    EXPECT_EQ(out, c.text);
  }
  QByteArray out;
  EXPECT_EQ(failure_kind(append_serial(out, 1.5, CellFormat::Time, false)),
            Failure::Kind::Unsupported);
  EXPECT_EQ(failure_kind(append_serial(out, 3'000'000, CellFormat::Date, false)),
            Failure::Kind::Unsupported);
  EXPECT_EQ(failure_kind(append_serial(out, 0, CellFormat::IsoDate, true)), std::nullopt);
  EXPECT_EQ(out, "1904-01-01");
}

}  // namespace
}  // namespace tsubakuro
