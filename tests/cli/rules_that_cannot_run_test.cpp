// A bank rule the user asked for is never dropped in silence: a settings file that
// cannot be read, or a bank list that is missing, stops the conversion with status
// 2 before any file is touched.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "convert_process.h"
#include "reliability_support.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

const QString kSettings = QStringLiteral("tsubakuro.ini");

// The list names bank 9999, which the code check refuses: a run that went on
// without the check would end with status 0.
void write_unknown_bank_list() {
  write_cp932_file(
      QString::fromUtf8(kSampleCreditList),
      QStringLiteral("銀行コード,銀行名,支店コード,支店名,預金種目,口座番号,名義,金額\r\n"
                     "9999,ﾐｽﾞﾎ,001,ﾄｳｷﾖｳ,1,1234567,ﾔﾏﾀﾞ ﾀﾛｳ,1000\r\n"));
}

class RulesThatCannotRun : public ::testing::Test {
 protected:
  void SetUp() override {
    copy_sample_company();
    write_unknown_bank_list();
  }

  // Converts with a new date, which the run would store first, and asks that
  // it stopped with status 2, saying `said`, and nothing in the folder changed.
  void expect_refused(const QStringList& said, const QString& converter = {}) {
    const auto before = folder_snapshot();
    ConvertProcessResult result;
    if (converter.isEmpty()) {
      result = run_tsubakuro_convert({QStringLiteral("--date"), QStringLiteral("1201")});
    } else {
      QProcess process;
      process.start(converter, {QStringLiteral("--date"), QStringLiteral("1201")});
      ASSERT_TRUE(process.waitForFinished(60'000));
      result = {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    const std::string output = (result.standard_output + result.standard_error).toStdString();
    EXPECT_EQ(result.exit_code, 2) << output;
    for (const QString& words : said)
      EXPECT_TRUE((result.standard_output + result.standard_error).contains(words))
          << words.toStdString() << " not in: " << output;
    EXPECT_EQ(changed_files(before, folder_snapshot()).join(u", ").toStdString(), "");
  }

  ScopedWorkingDir dir_;
};

TEST_F(RulesThatCannotRun, ASettingsFileThatCannotBeReadStopsTheConversion) {
  write_file(kSettings, "[bank_rules]\ncheck_codes=ture\n");
  expect_refused(
      {QStringLiteral("tsubakuro.ini"), QStringLiteral("check_codes"), QStringLiteral("「ture」")});
  write_file(kSettings, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  expect_refused({QStringLiteral("tsubakuro.ini"), QStringLiteral("テキストではありません")});
  QFile::remove(kSettings);
  ASSERT_TRUE(QDir().mkdir(kSettings));
  expect_refused({QStringLiteral("tsubakuro.ini"), QStringLiteral("フォルダです")});
}

// "off" and "no" once turned the rule on; and a missing file turns every rule off.
TEST_F(RulesThatCannotRun, OffAndAMissingFileMeanOff) {
  write_file(kSettings, "[bank_rules]\ncheck_codes=off\n");
  EXPECT_EQ(run_tsubakuro_convert({}).exit_code, 0);
  write_file(kSettings, "[bank_rules]\ncheck_codes=YES\n");
  EXPECT_EQ(run_tsubakuro_convert({}).exit_code, 1);
  QFile::remove(kSettings);
  EXPECT_EQ(run_tsubakuro_convert({}).exit_code, 0);
}

// The first list the program finds is its list: a damaged one is told, not
// passed over.
TEST_F(RulesThatCannotRun, TheCodeCheckWithADamagedBankListStopsTheConversion) {
  QTemporaryDir programs;
  const QString converter = programs.filePath(QStringLiteral("tsubakuro-convert"));
  ASSERT_TRUE(QFile::copy(binary_path(QStringLiteral("tsubakuro-convert")), converter));
  QFile::setPermissions(converter, QFile::ReadOwner | QFile::ExeOwner);
  write_file(programs.filePath(QStringLiteral("banks.tsv")), "no bank in here\n");

  write_file(kSettings, "[bank_rules]\ncheck_codes=true\n");
  expect_refused({programs.filePath(QStringLiteral("banks.tsv")), QStringLiteral("check_codes")},
                 converter);
  // Without the check the list is not needed.
  write_file(kSettings, "[bank_rules]\ncheck_characters=true\n");
  QProcess process;
  process.start(converter, {QStringLiteral("--check-characters"), QStringLiteral("off")});
  ASSERT_TRUE(process.waitForFinished(60'000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAll().toStdString();
}

}  // namespace
}  // namespace tsubakuro::testing
