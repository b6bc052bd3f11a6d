#include "core/workbook/workbook_export.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "core/files/save_file.h"
#include "core/workbook/workbook_reader.h"

#ifdef Q_OS_UNIX
#include <signal.h>
#include <unistd.h>
#endif

namespace tsubakuro {
namespace {

// The suite's comma-separated text filter: comma, double quote, character set 60
// (Windows code page 932), Japanese (language 1041), the cells' values rather than
// their display formats (token 9 false: no thousands separators, no fixed decimals),
// no formulas, and only the first worksheet (token 12). Text cells are quoted only
// when they must be.
constexpr char kCsvFilter[] =
    "csv:Text - txt - csv (StarCalc):44,34,60,1,,1041,false,true,false,false,false,1";

// The suite writes a date or time in the form of its own locale, which it takes from
// its settings before the process's environment: the private profile starts out set
// to Japanese, so the text is the same on every machine, and the program's own reader
// writes the same (sheet_text.h).
constexpr char kProfileSettings[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooSetupSystemLocale" oor:op="fuse"><value>ja-JP</value></prop></item>
</oor:items>
)";

// The suite names its output after the sheet, in the character set of the C library's
// locale: a Japanese sheet name needs a UTF-8 one, and one that is installed (where
// ja_JP.UTF-8 is not, the suite writes nothing at all). C.UTF-8 always is.
QProcessEnvironment suite_environment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const QString& name : environment.keys()) {
    if (name.startsWith(QLatin1String("LC_")) || name == QLatin1String("LANG") ||
        name == QLatin1String("LANGUAGE"))
      environment.remove(name);
  }
  environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
  return environment;
}

// Saves starting the suite for a file that plainly is not the container of its kind.
bool has_container_of(const QString& path, const WorkbookKind& kind) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(kind.magic_size) == QByteArray(kind.magic, kind.magic_size);
}

// The program's own reader refused the workbook, which the suite may still read.
bool suite_must_try(const Result<void>& read) {
  return !read && read.kind() == Failure::Kind::Unsupported;
}

