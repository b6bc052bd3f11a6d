#include "core/conversion/conversion_procedure.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>

#include "core/conversion/run_files.h"
#include "core/settings/company_settings.h"
#include "run_fixture.h"

namespace tsubakuro {
namespace {

using testing::read_file;
using testing::RunFixture;
using testing::write_cp932_file;
using testing::write_file;

const QString kBroken =
    QStringLiteral("会社別CFGファイル「ﾃｽﾄ.cfg」が壊れています。環境設定で保存し直してください。");

class ConversionProcedureTest : public ::testing::Test, public RunFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(save_company_settings(system.current_company, company).ok());
    write_cp932_file("in.csv", "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,\r\n");
  }
  // The company file's first `lines` lines, as a save cut short would leave it.
  void cut_company_file(int lines) {
    ASSERT_TRUE(save_company_settings(system.current_company, company).ok());
    const QList<QByteArray> all = read_file("ﾃｽﾄ.cfg").split('\n');
    write_file("ﾃｽﾄ.cfg", all.mid(0, lines).join('\n'));
  }
};

TEST_F(ConversionProcedureTest, AWholeCompanyFileOfAKindInUseIsReady) {
  ConversionProcedure procedure(system);
  ASSERT_EQ(procedure.load_company().message(), "");
  EXPECT_EQ(procedure.company_title(), "ﾃｽﾄｼｮｳｼﾞ");
  EXPECT_EQ(procedure.transfer_date().stored(), "0425");
  ASSERT_TRUE(procedure.store_date(TransferDate::from_stored("1201")).ok());
  const Result<LoadedCompanySettings> saved = load_company_settings("ﾃｽﾄ");
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(saved->settings.credit.header_values[4], "1201");
  const Result<WorkbookRoute> prepared = procedure.prepare();
  ASSERT_TRUE(prepared.ok()) << prepared.message().toStdString();
  EXPECT_EQ(*prepared, WorkbookRoute::PlainText);
  auto run = procedure.make_run();
  while (run->running()) run->step();
  EXPECT_TRUE(run->result().ok());
  EXPECT_EQ(read_file("out.dat").mid(54, 4), "1201");
}

// An empty or cut-short file used to send the user to tick 使用する, which was
// ticked all along; the file needs saving again.
TEST_F(ConversionProcedureTest, ACompanyFileCutBeforeTheKindsSectionIsBroken) {
  write_file("ﾃｽﾄ.cfg", "");
  ConversionProcedure empty(system);
  EXPECT_EQ(empty.load_company().message(), kBroken);

  cut_company_file(20);  // inside the 振込 section
  ConversionProcedure cut_in_credit(system);
  EXPECT_EQ(cut_in_credit.load_company().message(), kBroken);

  cut_company_file(30);  // 振込 whole, 振替 missing
  ConversionProcedure credit(system);
  EXPECT_EQ(credit.load_company().message(), "");
  system.transfer_kind = TransferKind::Debit;
  ConversionProcedure debit(system);
  EXPECT_EQ(debit.load_company().message(), kBroken);
  EXPECT_TRUE(debit.company_read()) << "what was read can still be shown";
}

TEST_F(ConversionProcedureTest, AMissingFileAndAKindNotInUseKeepTheirMessages) {
  company.credit.enabled = 0;
  ASSERT_TRUE(save_company_settings(system.current_company, company).ok());
  ConversionProcedure not_in_use(system);
  EXPECT_EQ(not_in_use.load_company().message(),
            "環境設定にて、使用するにチェックが入っていません。");

  QFile::remove("ﾃｽﾄ.cfg");
  ConversionProcedure missing(system);
  EXPECT_EQ(missing.load_company().message(), "会社別CFGファイルが存在しません");
  EXPECT_FALSE(missing.company_read());
}

