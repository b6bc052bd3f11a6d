// What the user had before a conversion is still there after it, however the
// conversion ends: killed, cancelled, refused, or fed a file that is no list.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QThread>

#include "core/text/cp932.h"
#include "reliability_support.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

const QString kList = QString::fromUtf8(kSampleCreditList);
const QString kOutput = QString::fromUtf8(kSampleCreditOutput);
const QString kLog = QString::fromUtf8(kSampleCompany) + QStringLiteral(".log");

class ConversionSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    copy_sample_company();
    write_file(kOutput, "last month's bank file");
    write_file(kLog, "\"last month's log\"\r\n");
  }

  // The sample list with its first data row repeated: a run of some seconds.
  void write_long_list(int rows = 500'000) {
    const QList<QByteArray> lines = read_file(kList).split('\n');
    QByteArray list = lines[0] + '\n';
    const QByteArray row = lines[1] + '\n';
    list.reserve(list.size() + row.size() * rows);
    for (int i = 0; i < rows; ++i) list += row;
    write_file(kList, list);
  }

  // Starts the converter and waits until it has the list open: the run is at work.
  void start_mid_run(QProcess& converter) {
    converter.setProgram(binary_path(QStringLiteral("tsubakuro-convert")));
    converter.setWorkingDirectory(QDir::currentPath());
    converter.setProcessChannelMode(QProcess::MergedChannels);
    converter.start();
    ASSERT_TRUE(converter.waitForStarted());
    const QString fds = QStringLiteral("/proc/%1/fd").arg(converter.processId());
    QDeadlineTimer deadline(30'000);
    while (!deadline.hasExpired()) {
      for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::Files | QDir::System)) {
        if (fd.symLinkTarget().endsWith(kList)) return;
      }
      ASSERT_EQ(converter.state(), QProcess::Running) << "the run ended before it was stopped";
      QThread::usleep(200);
    }
    FAIL() << "the converter never opened the list";
  }

  ScopedWorkingDir dir;
};

TEST_F(ConversionSafety, AKilledRunLeavesLastMonthsBankFileAndLog) {
  write_long_list();
  const auto before = folder_snapshot();
  QProcess converter;
  start_mid_run(converter);
  ::kill(static_cast<pid_t>(converter.processId()), SIGKILL);
  converter.waitForFinished();
  // The run's lock stays behind; the next run takes it over (below).
  QStringList changed = changed_files(before, folder_snapshot());
  changed.removeAll(QString::fromUtf8(kSampleCompany) + QStringLiteral(".lock"));
  EXPECT_EQ(changed.join(u", ").toStdString(), "");
}

