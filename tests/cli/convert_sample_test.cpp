#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "convert_process.h"
#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

const QString kSettings = QStringLiteral("サンプル商事.cfg");
const QString kLog = QStringLiteral("サンプル商事.log");

// The run's date and time as the expected logs hold them.
QByteArray masked_log(const QByteArray& log) {
  static const QRegularExpression kStamp(
      QStringLiteral("\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}:\\d{2}"));
  return encode_cp932(decode_cp932(log).replace(kStamp, QStringLiteral("YYYY/MM/DD H:MM:SS")))
      .bytes;
}

QByteArray expected(const QString& relative) {
  return read_file(source_path(QStringLiteral("tests/data/cli/") + relative));
}

QStringList settings_lines() {
  QStringList lines = decode_cp932(read_file(kSettings)).split(QStringLiteral("\r\n"));
  lines.removeLast();  // after the last CR LF
  return lines;
}

// Line numbers count from 1, as in the settings file's layout.
void set_settings_line(int number, const QString& value) {
  QStringList lines = settings_lines();
  lines[number - 1] = value;
  write_cp932_file(kSettings, lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

class ConvertSample : public ::testing::Test {
 protected:
  void SetUp() override { copy_sample_company(); }
  ScopedWorkingDir dir_;
};

TEST_F(ConvertSample, CreditListWithWrongRowsGivesTheBankFileAndNamesTheLog) {
  const QByteArray system_settings = read_file(QStringLiteral("tbk.ini"));
  const ConvertProcessResult result = run_tsubakuro_convert({});

  EXPECT_EQ(result.exit_code, 1) << result.standard_error.toStdString();
  EXPECT_EQ(read_file(QStringLiteral("FURIKOMI.DAT")), expected("sample_credit/FURIKOMI.DAT"));
  EXPECT_EQ(masked_log(read_file(kLog)), expected("sample_credit/サンプル商事.log"));
  const QString& out = result.standard_output;
  EXPECT_TRUE(out.contains(QStringLiteral("変換エラーがあります。"))) << out.toStdString();
  EXPECT_TRUE(out.contains(kLog));
  EXPECT_TRUE(out.contains(QStringLiteral("ボディ：000012件目の[9]預金者名が正しくありません。")));
  EXPECT_TRUE(out.contains(QStringLiteral("合計件数: 30件")));
  EXPECT_TRUE(out.contains(QStringLiteral("合計金額: 8,261,080円")));
  EXPECT_FALSE(out.contains(QStringLiteral("変換が終了しました。")));
  EXPECT_EQ(read_file(QStringLiteral("tbk.ini")), system_settings) << "only the desktop writes it";
}

TEST_F(ConvertSample, DebitListFinishesCleanlyAndDropsItsTotalRow) {
  const ConvertProcessResult result = run_tsubakuro_convert({QStringLiteral("--kind=振替")});

  EXPECT_EQ(result.exit_code, 0) << result.standard_error.toStdString();
  EXPECT_EQ(read_file(QStringLiteral("FURIKAE.DAT")), expected("sample_debit/FURIKAE.DAT"));
  EXPECT_EQ(masked_log(read_file(kLog)), expected("sample_debit/サンプル商事.log"));
  EXPECT_TRUE(result.standard_output.contains(QStringLiteral("変換が終了しました。")));
  EXPECT_TRUE(result.standard_output.contains(QStringLiteral("合計件数: 24件")));
  EXPECT_TRUE(result.standard_output.contains(QStringLiteral("合計金額: 136,400円")));
  EXPECT_FALSE(QFile::exists(QStringLiteral("FURIKOMI.DAT")));
}

TEST_F(ConvertSample, WorksInTheFolderGivenWithDir) {
  const QString folder = QDir::currentPath();
  QDir().mkdir(QStringLiteral("elsewhere"));
  QDir::setCurrent(QStringLiteral("elsewhere"));
  const ConvertProcessResult result = run_tsubakuro_convert(
      {QStringLiteral("--dir"), folder, QStringLiteral("--company"), QStringLiteral("サンプル商事"),
       QStringLiteral("--kind"), QStringLiteral("振替")});
  QDir::setCurrent(folder);

  EXPECT_EQ(result.exit_code, 0) << result.standard_error.toStdString();
  EXPECT_EQ(read_file(QStringLiteral("FURIKAE.DAT")), expected("sample_debit/FURIKAE.DAT"));
  EXPECT_TRUE(QDir(QStringLiteral("elsewhere")).isEmpty());
}

TEST_F(ConvertSample, DateIsSavedInTheKindsHeaderBeforeTheRun) {
  const QStringList before = settings_lines();
  const ConvertProcessResult result =
      run_tsubakuro_convert({QStringLiteral("--kind"), QStringLiteral("振替"),
                             QStringLiteral("--date"), QStringLiteral("4/5")});

  EXPECT_EQ(result.exit_code, 0) << result.standard_error.toStdString();
  QStringList after = settings_lines();
  ASSERT_EQ(after.size(), 70);
  EXPECT_EQ(after[36], QStringLiteral("\"0405\""));  // 振替指定日, line 37
  after[36] = before[36];
  EXPECT_EQ(after, before) << "nothing else changes, 振込's date included";
  // The header's 振替指定日 stands at positions 55 to 58.
  EXPECT_EQ(read_file(QStringLiteral("FURIKAE.DAT")).mid(54, 4), QByteArray("0405"));
}

TEST_F(ConvertSample, KindNotInUseIsRefusedBeforeAnythingIsWritten) {
  set_settings_line(60, QStringLiteral("0"));  // 振替 not in use
  const QByteArray settings = read_file(kSettings);
  const ConvertProcessResult result =
      run_tsubakuro_convert({QStringLiteral("--kind"), QStringLiteral("振替"),
                             QStringLiteral("--date"), QStringLiteral("0501")});

  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(
      QStringLiteral("環境設定にて、使用するにチェックが入っていません。")))
      << result.standard_error.toStdString();
  EXPECT_EQ(read_file(kSettings), settings);
  EXPECT_FALSE(QFile::exists(QStringLiteral("FURIKAE.DAT")));
  EXPECT_FALSE(QFile::exists(kLog));
}

TEST_F(ConvertSample, MissingCompanySettingsConvertNothing) {
  const ConvertProcessResult result =
      run_tsubakuro_convert({QStringLiteral("--company"), QStringLiteral("架空物産")});

  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("会社別CFGファイルが存在しません")))
      << result.standard_error.toStdString();
  EXPECT_FALSE(QFile::exists(QStringLiteral("架空物産.log")));
  EXPECT_FALSE(QFile::exists(QStringLiteral("FURIKOMI.DAT")));
}

