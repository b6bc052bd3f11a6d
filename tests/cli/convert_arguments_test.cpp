#include <gtest/gtest.h>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "convert_process.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

TEST(ConvertArguments, HelpExplainsOptionsAndExitStatusesInJapanese) {
  ScopedWorkingDir dir;
  const ConvertProcessResult result = run_tsubakuro_convert({QStringLiteral("--help")});
  EXPECT_EQ(result.exit_code, 0);
  for (const char* text : {"--dir", "--company", "--kind 振込|振替", "--date", "終了コード",
                           "変換エラーがあります", "会社別CFGファイル"})
    EXPECT_TRUE(result.standard_output.contains(QString::fromUtf8(text))) << text;
  EXPECT_TRUE(QDir().entryList(QDir::Files).isEmpty()) << "help touches no file";
}

TEST(ConvertArguments, VersionNamesTheReleaseAndTheDateOfTheBankList) {
  ScopedWorkingDir dir;
  // The shipped list's first line: "#zengin-code", the package version, the date.
  QFile list(source_path(QStringLiteral("data/banks.tsv")));
  ASSERT_TRUE(list.open(QIODevice::ReadOnly));
  const QStringList header = QString::fromUtf8(list.readLine().trimmed()).split(u'\t');
  ASSERT_EQ(header.size(), 3);
  const QDate date = QDate::fromString(header[2], Qt::ISODate);

  const ConvertProcessResult result = run_tsubakuro_convert({QStringLiteral("--version")});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_TRUE(result.standard_output.startsWith(QStringLiteral("tsubakuro-convert 3.1.4\n")))
      << result.standard_output.toStdString();
  EXPECT_TRUE(result.standard_output.contains(QStringLiteral("銀行一覧: %1年%2月%3日版")
                                                  .arg(date.year())
                                                  .arg(date.month())
                                                  .arg(date.day())))
      << result.standard_output.toStdString();
  EXPECT_TRUE(result.standard_output.contains(header[1]));
  EXPECT_TRUE(QDir().entryList(QDir::Files).isEmpty());
}

TEST(ConvertArguments, VersionSaysWhyTheBankListCannotBeRead) {
  // The list beside the program is the first place looked in; a damaged one is
  // named rather than passed over.
  ScopedWorkingDir dir;
  const QString program = QDir::current().absoluteFilePath(QStringLiteral("tsubakuro-convert"));
  ASSERT_TRUE(QFile::copy(binary_path(QStringLiteral("tsubakuro-convert")), program));
  write_file(QStringLiteral("banks.tsv"), "\xff\xfe not a list\n");
  QProcess process;
  process.start(program, {QStringLiteral("--version")});
  ASSERT_TRUE(process.waitForFinished(60'000));
  const QString output = QString::fromUtf8(process.readAllStandardOutput());
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_TRUE(
      output.contains(QStringLiteral("銀行一覧: 銀行一覧「%1」を読めません。")
                          .arg(QDir::current().absoluteFilePath(QStringLiteral("banks.tsv")))))
      << output.toStdString();
}

TEST(ConvertArguments, BadArgumentsConvertNothing) {
  ScopedWorkingDir dir;
  copy_sample_company();
  const QByteArray settings_before = read_file(QStringLiteral("サンプル商事.cfg"));
  for (const QStringList& arguments :
       {QStringList{QStringLiteral("--kind"), QStringLiteral("送金")},
        QStringList{QStringLiteral("--date"), QStringLiteral("99999")},
        QStringList{QStringLiteral("--bogus")}, QStringList{QStringLiteral("--company")}}) {
    const ConvertProcessResult result = run_tsubakuro_convert(arguments);
    EXPECT_EQ(result.exit_code, 2) << arguments.join(' ').toStdString();
    EXPECT_TRUE(result.standard_error.contains(QStringLiteral("--help")));
    EXPECT_TRUE(result.standard_output.isEmpty());
  }
  EXPECT_EQ(read_file(QStringLiteral("サンプル商事.cfg")), settings_before);
  EXPECT_FALSE(QFile::exists(QStringLiteral("FURIKOMI.DAT")));
  EXPECT_FALSE(QFile::exists(QStringLiteral("サンプル商事.log")));
}

}  // namespace
}  // namespace tsubakuro::testing
