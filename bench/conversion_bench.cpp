// How fast a whole conversion runs, in payment rows per second, against the floor
// any conversion has to pay: decoding the same CP932 bytes and encoding them again.
// The ratio of the two is printed at the end; equal rows per second at both sizes
// show that the cost grows linearly with the input.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>

#include "core/engine/conversion_run.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

using namespace Qt::StringLiterals;

constexpr char16_t kCompany[] = u"ベンチ商事";

class SilentNotifier : public Notifier {
 public:
  void show_notice(const QString&, const QString& message) override {
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
  }
};

// The columns of the sample company's payment list (examples/振込データ.csv),
// the rows of bench/make-payment-list.py.
QString payment_row(qint64 index) {
  static const QStringList kBanks = {u"0310,ﾐﾅﾄｷﾞﾝｺｳ"_s, u"0325,ﾂﾊﾞｷｼﾝｷﾝ"_s, u"0348,ｶｴﾃﾞｷﾞﾝｺｳ"_s,
                                     u"0352,ｻｸﾗｶﾞﾜｷﾞﾝｺｳ"_s, u"0377,ﾋﾊﾞﾘｼﾝｸﾐ"_s};
  static const QStringList kBranches = {u"001,ﾎﾝﾃﾝ"_s, u"102,ｴｷﾏｴ"_s, u"215,ﾐﾅﾐｸﾞﾁ"_s,
                                        u"318,ｷﾀﾏﾁ"_s, u"420,ｺｳｴﾝﾄﾞｵﾘ"_s};
  static const QStringList kFamily = {u"ﾔﾏﾀﾞ"_s,  u"ｽｽﾞｷ"_s, u"ﾀﾅｶ"_s,  u"ｻﾄｳ"_s,   u"ﾀｶﾊｼ"_s,
                                      u"ﾜﾀﾅﾍﾞ"_s, u"ｲﾄｳ"_s,  u"ﾅｶﾑﾗ"_s, u"ｺﾊﾞﾔｼ"_s, u"ｶﾄｳ"_s,
                                      u"ﾖｼﾀﾞ"_s,  u"ﾔﾏﾓﾄ"_s, u"ｻｻｷ"_s,  u"ﾔﾏｸﾞﾁ"_s, u"ﾏﾂﾓﾄ"_s,
                                      u"ｲﾉｳｴ"_s,  u"ｷﾑﾗ"_s};
  static const QStringList kGiven = {u"ﾀﾛｳ"_s, u"ﾊﾅｺ"_s,  u"ｲﾁﾛｳ"_s, u"ﾐｻｷ"_s,   u"ｹﾝｼﾞ"_s,
                                     u"ﾕｳｺ"_s, u"ｼｮｳﾀ"_s, u"ｱﾔ"_s,   u"ﾀﾞｲｽｹ"_s, u"ﾒｸﾞﾐ"_s,
                                     u"ﾂﾖｼ"_s, u"ﾅｵｺ"_s,  u"ﾘｮｳ"_s};
  return u"%1,%2,%3,%4,%5 %6,%7,%8,給与"_s.arg(kBanks[index % kBanks.size()])
      .arg(kBranches[(index / 5) % kBranches.size()])
      .arg(QLatin1Char(index % 7 == 6 ? '2' : '1'))
      .arg((1234567 + index * 2718281) % 10000000, 7, 10, QLatin1Char('0'))
      .arg(kFamily[index % kFamily.size()], kGiven[(index / 3) % kGiven.size()])
      .arg(1000 + (index * 7919) % 999000)
      .arg(100000 + index);
}