TEST_F(ConversionProcedureTest, OneConversionPerCompanyAtATime) {
  ConversionProcedure first(system);
  ASSERT_TRUE(first.load_company().ok());
  ASSERT_TRUE(first.claim().ok());

  const QByteArray cfg = read_file("ﾃｽﾄ.cfg");
  ConversionProcedure second(system);
  ASSERT_TRUE(second.load_company().ok());
  const Result<void> stored = second.store_date(TransferDate::from_stored("0101"));
  EXPECT_FALSE(stored);
  EXPECT_TRUE(stored.message().contains("ﾃｽﾄ")) << stored.message().toStdString();
  EXPECT_TRUE(stored.message().contains("変換がほかで行われています"));
  EXPECT_FALSE(second.prepare());
  EXPECT_EQ(read_file("ﾃｽﾄ.cfg"), cfg) << "the date is not stored";

  // Another company converts meanwhile.
  SystemSettings other_system = system;
  other_system.current_company = "ﾍﾞﾂ";
  ASSERT_TRUE(save_company_settings("ﾍﾞﾂ", company).ok());
  ConversionProcedure other(other_system);
  EXPECT_EQ(other.claim().message(), "");
}

TEST_F(ConversionProcedureTest, TheClaimEndsWithTheProcedure) {
  {
    ConversionProcedure first(system);
    ASSERT_TRUE(first.claim().ok());
  }
  ConversionProcedure next(system);
  EXPECT_EQ(next.claim().message(), "");
}

// A conversion killed with its lock in place must not block the company for ever.
TEST_F(ConversionProcedureTest, ALockLeftByAProcessThatIsGoneIsTakenOver) {
  QProcess gone;
  gone.start("true", {});
  ASSERT_TRUE(gone.waitForFinished());
  const qint64 pid = gone.processId();
  write_file("ﾃｽﾄ.lock", QByteArray::number(pid == 0 ? 999999 : pid) + "\ntsubakuro-convert\n" +
                             QSysInfo::machineHostName().toUtf8() + "\n");
  ConversionProcedure procedure(system);
  EXPECT_EQ(procedure.claim().message(), "");
}

struct OutputCase {
  const char* name;
  QString output;
  QString named;  // the file the message must name besides the output
};

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

class RefusedOutput : public ConversionProcedureTest,
                      public ::testing::WithParamInterface<OutputCase> {};