TEST_F(ConvertSample, CompanyNameThatLeavesTheFolderIsRefused) {
  QDir().mkdir(QStringLiteral("inner"));
  const ConvertProcessResult result = run_tsubakuro_convert(
      {QStringLiteral("--dir=inner"), QStringLiteral("--company=../サンプル商事")});

  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("会社名に使えない文字")))
      << result.standard_error.toStdString();
  EXPECT_FALSE(QFile::exists(QStringLiteral("FURIKOMI.DAT")));
  EXPECT_FALSE(QFile::exists(QStringLiteral("inner/FURIKOMI.DAT")));
}

TEST_F(ConvertSample, MissingInputLeavesTheLastBankFileAlone) {
  QFile::remove(QStringLiteral("振込データ.csv"));
  write_file(QStringLiteral("FURIKOMI.DAT"), "last month's file");
  const ConvertProcessResult result = run_tsubakuro_convert({});

  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("入力ファイルが存在しません。")))
      << result.standard_error.toStdString();
  EXPECT_EQ(read_file(QStringLiteral("FURIKOMI.DAT")), QByteArray("last month's file"));
  EXPECT_FALSE(result.standard_output.contains(QStringLiteral("変換が終了しました。")));
}

TEST_F(ConvertSample, OutputThatCannotBeWrittenIsNoConversion) {
  set_settings_line(2, QStringLiteral("\"no such folder/FURIKOMI.DAT\""));
  const ConvertProcessResult result = run_tsubakuro_convert({});

  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.standard_error.contains(QStringLiteral("FURIKOMI.DAT")))
      << result.standard_error.toStdString();
  EXPECT_FALSE(result.standard_output.contains(QStringLiteral("変換が終了しました。")));
  EXPECT_FALSE(result.standard_output.contains(QStringLiteral("変換エラーがあります。")));
}

}  // namespace
}  // namespace tsubakuro::testing
