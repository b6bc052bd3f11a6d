// Peak memory of tsubakuro-convert on a payment list of one endless line: a
// heading and then 2 GiB of zeros without a line end (a sparse file, so it takes
// no disk). The line is read past in chunks, never held, so the peak must match
// that of a list of a few rows; the goal is under 64 MB.
//
//   build/bench/long_line_bench
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern char** environ;

namespace {

const QString kList = QStringLiteral("振込データ.csv");

// The sample company's settings in a fresh folder, with `list_size` bytes of list:
// its heading line, then zeros.
bool prepare_folder(const QTemporaryDir& dir, qint64 list_size) {
  const QDir examples(QStringLiteral(TSUBAKURO_SOURCE_DIR "/examples"));
  for (const QString& name : {QStringLiteral("tbk.ini"), QStringLiteral("サンプル商事.cfg")}) {
    QFile::remove(dir.filePath(name));
    if (!QFile::copy(examples.filePath(name), dir.filePath(name))) return false;
  }
  QFile list(dir.filePath(kList));
  if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  list.write("heading\r\n");
  return list.resize(list_size);
}

// The converter's own peak resident memory, in MiB, as the kernel counted it.
double converter_peak_mib(const QString& folder) {
  const QByteArray program =
      QFile::encodeName(QCoreApplication::applicationDirPath() + "/../tsubakuro-convert");
  const QByteArray dir_option = "--dir";
  const QByteArray dir = QFile::encodeName(folder);
  char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(dir_option.constData()),
                  const_cast<char*>(dir.constData()), nullptr};
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.constData(), &quiet, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return -1;
  return usage.ru_maxrss / 1024.0;
}

void BM_PeakMemory(benchmark::State& state) {
  QTemporaryDir dir;
  if (!prepare_folder(dir, state.range(0))) {
    state.SkipWithError("cannot prepare the folder");
    return;
  }
  double peak = 0;
  for (auto _ : state) peak = std::max(peak, converter_peak_mib(dir.path()));
  state.counters["peak_rss_mib"] = peak;
}

// A short list first, as the baseline the endless line is compared with.
BENCHMARK(BM_PeakMemory)
    ->ArgName("list_bytes")
    ->Arg(1 << 10)
    ->Arg(2LL << 30)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
