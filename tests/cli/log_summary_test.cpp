#include "cli/log_summary.h"

#include <gtest/gtest.h>

#include "core/log/log_messages.h"
#include "run_fixture.h"

namespace tsubakuro::cli {
namespace {

using namespace Qt::StringLiterals;
using testing::RunFixture;
using testing::write_cp932_file;

// The summary as a reader of the log would make it: the lines between the two
// opening lines and the closing marker, notes and warnings counted apart.
FieldErrorSummary read_back(const QStringList& log_lines, int shown) {
  FieldErrorSummary summary;
  for (const QString& line : log_lines.mid(2, log_lines.size() - 3)) {
    if (line.startsWith(QStringView(kCorrectionPrefix))) {
      ++summary.corrections;
    } else if (line.startsWith(QStringView(kWarningPrefix))) {
      ++summary.warnings;
    } else {
      if (summary.total < shown) summary.first.append(line);
      ++summary.total;
    }
  }
  return summary;
}

// Rows the quick build takes and rows it leaves to the general build, wrong in
// their fields, mended by the rules, named otherwise than the bank list names
// them, and lines the run itself complains of: the run's own count is what its
// log holds, without reading the log back.
TEST(LogSummary, IsWhatTheRunLogged) {
  RunFixture fixture;
  fixture.system.bank_rules = BankRules::all_on();
  QString list;
  for (int row = 1; row <= 50; ++row) {
    switch (row % 5) {
      case 0:  // the account number wrong: the quick build's error
        list += u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,12345X7,ﾀﾅｶ,100,,,,,\r\n"_s;
        break;
      case 1:  // a full-width name, mended
        list += u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,タナカ　タロウ,100,,,,,\r\n"_s;
        break;
      case 2:  // another bank's name for the code: a warning
        list += u"1,ﾐﾅﾄｷﾞﾝｺｳ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,\r\n"_s;
        break;
      case 3:  // a name of kanji: an error with its reason
        list += u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,田中,100,,,,,\r\n"_s;
        break;
      default:  // a column too many
        list += u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,,x\r\n"_s;
    }
  }
  // A quote never closed: the run's own complaint.
  list += u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,\"ﾀﾅｶ,100,,,,,\r\n"_s;
  write_cp932_file(u"in.csv"_s, list);
  auto run = fixture.make_run();
  run->set_bank_list(BankList::parse(u"#zengin-code\t1\t2025-01-31\n0001\tﾐｽﾞﾎ\tみずほ\n"
                                     u"001\tﾎﾝﾃﾝ\t本店\n"_s)
                         .value());
  fixture.run_all(*run);
  ASSERT_TRUE(run->result().ok());

  const FieldErrorSummary expected = read_back(fixture.log_lines(), 20);
  const FieldErrorSummary summary = summarize_field_errors(*run, 20);
  EXPECT_GT(expected.total, 20);
  EXPECT_GT(expected.corrections, 0);
  EXPECT_GT(expected.warnings, 0);
  EXPECT_EQ(summary.first, expected.first);
  EXPECT_EQ(summary.total, expected.total);
  EXPECT_EQ(summary.corrections, expected.corrections);
  EXPECT_EQ(summary.warnings, expected.warnings);
  EXPECT_EQ(summarize_field_errors(*run, 3).first, expected.first.first(3));
}

TEST(LogSummary, ARunWithoutErrorsHasNone) {
  RunFixture fixture;
  write_cp932_file(u"in.csv"_s, u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,\r\n"_s);
  auto run = fixture.make_run();
  fixture.run_all(*run);
  ASSERT_TRUE(run->result().ok());
  const FieldErrorSummary summary = summarize_field_errors(*run, 20);
  EXPECT_EQ(summary.total, 0);
  EXPECT_TRUE(summary.first.isEmpty());
  EXPECT_EQ(summary.corrections + summary.warnings, 0);
}

}  // namespace
}  // namespace tsubakuro::cli
