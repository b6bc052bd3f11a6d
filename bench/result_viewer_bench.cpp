// How the result viewer copes with long bank files: the time until the window
// shows the header, trailer and end records, the time until every data record
// is in the grid, the longest time the event loop waited during that load, and
// how much the process grew. Run with QT_QPA_PLATFORM=offscreen.

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <map>

#include "core/settings/company_settings.h"
#include "core/zengin/field_dictionary.h"
#include "gui/shell/app_state.h"
#include "gui/viewers/result_viewer.h"

namespace tsubakuro {
namespace {

// Kilobytes from a line of /proc/self/status ("VmRSS:", "VmHWM:").
qint64 status_kib(const QByteArray& key) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').front().toLongLong();
  }
  return 0;
}

// Starts the peak (VmHWM) over from the present size.
void reset_peak() {
  QFile clear_refs(QStringLiteral("/proc/self/clear_refs"));
  if (clear_refs.open(QIODevice::WriteOnly)) clear_refs.write("5");
}

QByteArray record(char kind, qint64 serial) {
  QByteArray bytes(120, ' ');
  bytes[0] = kind;
  if (kind == '2') {
    bytes.replace(1, 4, "0009");
    bytes.replace(20, 3, "123");
    bytes.replace(42, 8, "1" + QByteArray::number(1000000 + serial % 1000000).right(7));
    bytes.replace(50, 8, "\xD4\xCF\xC0\xDE \xC0\xDB\xB3");  // ﾔﾏﾀﾞ ﾀﾛｳ
    bytes.replace(80, 10, QByteArray::number(serial).rightJustified(10, '0'));
  }
  return bytes;
}

// A folder holding one bank file per size, written once for all runs.
class BankFiles {
 public:
  QString path_for(qint64 data_records) {
    auto found = paths_.find(data_records);
    if (found != paths_.end()) return found->second;
    const QString path = dir_.filePath(QStringLiteral("zengin%1.dat").arg(data_records));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(record('1', 0));
    for (qint64 i = 1; i <= data_records; ++i) file.write(record('2', i));
    file.write(record('8', 0));
    file.write(record('9', 0));
    return paths_[data_records] = path;
  }
  QString folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  std::map<qint64, QString> paths_;
};

BankFiles& bank_files() {
  static BankFiles files;
  return files;
}

AppState company_for(const QString& output_file) {
  AppState app;
  app.system.current_company = QStringLiteral("東京");
  app.system.options.record_length = 120;
  app.system.field_names = builtin_field_names();
  app.company.credit.output_file = output_file;
  (void)save_company_settings(app.system.current_company, app.company);
  return app;
}

// Until the window shows its three fixed records: construction and the first show.
void BM_OpenResultViewer(benchmark::State& state) {
  const QString file = bank_files().path_for(state.range(0));
  QDir::setCurrent(bank_files().folder());
  AppState app = company_for(file);
  qint64 growth_kib = 0;
  for (auto _ : state) {
    const qint64 before = status_kib("VmRSS:");
    reset_peak();
    auto* viewer = new ResultViewer(app);
    viewer->resize(1000, 700);
    viewer->show();
    benchmark::DoNotOptimize(viewer->record_count());
    state.PauseTiming();
    growth_kib = qMax(growth_kib, status_kib("VmHWM:") - before);
    viewer->close();
    delete viewer;
    state.ResumeTiming();
  }
  state.counters["peak_growth_MiB"] = static_cast<double>(growth_kib) / 1024.0;
}

// Opening and the whole background load, run by the event loop as in the program.
void BM_LoadAllDataRecords(benchmark::State& state) {
  const QString file = bank_files().path_for(state.range(0));
  QDir::setCurrent(bank_files().folder());
  AppState app = company_for(file);
  qint64 growth_kib = 0;
  qint64 longest_wait_ms = 0;
  for (auto _ : state) {
    const qint64 before = status_kib("VmRSS:");
    reset_peak();
    auto* viewer = new ResultViewer(app);
    viewer->resize(1000, 700);
    viewer->show();
    QEventLoop loop;
    QElapsedTimer since_last_tick;
    since_last_tick.start();
    QTimer watch;  // a ticking user: the gaps between its ticks are how long input waits
    QObject::connect(&watch, &QTimer::timeout, [&] {
      longest_wait_ms = qMax(longest_wait_ms, since_last_tick.restart());
      if (!viewer->loading()) loop.quit();
    });
    watch.start(0);
    loop.exec();
    state.PauseTiming();
    const auto* data_grid = viewer->findChild<QTableView*>(QStringLiteral("MSFlexGrid1(1)"));
    if (data_grid->model()->rowCount() != state.range(0))
      state.SkipWithError("the load stopped before the last data record");
    growth_kib = qMax(growth_kib, status_kib("VmHWM:") - before);
    viewer->close();
    delete viewer;
    state.ResumeTiming();
  }
  state.counters["peak_growth_MiB"] = static_cast<double>(growth_kib) / 1024.0;
  state.counters["longest_wait_ms"] = static_cast<double>(longest_wait_ms);
}

BENCHMARK(BM_OpenResultViewer)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAllDataRecords)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace tsubakuro

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
