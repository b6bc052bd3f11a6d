// How long the shipped bank list takes to read (the goal: well under 100 ms, since
// the first conversion with the code check and the first 銀行検索 wait for it),
// against reading the same file's bytes and decoding them as UTF-8, the floor any
// reader pays; and how long a search and a look-up by code take.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>

#include "core/zengin/bank_list.h"

namespace tsubakuro {
namespace {

QString list_path() {
  for (const QString& location : bank_list_locations()) {
    if (QFile::exists(location)) return location;
  }
  return {};
}

void ReadBytesAndDecode(benchmark::State& state) {
  const QString path = list_path();
  for (auto _ : state) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    benchmark::DoNotOptimize(QString::fromUtf8(file.readAll()));
  }
}
BENCHMARK(ReadBytesAndDecode)->Unit(benchmark::kMillisecond);

void ReadBankList(benchmark::State& state) {
  const QString path = list_path();
  for (auto _ : state) {
    const auto list = BankList::read(path);
    if (!list.ok()) state.SkipWithError("no bank list");
    benchmark::DoNotOptimize(list);
  }
}
BENCHMARK(ReadBankList)->Unit(benchmark::kMillisecond);

void LookUpByCode(benchmark::State& state) {
  const auto list = BankList::read(list_path()).value();
  for (auto _ : state) {
    benchmark::DoNotOptimize(list->branch(u"0005", u"001"));
    benchmark::DoNotOptimize(list->bank(u"9999"));
  }
}
BENCHMARK(LookUpByCode);

void FindBanksByHiragana(benchmark::State& state) {
  const auto list = BankList::read(list_path()).value();
  for (auto _ : state) benchmark::DoNotOptimize(list->find_banks(u"みつ"));
}
BENCHMARK(FindBanksByHiragana)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tsubakuro

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
