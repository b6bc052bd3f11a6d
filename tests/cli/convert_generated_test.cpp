#include <signal.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "convert_process.h"
#include "core/text/cp932.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

constexpr qint64 kRecordBytes = 122;  // the sample's length: 120 characters and CR LF

struct GeneratedList {
  qint64 rows = 0;
  qint64 amount_total = 0;
};

// A payment list in the sample company's columns, over the sample's own list.
GeneratedList write_payment_list(qint64 rows, const char* line_end) {
  QFile file(QStringLiteral("振込データ.csv"));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("list");
  GeneratedList list{rows, 0};
  QByteArray bytes = encode_cp932(
                         u"銀行コード,銀行名,支店コード,支店名,預金種目,口座番号,"
                         u"受取人名,振込金額,取引先番号,摘要")
                         .bytes +
                     line_end;
  for (qint64 index = 0; index < rows; ++index) {
    const qint64 amount = 1 + index * 7919 % 999'999;
    list.amount_total += amount;
    bytes += encode_cp932(QStringLiteral("0310,ﾐﾅﾄｷﾞﾝｺｳ,%1,ﾎﾝﾃﾝ,%2,%3,ﾀﾅｶ ﾀﾛｳ,%4,%5,給与")
                              .arg(index % 1000, 3, 10, QLatin1Char('0'))
                              .arg(index % 2 + 1)
                              .arg(index, 7, 10, QLatin1Char('0'))
                              .arg(amount)
                              .arg(index))
                 .bytes +
             line_end;
    if (bytes.size() > (1 << 20)) {
      file.write(bytes);
      bytes.clear();
    }
  }
  file.write(bytes);
  return list;
}

QByteArray zero_right(qint64 number, int width) {
  return QByteArray::number(number).rightJustified(width, '0');
}

class ConvertGenerated : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { copy_sample_company(); }
  ScopedWorkingDir dir_;
};

TEST_P(ConvertGenerated, TrailerCarriesTheCountAndTheSumOfEveryRow) {
  const GeneratedList list = write_payment_list(4321, GetParam());
  const ConvertProcessResult result = run_tsubakuro_convert({});

  ASSERT_EQ(result.exit_code, 0) << result.standard_error.toStdString();
  const QByteArray bank_file = read_file(QStringLiteral("FURIKOMI.DAT"));
  ASSERT_EQ(bank_file.size(), (list.rows + 3) * kRecordBytes);
  const QByteArray last_data = bank_file.mid(list.rows * kRecordBytes, kRecordBytes);
  EXPECT_EQ(last_data.mid(43, 7), QByteArray("0004320")) << "口座番号 of the last row";
  const QByteArray trailer = bank_file.mid((list.rows + 1) * kRecordBytes, kRecordBytes);
  EXPECT_EQ(trailer.left(19), "8" + zero_right(list.rows, 6) + zero_right(list.amount_total, 12));
  EXPECT_EQ(bank_file.right(kRecordBytes).left(1), QByteArray("9"));
  EXPECT_TRUE(result.standard_output.contains(QStringLiteral("合計件数: 4,321件")))
      << result.standard_output.toStdString();
}

// Lists saved on other systems end their lines with LF alone; each is still a row.
INSTANTIATE_TEST_SUITE_P(LineEnds, ConvertGenerated, ::testing::Values("\r\n", "\n", "\r"));

// Ctrl+C stops the run between two rows; a bank file without its trailer is no
// bank file, so none is written, and the log tells of the cancel.
TEST(ConvertCancel, InterruptStopsBetweenRowsWritesNoBankFileAndLogsTheCancel) {
  ScopedWorkingDir dir;
  copy_sample_company();
  write_payment_list(200'000, "\r\n");

  QProcess process;
  process.setProgram(binary_path(QStringLiteral("tsubakuro-convert")));
  process.start();
  ASSERT_TRUE(process.waitForStarted());
  // Stop it once the run has the list open.
  const QString fds = QStringLiteral("/proc/%1/fd").arg(process.processId());
  const auto list_open = [&fds] {
    for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::Files | QDir::System)) {
      if (fd.symLinkTarget().endsWith(QStringLiteral("振込データ.csv"))) return true;
    }
    return false;
  };
  while (process.state() == QProcess::Running && !list_open()) process.waitForFinished(1);
  ASSERT_EQ(process.state(), QProcess::Running) << "the run ended before it could be stopped";
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(60'000));

  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 130);
  EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput())
                  .contains(QStringLiteral("変換をキャンセルされました。\n"
                                           "出力ファイルは変更されていません。")));
  const QStringList log =
      decode_cp932(read_file(QStringLiteral("サンプル商事.log"))).split(QStringLiteral("\r\n"));
  ASSERT_GE(log.size(), 2);
  EXPECT_TRUE(log[log.size() - 2].startsWith(QStringLiteral("\"★★キャンセル★★ ")))
      << log[log.size() - 2].toStdString();
  EXPECT_FALSE(QFile::exists(QStringLiteral("FURIKOMI.DAT")));
}

}  // namespace
}  // namespace tsubakuro::testing