// A cell's line break becomes a space, as the run reads a quoted line break, so
// "tbk.tmp" keeps one row a line.
// A double quote and the line-end bytes are never the second byte of a CP932
// character, so bytes suffice.
void join_cell_lines(QByteArray& csv) {
  bool quoted = false;
  for (qsizetype i = 0; i < csv.size(); ++i) {
    const char c = csv[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (quoted && (c == '\n' || c == '\r')) {
      if (c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') csv.remove(i, 1);
      csv[i] = ' ';
    }
  }
}

}  // namespace

QString office_suite_program() { return QStandardPaths::findExecutable(QStringLiteral("soffice")); }

WorkbookRoute workbook_route(const QString& input_path, bool office_suite_installed) {
  if (!is_workbook_path(input_path)) return WorkbookRoute::PlainText;
  if (office_suite_installed || is_natively_read_workbook(input_path)) return WorkbookRoute::Export;
  return WorkbookRoute::ExportedByHand;
}

WorkbookExport::WorkbookExport(QString workbook, QString target, int time_limit_ms)
    : workbook_(std::move(workbook)), target_(std::move(target)), time_limit_ms_(time_limit_ms) {
  time_limit_.setSingleShot(true);
  QObject::connect(&time_limit_, &QTimer::timeout, &process_, [this] {
    timed_out_ = true;
    kill_suite();
  });
  QObject::connect(&process_, &QProcess::finished, &process_, [this] { on_finished(); });
  QObject::connect(&process_, &QProcess::errorOccurred, &process_,
                   [this](QProcess::ProcessError e) {
                     if (e != QProcess::FailedToStart) return;
                     time_limit_.stop();
                     report(failure(suite_not_started_message(workbook_)));
                   });
}

WorkbookExport::~WorkbookExport() {
  // The callback may belong to a window that is going away with this object.
  done_ = nullptr;
  reported_ = true;
  stop_reader_ = true;
  if (reader_.joinable()) reader_.join();
  QObject::disconnect(&process_, nullptr, nullptr, nullptr);
  kill_suite();
  process_.waitForFinished(5000);
}

Result<void> WorkbookExport::launch() {
  const QString program = office_suite_program();
  if (program.isEmpty()) return failure(refused_workbook_message(workbook_));
  const WorkbookKind* kind = workbook_kind(workbook_);
  if (!kind || !has_container_of(workbook_, *kind))
    return failure(not_a_workbook_message(workbook_, kind));
  kind_ = kind;
  work_dir_ =
      std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tsubakuro-XXXXXX"));
  if (!work_dir_->isValid()) return failure(no_temporary_folder_message(workbook_));
  const QString profile = work_dir_->filePath(QStringLiteral("profile"));
  const QString out = work_dir_->filePath(QStringLiteral("out"));
  QDir().mkpath(out);
  QDir().mkpath(profile + QStringLiteral("/user"));
  if (!save_file(profile + QStringLiteral("/user/registrymodifications.xcu"),
                 QByteArray(kProfileSettings)))
    return failure(no_temporary_folder_message(workbook_));
  const QStringList arguments = {
      QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
      QStringLiteral("--headless"),
      QStringLiteral("--norestore"),
      QStringLiteral("--nolockcheck"),
      QStringLiteral("--infilter=") + QString::fromLatin1(kind->office_filter),
      QStringLiteral("--convert-to"),
      QString::fromLatin1(kCsvFilter),
      QStringLiteral("--outdir"),
      out,
      QFileInfo(workbook_).absoluteFilePath(),
  };
  process_.setStandardOutputFile(QProcess::nullDevice());
  process_.setStandardErrorFile(QProcess::nullDevice());
  process_.setProcessEnvironment(suite_environment());
#ifdef Q_OS_UNIX
  // The suite's launcher starts the real program as its own child: a process group
  // of their own lets 中止 and the time limit stop both.
  process_.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
  process_.start(program, arguments);
  time_limit_.start(time_limit_ms_);
  return {};
}

bool WorkbookExport::reads_natively() const {
  return native_allowed_ && is_natively_read_workbook(workbook_);
}

Result<void> WorkbookExport::after_native_read(Result<void> read) {
  if (suite_must_try(read) && office_suite_program().isEmpty()) {
    if (volatile_function_)
      return failure(volatile_function_without_suite_message(workbook_, *volatile_function_));
    return failure(refused_read_without_suite_message(read.message()));
  }
  return read;
}

void WorkbookExport::start(std::function<void(const Result<void>&)> done) {
  done_ = std::move(done);
  if (reads_natively()) {
    reader_ = std::thread([this] {
      const Result<void> read = read_workbook(
          workbook_, target_, [this] { return stop_reader_.load(); }, &volatile_function_);
      QMetaObject::invokeMethod(
          &process_,
          [this, read] {
            reader_.join();
            if (reported_) return;
            const Result<void> result = after_native_read(read);
            if (cancelled_) {
              report(cancelled());
            } else if (!suite_must_try(result)) {
              if (result) read_by_ = WorkbookReader::Program;
              report(result);
            } else {
              start_suite();
            }
          },
          Qt::QueuedConnection);
    });
    return;
  }
  start_suite();
}

void WorkbookExport::start_suite() {
  if (Result<void> launched = launch(); !launched) {
    // Reported from the event loop, as every other ending is.
    QTimer::singleShot(0, &process_, [this, launched] { report(launched); });
  }
}

Result<void> WorkbookExport::run(const std::function<bool()>& stop_requested) {
  if (reads_natively()) {
    const Result<void> read =
        after_native_read(read_workbook(workbook_, target_, stop_requested, &volatile_function_));
    if (!suite_must_try(read)) {
      reported_ = true;
      if (read) read_by_ = WorkbookReader::Program;
      return read;
    }
  }
  Result<void> result = failure(QString());
  done_ = [&result](const Result<void>& r) { result = r; };
  if (Result<void> launched = launch(); !launched) return launched;
  if (process_.waitForStarted(30'000)) {
    QElapsedTimer clock;
    clock.start();
    while (!process_.waitForFinished(100)) {
      if (process_.state() == QProcess::NotRunning) break;
      if (stop_requested && stop_requested()) {
        cancelled_ = true;
      } else if (clock.elapsed() >= time_limit_ms_) {
        timed_out_ = true;
      } else {
        continue;
      }
      kill_suite();
      process_.waitForFinished(5000);
      break;
    }
  }
  if (!reported_) on_finished();
  done_ = nullptr;
  return result;
}

void WorkbookExport::cancel() {
  if (reported_) return;
  cancelled_ = true;
  stop_reader_ = true;
  kill_suite();
}

bool WorkbookExport::active() const {
  return !reported_ && (reader_.joinable() || process_.state() != QProcess::NotRunning);
}

void WorkbookExport::kill_suite() {
  if (process_.state() == QProcess::NotRunning) return;
#ifdef Q_OS_UNIX
  const qint64 pid = process_.processId();
  if (pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
#endif
  process_.kill();
}

void WorkbookExport::on_finished() {
  time_limit_.stop();
  if (reported_) return;
  report(collect());
}

Result<void> WorkbookExport::collect() {
  if (cancelled_) return cancelled();
  if (timed_out_) return failure(suite_time_limit_message(workbook_, time_limit_ms_ / 1000));
  const QDir out(work_dir_->filePath(QStringLiteral("out")));
  const QStringList sheets = out.entryList({QStringLiteral("*.csv")}, QDir::Files);
  if (process_.exitStatus() != QProcess::NormalExit || process_.exitCode() != 0 ||
      sheets.size() != 1)
    return failure(suite_failed_message(workbook_, kind_));
  QFile sheet(out.filePath(sheets.first()));
  QByteArray csv;
  if (sheet.open(QIODevice::ReadOnly)) csv = sheet.readAll();
  join_cell_lines(csv);
  if (sheet.error() != QFileDevice::NoError || !save_file(target_, csv))
    return failure(unwritable_target_message(target_, workbook_));
  read_by_ = WorkbookReader::OfficeSuite;
  return {};
}

void WorkbookExport::report(const Result<void>& result) {
  if (reported_) return;
  reported_ = true;
  work_dir_.reset();
  if (done_) {
    auto done = std::move(done_);
    done_ = nullptr;
    done(result);
  }
}

}  // namespace tsubakuro
