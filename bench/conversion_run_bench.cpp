// Whole conversions of generated payment lists: rows per second, and the peak
// memory of the process, which must stay flat however long the list (the run
// streams its input, its output and its log).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/conversion/conversion_run.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "core/text/cp932.h"

namespace tsubakuro {
namespace {

// A payroll-like list: kana names, a quoted one now and then, amounts in yen.
void write_payment_list(const QString& name, qint64 rows) {
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write the list");
  for (qint64 i = 0; i < rows; ++i) {
    const QString line =
        QStringLiteral("%1,ﾐｽﾞﾎ,%2,ﾎﾝﾃﾝ,,1,%3,%4,%5,0,%6,,7,\r\n")
            .arg(i % 10000, 4, 10, QChar(u'0'))
            .arg(i % 1000, 3, 10, QChar(u'0'))
            .arg(i % 10'000'000, 7, 10, QChar(u'0'))
            .arg(i % 7 == 0 ? QStringLiteral("\"ﾀﾅｶ ﾀﾛｳ\"") : QStringLiteral("ﾔﾏﾀﾞ ﾊﾅｺ"))
            .arg(1000 + i % 500'000)
            .arg(i);
    file.write(encode_cp932(line).bytes);
  }
}

double peak_resident_megabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

void BM_Conversion(benchmark::State& state) {
  QTemporaryDir dir;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(dir.path());
  write_payment_list("list.csv", state.range(0));

  SystemSettings system;
  init_field_dictionary(system);
  system.current_company = "bench";
  system.options.record_length = 120;
  CompanySettings company;
  TransferSettings& credit = company.credit;
  credit.input_file = "list.csv";
  credit.output_file = "out.dat";
  credit.header_values = {"21",   "0", "1234567890", "ﾍﾞﾝﾁ", "0425",    "1",
                          "ﾐｽﾞﾎ", "1", "ﾎﾝﾃﾝ",       "1",    "1234567", ""};
  for (int i = 0; i < kBodyColumnCount; ++i) credit.body_columns[i] = QString::number(i + 1);

  for (auto _ : state) {
    ConversionRun run(system, company);
    while (run.running()) run.step();
    if (!run.result().ok()) state.SkipWithError("the conversion did not finish");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
  state.counters["peak_MB"] = peak_resident_megabytes();
  QDir::setCurrent(previous);
}

BENCHMARK(BM_Conversion)
    ->RangeMultiplier(10)
    ->Range(1'000, 1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace tsubakuro

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
