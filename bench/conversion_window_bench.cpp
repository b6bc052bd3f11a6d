// The run window against the plain step loop of tsubakuro-convert on the same
// 100,000-row payment list: the window lets events run while it works, and must
// stay within twice the converter's time. Also reports the longest time the window
// left events waiting (how soon 中止 and a repaint are served).
//
//   build/bench/conversion_window_bench --benchmark_min_time=1x
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "core/conversion/conversion_procedure.h"
#include "core/conversion/conversion_run.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "core/text/cp932.h"
#include "gui/app/main_window.h"
#include "gui/conversion/run_window.h"

namespace tsubakuro {
namespace {

constexpr int kRows = 100'000;
const QString kCompany = QStringLiteral("ベンチ商事");

// A working folder with one company and a payment list of kRows clean rows.
class Workbench {
 public:
  Workbench() {
    QDir::setCurrent(dir_.path());
    CompanySettings company;
    TransferSettings& credit = company.credit;
    credit.input_file = QStringLiteral("payments.csv");
    credit.output_file = QStringLiteral("FURIKOMI.DAT");
    credit.header_values = {
        QStringLiteral("21"),        QStringLiteral("0"),       QStringLiteral("1234567890"),
        QStringLiteral("ﾍﾞﾝﾁｼｮｳｼﾞ"), QStringLiteral("0425"),    QStringLiteral("0310"),
        QStringLiteral("ﾐﾅﾄｷﾞﾝｺｳ"),  QStringLiteral("001"),     QStringLiteral("ﾎﾝﾃﾝ"),
        QStringLiteral("1"),         QStringLiteral("1234567"), QString()};
    const char* columns[] = {"1", "2", "3", "4", "", "5", "6", "7", "8", "", "9", "", "", ""};
    for (int i = 0; i < kBodyColumnCount; ++i)
      credit.body_columns[i] = QString::fromLatin1(columns[i]);
    credit.skip_header_rows = QStringLiteral("1");
    credit.enabled = true;
    (void)save_company_settings(kCompany, company);

    QByteArray list = encode_cp932(QStringLiteral("銀行コード,銀行名,支店コード,支店名,預金種目,"
                                                  "口座番号,受取人名,振込金額,取引先番号\r\n"))
                          .bytes;
    for (int i = 0; i < kRows; ++i) {
      list += encode_cp932(QStringLiteral("0310,ﾐﾅﾄｷﾞﾝｺｳ,001,ﾎﾝﾃﾝ,1,%1,ﾔﾏﾀﾞ ﾀﾛｳ,%2,%3\r\n")
                               .arg(1000000 + i)
                               .arg(1000 + i % 50000)
                               .arg(i))
                  .bytes;
    }
    QFile file(credit.input_file);
    if (file.open(QIODevice::WriteOnly)) file.write(list);

    SystemSettings system;
    init_field_dictionary(system);
    system.current_company = kCompany;
    system.options.record_length = 120;
    (void)save_system_settings(system);
  }

 private:
  QTemporaryDir dir_;
};

void load(AppState& app) {
  init_field_dictionary(app.system);
  load_system_settings(app.system);
  if (Result<LoadedCompanySettings> loaded = load_company_settings(kCompany))
    app.company = std::move(loaded->settings);
}

// What tsubakuro-convert does: the steps in a plain loop.
void BM_StepLoop(benchmark::State& state) {
  AppState app;
  load(app);
  for (auto _ : state) {
    ConversionRun run(app.system, app.company);
    while (run.running()) run.step();
    benchmark::DoNotOptimize(run.row_count());
  }
  state.counters["rows_per_second"] = benchmark::Counter(
      static_cast<double>(kRows) * state.iterations(), benchmark::Counter::kIsRate);
}

// The converter as a user starts it, process start included.
void BM_TsubakuroConvert(benchmark::State& state) {
  const QString program =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../tsubakuro-convert");
  for (auto _ : state) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {});
    process.waitForFinished(-1);
    if (process.exitCode() != 0) state.SkipWithError("tsubakuro-convert did not convert");
  }
}

// The run window in the main window, from its opening to its closing message.
void BM_RunWindow(benchmark::State& state) {
  AppState app;
  load(app);
  MainWindow main(app);
  main.show();
  QElapsedTimer since_last_tick;
  qint64 longest_wait = 0;
  QTimer ticker;  // stands for a click or a repaint waiting in the queue
  ticker.setInterval(0);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    longest_wait = std::max(longest_wait, since_last_tick.restart());
    // The closing message waits for its "OK".
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->objectName() == QStringLiteral("確認メッセージ") && window->isVisible()) {
        if (auto* ok = window->findChild<QPushButton*>(QStringLiteral("Command1(0)"))) ok->click();
      }
    }
  });
  for (auto _ : state) {
    ConversionProcedure procedure(app.system);
    if (!procedure.load_company().ok()) state.SkipWithError("the company could not be read");
    main.show_child(new RunWindow(app, procedure));
    since_last_tick.start();
    ticker.start();
    while (app.open_windows.count(WindowSlot::Conversion) > 0) QCoreApplication::processEvents();
    ticker.stop();
  }
  main.mdi_area()->closeAllSubWindows();
  state.counters["longest_event_wait_ms"] = static_cast<double>(longest_wait);
  state.counters["rows_per_second"] = benchmark::Counter(
      static_cast<double>(kRows) * state.iterations(), benchmark::Counter::kIsRate);
}

// What letting events run costs once, with the main window and a child shown: the
// reason the window does not do it after every single row.
void BM_ProcessEventsOnce(benchmark::State& state) {
  AppState app;
  load(app);
  MainWindow main(app);
  main.show();
  QCoreApplication::processEvents();
  for (auto _ : state) QCoreApplication::processEvents();
}

BENCHMARK(BM_StepLoop)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TsubakuroConvert)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RunWindow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ProcessEventsOnce)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tsubakuro

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  tsubakuro::Workbench workbench;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
