#include "core/log/last_run.h"

#include <gtest/gtest.h>

#include <QDir>

#include "core/log/conversion_log.h"
#include "core/log/log_messages.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::ScopedWorkingDir;
using testing::write_file;

const QDateTime kStart(QDate(2026, 4, 24), QTime(9, 5, 7));
const QDateTime kEnd(QDate(2026, 4, 24), QTime(9, 5, 9));

// Writes a log as a run writes it: the title, the start marker, the messages,
// and the closing marker when there is one.
void write_log(const QString& company, TransferKind kind, const QStringList& messages,
               const QString& closing = log_end_marker()) {
  ConversionLog log(company + QStringLiteral(".log"));
  ASSERT_TRUE(log.reset_log());
  ASSERT_TRUE(log.append_log(log_title(company, QStringLiteral("ｻﾝﾌﾟﾙ"), kind)));
  ASSERT_TRUE(log.append_log(log_start_marker() + u' ' + log_timestamp(kStart)));
  for (const QString& message : messages) ASSERT_TRUE(log.append_log(message));
  if (!closing.isEmpty()) {
    ASSERT_TRUE(log.append_log(closing + u' ' + log_timestamp(kEnd)));
  }
  ASSERT_TRUE(log.commit());
}

TEST(LastRun, CountsTheErrorsApartFromTheNotesOfMendedNamesAndWarnings) {
  ScopedWorkingDir dir;
  const FieldTable names = builtin_field_names();
  // A company name with a colon: the kind is the title's last word.
  const QString company = QStringLiteral("東京:本社");
  write_log(company, TransferKind::Debit,
            {compose_field_error(names, TransferKind::Debit, false, 2, 7, 20),
             compose_field_correction(names, TransferKind::Debit, false, 2, 9, 12, u"ﾔﾏﾀﾞ ﾊﾅｺ",
                                      u"やまだ　はなこ"),
             compose_name_difference(names, TransferKind::Debit, false, 2, 3, 3, u"ﾐﾅﾄ", u"ﾐｽﾞﾎ"),
             no_data_error()});
  const Result<std::optional<LastRun>> read = read_last_run(company + QStringLiteral(".log"));
  ASSERT_TRUE(read) << read.message().toStdString();
  ASSERT_TRUE(read->has_value());
  const LastRun& run = **read;
  EXPECT_EQ(run.kind, TransferKind::Debit);
  EXPECT_EQ(run.started, kStart);
  EXPECT_EQ(run.ended, kEnd);
  EXPECT_FALSE(run.cancelled);
  EXPECT_EQ(run.errors, 2);
  EXPECT_EQ(run.corrections, 1);
  EXPECT_EQ(run.warnings, 1);
}

TEST(LastRun, ACancelledRunIsToldAsOneAndAnEmptyRunHasNoErrors) {
  ScopedWorkingDir dir;
  write_log(QStringLiteral("a"), TransferKind::Credit, {}, log_cancel_marker());
  const Result<std::optional<LastRun>> cancelled = read_last_run(QStringLiteral("a.log"));
  ASSERT_TRUE(cancelled && cancelled->has_value());
  EXPECT_TRUE((*cancelled)->cancelled);
  EXPECT_EQ((*cancelled)->ended, kEnd);
  EXPECT_EQ((*cancelled)->errors, 0);

  write_log(QStringLiteral("b"), TransferKind::Credit, {});
  const Result<std::optional<LastRun>> clean = read_last_run(QStringLiteral("b.log"));
  ASSERT_TRUE(clean && clean->has_value());
  EXPECT_FALSE((*clean)->cancelled);
  EXPECT_EQ((*clean)->errors, 0);
  EXPECT_EQ((*clean)->kind, TransferKind::Credit);
}

// Only a whole run is told: a log edited by hand or cut short is no run, and a
// log that is there but cannot be read is said to be so, never taken for none.
TEST(LastRun, NothingIsToldOfAMissingOrPartialLogAndAnUnreadableOneFails) {
  ScopedWorkingDir dir;
  const Result<std::optional<LastRun>> missing = read_last_run(QStringLiteral("none.log"));
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing->has_value());

  write_log(QStringLiteral("open"), TransferKind::Credit, {QStringLiteral("x")}, QString());
  write_file(QStringLiteral("notitle.log"), "\"hello\"\r\n\"world\"\r\n");
  write_file(QStringLiteral("empty.log"), "");
  for (const char* file : {"open.log", "notitle.log", "empty.log"}) {
    const Result<std::optional<LastRun>> read = read_last_run(QString::fromUtf8(file));
    ASSERT_TRUE(read) << file;
    EXPECT_FALSE(read->has_value()) << file;
  }

  ASSERT_TRUE(QDir().mkdir(QStringLiteral("folder.log")));
  EXPECT_TRUE(read_last_run(QStringLiteral("folder.log")).failed());
}

}  // namespace
}  // namespace tsubakuro