TEST_F(ConversionSafety, ALockLeftByAKilledRunIsTakenOver) {
  write_long_list(200'000);
  QProcess converter;
  start_mid_run(converter);
  ::kill(static_cast<pid_t>(converter.processId()), SIGKILL);
  converter.waitForFinished();
  ASSERT_TRUE(QFile::exists(QString::fromUtf8(kSampleCompany) + QStringLiteral(".lock")));

  const ConverterRun next = run_converter({});
  EXPECT_EQ(next.exit_code, 0) << next.output.toStdString();
  EXPECT_EQ(QFile(kOutput).size(), (200'000 + 3) * kSampleRecordLength);
  EXPECT_FALSE(QFile::exists(QString::fromUtf8(kSampleCompany) + QStringLiteral(".lock")));
}

TEST_F(ConversionSafety, CtrlCKeepsLastMonthsBankFileAndLogsTheCancel) {
  write_long_list();
  QProcess converter;
  start_mid_run(converter);
  ::kill(static_cast<pid_t>(converter.processId()), SIGINT);
  ASSERT_TRUE(converter.waitForFinished(60'000));
  const QString said = QString::fromUtf8(converter.readAll());
  EXPECT_EQ(converter.exitCode(), 130) << said.toStdString();
  EXPECT_TRUE(said.contains(
      QStringLiteral("変換をキャンセルされました。\n出力ファイルは変更されていません。")))
      << said.toStdString();
  EXPECT_EQ(read_file(kOutput), "last month's bank file");
  const QString log = decode_cp932(read_file(kLog));
  EXPECT_TRUE(log.contains(QStringLiteral("\r\n\"★★キャンセル★★ "))) << log.toStdString();
  EXPECT_TRUE(log.endsWith(QStringLiteral("\"\r\n")));
}

// Two converters, or the converter beside the desktop program, on one company.
TEST_F(ConversionSafety, ASecondConversionOfTheSameCompanyStopsAtOnce) {
  QLockFile other_run(QString::fromUtf8(kSampleCompany) + QStringLiteral(".lock"));
  ASSERT_TRUE(other_run.tryLock(0));
  const auto before = folder_snapshot();
  const ConverterRun run = run_converter({QStringLiteral("--date"), QStringLiteral("0101")});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.output.contains(QStringLiteral("変換がほかで行われています")))
      << run.output.toStdString();
  EXPECT_EQ(changed_files(before, folder_snapshot()).join(u", ").toStdString(), "");
}

TEST_F(ConversionSafety, AnOutputPathOnThePaymentListIsRefused) {
  QString cfg = decode_cp932(read_file(QString::fromUtf8(kSampleCompany) + QStringLiteral(".cfg")));
  cfg.replace(u"\"FURIKOMI.DAT\""_qs, QStringLiteral("\"./%1\"").arg(kList));
  write_file(QString::fromUtf8(kSampleCompany) + QStringLiteral(".cfg"), encode_cp932(cfg).bytes);
  const auto before = folder_snapshot();
  const ConverterRun run = run_converter({});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.output.contains(QStringLiteral("./") + kList)) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains(QStringLiteral("入力ファイル「%1」").arg(kList)));
  EXPECT_EQ(changed_files(before, folder_snapshot()).join(u", ").toStdString(), "");
}

TEST_F(ConversionSafety, APipeOrADeviceAsTheListIsRefusedAtOnce) {
  QFile::remove(kList);
  ASSERT_EQ(mkfifo(QFile::encodeName(kList).constData(), 0600), 0);
  ConverterRun run = run_converter({}, nullptr, 20'000);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.output.contains(QStringLiteral("名前付きパイプ"))) << run.output.toStdString();

  QFile::remove(kList);
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/urandom"), kList));
  run = run_converter({}, nullptr, 20'000);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.output.contains(QStringLiteral("デバイス"))) << run.output.toStdString();
  EXPECT_EQ(read_file(kOutput), "last month's bank file");
}

// The converter's own peak resident memory, in bytes: its high-water mark
// (VmHWM), read until it ends. (The rusage of a spawned child would also count
// this test process's memory, which the child shares until it starts the
// converter.)
qint64 converter_peak_memory(int* exit_status) {
  QProcess converter;
  converter.setProgram(binary_path(QStringLiteral("tsubakuro-convert")));
  converter.setStandardOutputFile(QProcess::nullDevice());
  converter.setStandardErrorFile(QProcess::nullDevice());
  converter.start();
  if (!converter.waitForStarted()) return -1;
  QFile status(QStringLiteral("/proc/%1/status").arg(converter.processId()));
  qint64 peak = 0;
  while (!converter.waitForFinished(1)) {
    if (!status.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith("VmHWM:"))
        peak = std::max(peak, line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024);
    }
    status.close();
  }
  *exit_status = converter.exitStatus() == QProcess::NormalExit ? converter.exitCode() : -1;
  return peak;
}

// A list of one endless line (a sparse file of zeros after the heading) must cost
// no more memory than a short one: the line is read past, not held.
TEST_F(ConversionSafety, MemoryStaysBoundedOnA200MegabyteLine) {
  constexpr qint64 kSize = 200LL << 20;
  {
    QFile list(kList);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
    list.write("heading\r\n");
    ASSERT_TRUE(list.resize(kSize));
  }
  int status = -1;
  const qint64 peak = converter_peak_memory(&status);
  EXPECT_EQ(status, 1);
  EXPECT_GT(peak, 0);
  EXPECT_LT(peak, 64LL << 20) << peak / (1 << 20) << " MiB";
  EXPECT_TRUE(decode_cp932(read_file(kLog))
                  .contains(QStringLiteral("ボディ：000001件目の行が長すぎます。")));
  EXPECT_EQ(QFile(kOutput).size(), 3 * kSampleRecordLength) << "header, trailer and end only";
}

}  // namespace
}  // namespace tsubakuro::testing
