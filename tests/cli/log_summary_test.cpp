#include "cli/log_summary.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tsubakuro::cli {
namespace {

using testing::ScopedWorkingDir;
using testing::write_cp932_file;

TEST(LogSummary, TakesTheLinesBetweenTheOpeningLinesAndTheClosingMarker) {
  ScopedWorkingDir dir;
  QString log = QStringLiteral("\"商事【ｼｮｳｼﾞ】:振込\"\r\n\"★★変換開始★★ 2026/04/01 9:05:00\"\r\n");
  for (int row = 1; row <= 25; ++row)
    log += QStringLiteral("\"ボディ：%1件目の[9]預金者名が正しくありません。\"\r\n")
               .arg(row, 6, 10, QLatin1Char('0'));
  log += QStringLiteral("\"★★変換終了★★ 2026/04/01 9:05:01\"\r\n");
  write_cp932_file(QStringLiteral("商事.log"), log);

  const FieldErrorSummary summary = summarize_field_errors(QStringLiteral("商事.log"), 20);
  EXPECT_EQ(summary.total, 25);
  ASSERT_EQ(summary.first.size(), 20);
  EXPECT_EQ(summary.first.front(),
            QStringLiteral("ボディ：000001件目の[9]預金者名が正しくありません。"));
  EXPECT_EQ(summary.first.back(),
            QStringLiteral("ボディ：000020件目の[9]預金者名が正しくありません。"));
}

TEST(LogSummary, ARunWithoutErrorsOrWithoutALogHasNone) {
  ScopedWorkingDir dir;
  write_cp932_file(QStringLiteral("商事.log"),
                   QStringLiteral("\"商事【】:振替\"\r\n\"★★変換開始★★ 2026/04/01 9:05:00\"\r\n"
                                  "\"★★変換終了★★ 2026/04/01 9:05:00\"\r\n"));
  EXPECT_EQ(summarize_field_errors(QStringLiteral("商事.log"), 20).total, 0);
  EXPECT_EQ(summarize_field_errors(QStringLiteral("無い.log"), 20).total, 0);
}

}  // namespace
}  // namespace tsubakuro::cli
