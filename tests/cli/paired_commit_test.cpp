// A run killed at any moment leaves the bank file and the log of one and the same
// run: the old pair, or the new one, never a new bank file beside an old log.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "core/text/cp932.h"
#include "reliability_support.h"
#include "test_support.h"

namespace tsubakuro::testing {
namespace {

const QString kList = QString::fromUtf8(kSampleCreditList);
const QString kOutput = QString::fromUtf8(kSampleCreditOutput);
const QString kLog = QString::fromUtf8(kSampleCompany) + QStringLiteral(".log");

// The sample list's heading and its first row with a 預金種目 that fails: a list
// of such rows logs one line per data record, so the two files tell each other's
// run by their counts.
struct FailingList {
  QByteArray heading;
  QByteArray row;

  void write(int rows) const {
    QByteArray list = heading + '\n';
    for (int i = 0; i < rows; ++i) list += row + '\n';
    write_file(kList, list);
  }
};

FailingList failing_list() {
  const QList<QByteArray> lines = read_file(kList).split('\n');
  FailingList list{lines[0], lines[1]};
  const qsizetype type = list.row.indexOf(",1,1234567,");
  if (type > 0) list.row[type + 1] = '5';
  return list;
}

struct Pair {
  qint64 records = -1;     // data records in the bank file
  qint64 log_rows = -1;    // rows the log names an error of
  bool log_whole = false;  // ends with the run's closing marker
};

// The pair as the next conversion finds it: a run stopped between its two renames
// leaves its log pending, and the next conversion puts it in place first.
Pair pair_on_disk() {
  Pair pair;
  const QByteArray bank = read_file(kOutput);
  if (bank.size() % kSampleRecordLength == 0)
    pair.records = bank.size() / kSampleRecordLength - 3;  // header, trailer, end
  const QString pending = kLog + QStringLiteral(".tsubakuro-new");
  const bool log_pending = QFile::exists(pending) && !QFile::exists(kOutput + ".tsubakuro-new");
  const QString log = decode_cp932(read_file(log_pending ? pending : kLog));
  pair.log_rows = log.count(QStringLiteral("[7]預金種目が正しくありません。"));
  pair.log_whole = log.contains(QStringLiteral("\"★★変換終了★★ ")) && log.endsWith(u"\"\r\n");
  return pair;
}

TEST(PairedCommit, AKillAtAnyMomentLeavesTheBankFileAndTheLogOfOneRun) {
  ScopedWorkingDir dir;
  copy_sample_company();
  const QString converter_path = binary_path(QStringLiteral("tsubakuro-convert"));

  // The first pair, and how long a run takes: the kills land over all of it, the
  // end (where both files take their places) most often.
  const FailingList list = failing_list();
  ASSERT_TRUE(list.row.contains(",5,1234567,")) << "the sample's first row changed";
  list.write(30'000);
  QElapsedTimer timer;
  timer.start();
  ASSERT_EQ(run_converter({}).exit_code, 1);
  const qint64 full_run_ms = std::max<qint64>(timer.elapsed(), 20);
  Pair pair = pair_on_disk();
  ASSERT_EQ(pair.records, 30'000);
  ASSERT_EQ(pair.log_rows, 30'000);

  QRandomGenerator random(24);
  int new_pairs = 0;
  for (int round = 1; round <= 16; ++round) {
    const int rows = 30'000 + round;
    list.write(rows);
    QProcess converter;
    converter.setProgram(converter_path);
    converter.setProcessChannelMode(QProcess::MergedChannels);
    converter.start();
    ASSERT_TRUE(converter.waitForStarted());
    const qint64 wait_us =
        static_cast<qint64>(full_run_ms * 1000 * (0.3 + 0.9 * random.generateDouble()));
    QThread::usleep(static_cast<unsigned long>(wait_us));
    ::kill(static_cast<pid_t>(converter.processId()), SIGKILL);
    converter.waitForFinished();

    const Pair now = pair_on_disk();
    SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(wait_us) +
                 " µs");
    EXPECT_TRUE(now.log_whole);
    EXPECT_EQ(now.records, now.log_rows) << "a bank file beside another run's log";
    EXPECT_TRUE(now.records == pair.records || now.records == rows) << now.records;
    if (now.records == rows) ++new_pairs;
    pair = now;
  }
  // Not a rule, only a sign that the kills reached the end of some runs.
  std::cout << new_pairs << " of 16 killed runs had put their pair in place\n";

  // The next conversion settles what a stop left and puts its own pair in place.
  list.write(100);
  EXPECT_EQ(run_converter({}).exit_code, 1);
  pair = pair_on_disk();
  EXPECT_EQ(pair.records, 100);
  EXPECT_EQ(pair.log_rows, 100);
  EXPECT_EQ(QDir().entryList({QStringLiteral("*.tsubakuro-new")}, QDir::Files), QStringList());
}

}  // namespace
}  // namespace tsubakuro::testing
