#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

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