TEST_P(RefusedOutput, IsRefusedBeforeAnythingIsWritten) {
  QDir().mkdir("sub");
  write_file("tbk.ini", "ini");
  write_file("ﾃｽﾄ.log", "\"old\"\r\n");
  write_file("ﾍﾞﾂ.cfg", "other company");
  write_file("tbk.tmp", "rows");
  write_cp932_file("debit.csv", "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,7654321,ｽｽﾞｷ,200,,,,,\r\n");
  write_cp932_file("ﾎｶ振込.csv", "ﾎｶ credit\r\n");
  write_cp932_file("ﾎｶ振替.csv", "ﾎｶ debit\r\n");
  CompanySettings other = company;
  other.credit.input_file = "ﾎｶ振込.csv";
  other.debit.input_file = "ﾎｶ振替.csv";
  other.credit.output_file = other.debit.output_file = "ﾎｶ.dat";
  ASSERT_TRUE(save_company_settings("ﾎｶ", other).ok());
  const QString& output = GetParam().output;
  company.credit.output_file = output;
  company.debit.input_file = "debit.csv";
  ASSERT_TRUE(save_company_settings(system.current_company, company).ok());
  const QMap<QString, QByteArray> before = [] {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir().entryList(QDir::Files)) files.insert(name, read_file(name));
    return files;
  }();

  ConversionProcedure procedure(system);
  ASSERT_TRUE(procedure.load_company().ok());
  const Result<WorkbookRoute> prepared = procedure.prepare();
  EXPECT_FALSE(prepared);
  EXPECT_TRUE(prepared.message().contains(output)) << prepared.message().toStdString();
  EXPECT_TRUE(prepared.message().contains(GetParam().named)) << prepared.message().toStdString();
  // The run refuses it too, for whoever drives a run without the procedure.
  auto run = procedure.make_run();
  while (run->running()) run->step();
  EXPECT_TRUE(run->result().failed());
  for (auto [name, bytes] : before.asKeyValueRange())
    EXPECT_EQ(read_file(name), bytes) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, RefusedOutput,
    ::testing::Values(OutputCase{"input", "in.csv", "in.csv"},
                      OutputCase{"input_through_a_folder", "sub/../in.csv", "in.csv"},
                      OutputCase{"input_spelled_with_dot", "./in.csv", "in.csv"},
                      OutputCase{"workbook_text", "tbk.tmp", "tbk.tmp"},
                      OutputCase{"system_settings", "./tbk.ini", "tbk.ini"},
                      OutputCase{"this_company", "ﾃｽﾄ.cfg", "ﾃｽﾄ.cfg"},
                      OutputCase{"another_company", "sub/../ﾍﾞﾂ.cfg", "ﾍﾞﾂ.cfg"},
                      OutputCase{"log", "ﾃｽﾄ.log", "ﾃｽﾄ.log"},
                      // The company's other list, and the lists of another company.
                      OutputCase{"other_kind_input", "debit.csv",
                                 "会社「ﾃｽﾄ」の振替の入力ファイル「debit.csv」"},
                      OutputCase{"another_companys_credit_input", "./ﾎｶ振込.csv",
                                 "会社「ﾎｶ」の振込の入力ファイル「ﾎｶ振込.csv」"},
                      OutputCase{"another_companys_debit_input", "sub/../ﾎｶ振替.csv",
                                 "会社「ﾎｶ」の振替の入力ファイル「ﾎｶ振替.csv」"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConversionProcedureTest, OutputsElsewhereStayAllowed) {
  QDir().mkdir("sub");
  company.debit.input_file = "debit.csv";
  // Settings files that cannot be read as a company's (damaged bytes, a name no
  // company can have) name no list, whatever they hold.
  write_file("ﾔﾌﾞﾚ.cfg", QByteArray("\x81\"\xff\r\n\0\0", 7));
  write_file("..cfg", "\"FURIKOMI.DAT\"\r\n");
  for (const QString& output :
       {QString("FURIKOMI.DAT"), QString("sub/in.csv"), QString("sub/x.cfg"),
        QString("sub/debit.csv"), QDir::current().absoluteFilePath("sub/out.dat")}) {
    company.credit.output_file = output;
    ASSERT_TRUE(save_company_settings(system.current_company, company).ok());
    ConversionProcedure procedure(system);
    ASSERT_TRUE(procedure.load_company().ok());
    const Result<WorkbookRoute> prepared = procedure.prepare();
    ASSERT_TRUE(prepared.ok()) << output.toStdString() << ": " << prepared.message().toStdString();
    EXPECT_EQ(*prepared, WorkbookRoute::PlainText);
  }
}

// A named pipe would block the run for ever, a device would fill the disk.
TEST_F(ConversionProcedureTest, AnInputThatIsNoOrdinaryFileIsRefusedAtOnce) {
  ASSERT_EQ(mkfifo("pipe.csv", 0600), 0);
  QDir().mkdir("folder.csv");
  const struct {
    QString input;
    QString said;
  } cases[] = {{"pipe.csv", "名前付きパイプ"},
               {"/dev/urandom", "デバイス"},
               {"folder.csv", "フォルダ"},
               {"none.csv", "入力ファイルが存在しません。"}};
  for (const auto& c : cases) {
    company.credit.input_file = c.input;
    ASSERT_TRUE(save_company_settings(system.current_company, company).ok());
    ConversionProcedure procedure(system);
    ASSERT_TRUE(procedure.load_company().ok());
    const Result<WorkbookRoute> prepared = procedure.prepare();
    EXPECT_FALSE(prepared);
    EXPECT_TRUE(prepared.message().contains(c.said)) << prepared.message().toStdString();
    EXPECT_TRUE(prepared.message().contains(c.input) || c.input == "none.csv");
    auto run = procedure.make_run();
    while (run->running()) run->step();  // must end, not block on the pipe
    EXPECT_TRUE(run->result().failed());
  }
  EXPECT_FALSE(QFile::exists("out.dat"));
}

}  // namespace
}  // namespace tsubakuro
