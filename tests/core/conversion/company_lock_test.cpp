#include "core/conversion/company_lock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include "core/conversion/conversion_procedure.h"
#include "run_fixture.h"

namespace tsubakuro {
namespace {

using testing::read_file;
using testing::RunFixture;
using testing::ScopedWorkingDir;
using testing::write_cp932_file;
using testing::write_file;

const QString kLock = QStringLiteral("ﾃｽﾄ.lock");
const QString kCompany = QStringLiteral("ﾃｽﾄ");

QByteArray lock_naming(qint64 pid) {
  return QByteArray::number(pid) + "\ntsubakuro\n" + QSysInfo::machineHostName().toUtf8() + "\n";
}

// A process that lives while the test runs, started as `program`.
class LiveProcess {
 public:
  explicit LiveProcess(const QString& program) {
    process_.start(program, {QStringLiteral("30")});
    process_.waitForStarted();
  }
  ~LiveProcess() {
    process_.kill();
    process_.waitForFinished();
  }
  qint64 pid() const { return process_.processId(); }

 private:
  QProcess process_;
};

qint64 pid_of_a_process_that_ended() {
  QProcess gone;
  gone.start(QStringLiteral("true"), {});
  gone.waitForStarted();
  const qint64 pid = gone.processId();
  gone.waitForFinished();
  return pid;
}

// Every state a lock file can be found in, and what a new claim makes of it: a
// file no live process of this program holds is taken over with a note for the
// log; what no conversion made is refused, naming it.
TEST(CompanyLock, TakesOverEveryFileNoLiveConversionHolds) {
  const struct {
    const char* name;
    QByteArray content;
    const char* told;
  } kCases[] = {
      {"empty: killed between creating and writing", "", "空"},
      {"garbage", "\x01\xff not a lock\n", "読めない内容"},
      {"a process that ended", lock_naming(pid_of_a_process_that_ended()), "終了したプロセス"},
      {"a process id no process has", lock_naming(4'000'000), "終了したプロセス"},
  };
  for (const auto& c : kCases) {
    ScopedWorkingDir dir;
    write_file(kLock, c.content);
    Result<CompanyLock::Claimed> claimed = CompanyLock::claim(kLock, kCompany);
    ASSERT_TRUE(claimed.ok()) << c.name << ": " << claimed.message().toStdString();
    ASSERT_TRUE(claimed->lock) << c.name;
    ASSERT_TRUE(claimed->taken_over) << c.name;
    EXPECT_TRUE(claimed->taken_over->contains(QString::fromUtf8(c.told)))
        << c.name << ": " << claimed->taken_over->toStdString();
    EXPECT_TRUE(read_file(kLock).startsWith(QByteArray::number(QCoreApplication::applicationPid())))
        << c.name;
    claimed->lock.reset();
    EXPECT_FALSE(QFile::exists(kLock)) << c.name << ": released with the claim";
  }
}

TEST(CompanyLock, TakesOverAFileNamingALiveProcessOfAnotherProgram) {
  ScopedWorkingDir dir;
  LiveProcess sleeper(QStringLiteral("sleep"));
  ASSERT_GT(sleeper.pid(), 0);
  write_file(kLock, lock_naming(sleeper.pid()));
  const Result<CompanyLock::Claimed> claimed = CompanyLock::claim(kLock, kCompany);
  ASSERT_TRUE(claimed.ok()) << claimed.message().toStdString();
  ASSERT_TRUE(claimed->taken_over);
  EXPECT_TRUE(claimed->taken_over->contains(QStringLiteral("ほかのプログラム（sleep）")))
      << claimed->taken_over->toStdString();
}

TEST(CompanyLock, KeepsOutWhileAConversionHoldsIt) {
  ScopedWorkingDir dir;
  Result<CompanyLock::Claimed> first = CompanyLock::claim(kLock, kCompany);
  ASSERT_TRUE(first.ok());
  EXPECT_FALSE(first->taken_over);
  const Result<CompanyLock::Claimed> second = CompanyLock::claim(kLock, kCompany);
  ASSERT_FALSE(second.ok());
  EXPECT_TRUE(second.message().contains(QStringLiteral("会社「ﾃｽﾄ」の変換がほかで行われています")));

  // A live process of this program named in the file is believed even without
  // the system's lock: it may be a conversion on a disk that passes no locks on.
  first->lock.reset();
  QTemporaryDir programs;
  const QString program = programs.filePath(QStringLiteral("tsubakuro-convert"));
  ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), program) ||
              QFile::copy(QStringLiteral("/usr/bin/sleep"), program));
  LiveProcess converter(program);
  ASSERT_GT(converter.pid(), 0);
  write_file(kLock, lock_naming(converter.pid()));
  const Result<CompanyLock::Claimed> third = CompanyLock::claim(kLock, kCompany);
  EXPECT_FALSE(third.ok());
  EXPECT_EQ(read_file(kLock), lock_naming(converter.pid())) << "left as it was";
}

TEST(CompanyLock, RefusesAFolderInItsPlaceNamingIt) {
  ScopedWorkingDir dir;
  ASSERT_TRUE(QDir().mkdir(kLock));
  const Result<CompanyLock::Claimed> claimed = CompanyLock::claim(kLock, kCompany);
  ASSERT_FALSE(claimed.ok());
  EXPECT_TRUE(claimed.message().contains(u"「ﾃｽﾄ.lock」がフォルダである"_qs))
      << claimed.message().toStdString();
  EXPECT_FALSE(claimed.message().contains(QStringLiteral("ほかで行われています")));
  EXPECT_TRUE(QFileInfo(kLock).isDir());
}

TEST(CompanyLock, RefusesAnUnwritableFileInItsPlaceNamingIt) {
  ScopedWorkingDir dir;
  write_file(kLock, "");
  QFile::setPermissions(kLock, QFile::ReadOwner);
  const Result<CompanyLock::Claimed> claimed = CompanyLock::claim(kLock, kCompany);
  QFile::setPermissions(kLock, QFile::ReadOwner | QFile::WriteOwner);
  if (claimed.ok()) GTEST_SKIP() << "running with rights that ignore file permissions";
  EXPECT_TRUE(claimed.message().contains(u"「ﾃｽﾄ.lock」が書き込めないファイルである"_qs))
      << claimed.message().toStdString();
}

class LockTakenOverTest : public ::testing::Test, public RunFixture {};

// The run that took a lock over says so in its log, after its start marker.
TEST_F(LockTakenOverTest, TheRunLogsTheLockItTookOver) {
  ASSERT_TRUE(save_company_settings(system.current_company, company).ok());
  write_cp932_file("in.csv", "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,\r\n");
  write_file(kLock, "");
  ConversionProcedure procedure(system);
  ASSERT_TRUE(procedure.load_company().ok());
  ASSERT_TRUE(procedure.claim().ok());
  auto run = procedure.make_run();
  run_all(*run);
  ASSERT_TRUE(run->result().ok()) << run->result().message().toStdString();
  EXPECT_EQ(log_lines().value(2),
            "注意：変換中の印のファイル「ﾃｽﾄ.lock」は変換を行っていないもの（空）だったため、"
            "引き継ぎました。");
  EXPECT_FALSE(run->has_errors());
}

}  // namespace
}  // namespace tsubakuro