// A folder holding one payment list per size, with the sample company's settings
// in memory; the runs write their bank file and log beside it.
class Workspace {
 public:
  Workspace() {
    if (!folder_.isValid() || !QDir::setCurrent(folder_.path())) std::abort();
    init_field_dictionary(system_);
    system_.current_company = QString::fromUtf16(kCompany);
    system_.options.crlf_each_record = true;
    system_.options.record_length = 122;
    TransferSettings& credit = company_.credit;
    credit.output_file = u"FURIKOMI.DAT"_s;
    credit.header_values = {u"21"_s,   u"0"_s,    u"1234567890"_s, u"ﾍﾞﾝﾁｼｮｳｼﾞ"_s,
                            u"0425"_s, u"0310"_s, u"ﾐﾅﾄｷﾞﾝｺｳ"_s,   u"001"_s,
                            u"ﾎﾝﾃﾝ"_s, u"1"_s,    u"1234567"_s,    QString()};
    credit.body_columns = {u"1"_s, u"2"_s, u"3"_s,    u"4"_s, QString(), u"5"_s,    u"6"_s,
                           u"7"_s, u"8"_s, QString(), u"9"_s, QString(), QString(), QString()};
    credit.skip_header_rows = u"1"_s;
    credit.enabled = true;
  }

  // The settings of a run over `rows` payment rows; the list is written once.
  const CompanySettings& company_for(qint64 rows) {
    const QString name = u"振込%1.csv"_s.arg(rows);
    if (!QFile::exists(name)) {
      QFile file(name);
      if (!file.open(QIODevice::WriteOnly)) std::abort();
      file.write(encode_cp932(u"銀行コード,銀行名,支店コード,支店名,預金種目,口座番号,"
                              u"受取人名,振込金額,取引先番号,摘要\r\n")
                     .bytes);
      for (qint64 index = 0; index < rows; ++index)
        file.write(encode_cp932(payment_row(index) + u"\r\n"_s).bytes);
    }
    company_.credit.input_file = name;
    return company_;
  }

  const SystemSettings& system() const { return system_; }

 private:
  QTemporaryDir folder_;
  SystemSettings system_;
  CompanySettings company_;
};

Workspace& workspace() {
  static Workspace instance;
  return instance;
}

void Conversion(benchmark::State& state) {
  const qint64 rows = state.range(0);
  const CompanySettings& company = workspace().company_for(rows);
  SilentNotifier notifier;
  for (auto _ : state) {
    ConversionRun run(workspace().system(), company);
    while (run.running()) run.step();
    if (run.outcome() != RunOutcome::Normal || run.has_errors() || run.row_count() != rows) {
      state.SkipWithError("the conversion did not convert every row cleanly");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * rows);
  state.SetBytesProcessed(state.iterations() * QFileInfo(company.credit.input_file).size());
}

void Cp932DecodeEncode(benchmark::State& state) {
  const qint64 rows = state.range(0);
  QFile file(workspace().company_for(rows).credit.input_file);
  if (!file.open(QIODevice::ReadOnly)) std::abort();
  const QByteArray bytes = file.readAll();
  for (auto _ : state) {
    const Cp932Encoding encoded = encode_cp932(decode_cp932(bytes));
    benchmark::DoNotOptimize(encoded.bytes.constData());
  }
  state.SetItemsProcessed(state.iterations() * rows);
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

BENCHMARK(Conversion)->ArgName("rows")->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(Cp932DecodeEncode)
    ->ArgName("rows")
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

// The console report, followed by how many times a plain decode and encode each
// conversion takes. The ratio uses processor time: the machines this runs on are
// shared, and waiting for a processor says nothing about the code.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const std::string name = run.benchmark_name();
      const std::string rows = name.substr(name.find('/') + 1);
      (name.starts_with("Conversion/") ? conversion_ : decode_encode_)[rows] =
          run.GetAdjustedCPUTime();
    }
  }

  void Finalize() override {
    for (const auto& [rows, conversion] : conversion_) {
      const auto plain = decode_encode_.find(rows);
      if (plain == decode_encode_.end() || plain->second <= 0) continue;
      std::printf(
          "%s: a conversion takes %.1f times the processor time of a plain CP932 decode "
          "and encode\n",
          rows.c_str(), conversion / plain->second);
    }
    ConsoleReporter::Finalize();
  }

 private:
  std::map<std::string, double> conversion_;
  std::map<std::string, double> decode_encode_;
};

}  // namespace
}  // namespace tsubakuro

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tsubakuro::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
