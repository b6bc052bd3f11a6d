#include "core/conversion/run_files.h"

#include <gtest/gtest.h>

#include <QFile>

#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

TEST(RunFiles, AWorkbookIsReadFromItsTextFile) {
  EXPECT_EQ(run_input_file("支払.xls"), "tbk.tmp");
  EXPECT_EQ(run_input_file("C:/data/SHIHARAI.XLS"), "tbk.tmp");
  EXPECT_EQ(run_input_file("list.xlsx"), "tbk.tmp");
  EXPECT_EQ(run_input_file("list.csv"), "list.csv");
  EXPECT_EQ(run_input_file("xls"), "xls");
  EXPECT_EQ(run_input_file("list.xls.csv"), "list.xls.csv");
}

// What a run stopped at each step of putting its pair in place leaves, and what
// the next conversion makes of it: always the bank file with its own log.
TEST(RunFiles, APairStoppedBetweenItsRenamesIsSettledByTheNextConversion) {
  const QByteArray old_log = "\"old\"\r\n";
  const QByteArray ended =
      encode_cp932(u"\"a\"\r\n\"★★変換終了★★ 2026/12/07 9:05:01\"\r\n"_qs).bytes;
  const QByteArray cancelled =
      encode_cp932(u"\"a\"\r\n\"★★キャンセル★★ 2026/12/07 9:05:01\"\r\n"_qs).bytes;
  const struct {
    const char* name;
    std::optional<QByteArray> bank_pending;
    QByteArray log_pending;
    QByteArray log_after;
  } kCases[] = {
      {"between the renames: the log follows its bank file", std::nullopt, ended, ended},
      {"a cancelled run's log, alone", std::nullopt, cancelled, cancelled},
      {"before the renames: the old pair stays", QByteArray("new bank"), ended, old_log},
      {"a log cut short is no run's log", std::nullopt, ended.first(ended.size() - 3), old_log},
  };
  for (const auto& c : kCases) {
    testing::ScopedWorkingDir dir;
    testing::write_file("out.dat", "bank");
    testing::write_file("c.log", old_log);
    if (c.bank_pending) testing::write_file(pending_file_name("out.dat"), *c.bank_pending);
    testing::write_file(pending_file_name("c.log"), c.log_pending);
    settle_pending_pair("out.dat", "c.log");
    EXPECT_EQ(testing::read_file("c.log"), c.log_after) << c.name;
    EXPECT_EQ(testing::read_file("out.dat"), "bank") << c.name;
    EXPECT_FALSE(QFile::exists(pending_file_name("out.dat"))) << c.name;
    EXPECT_FALSE(QFile::exists(pending_file_name("c.log"))) << c.name;
  }
}

}  // namespace
}  // namespace tsubakuro
