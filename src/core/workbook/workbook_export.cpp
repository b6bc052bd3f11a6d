#include "core/workbook/workbook_export.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "core/files/save_file.h"

#ifdef Q_OS_UNIX
#include <signal.h>
#include <unistd.h>
#endif

namespace tsubakuro {
namespace {

// The suite's comma-separated text filter: comma, double quote, character set 60
// (Windows code page 932), the cells' values rather than their display formats
// (token 9 false: no thousands separators, no fixed decimals), no formulas, and only
// the first worksheet (token 12). Text cells are quoted only when they must be.
constexpr char kCsvFilter[] =
    "csv:Text - txt - csv (StarCalc):44,34,60,1,,0,false,true,false,false,false,1";

QString file_label(const QString& path) { return QFileInfo(path).fileName(); }

// Saves starting the suite for a file that plainly is not the container of its kind.
bool has_container_of(const QString& path, const WorkbookKind& kind) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  return file.read(kind.magic_size) == QByteArray(kind.magic, kind.magic_size);
}

QString kind_label(const WorkbookKind* kind) {
  return kind ? QString::fromUtf8(kind->label) : QStringLiteral("表計算のブック");
}

QString not_a_workbook_message(const QString& workbook, const QString& label) {
  return QStringLiteral("「%1」は%2として読み込めません。壊れているか、別の形式のファイルです。")
      .arg(file_label(workbook), label);
}

// A cell holding a line break would cut its row in two, and the run reads one row
// per line: inside quotes a line break becomes a space. A double quote and the
// line-end bytes are never the second byte of a CP932 character, so bytes suffice.
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

QString exported_by_hand_notice(const QString& workbook) {
  return QStringLiteral(
             "表計算ソフトがないため「%1」は読まず、作業フォルダの「%2」を読み込みます。")
      .arg(file_label(workbook), QString::fromLatin1(kWorkbookTextFile));
}

QString exported_by_hand_missing_message(const QString& workbook) {
  return QStringLiteral(
             "表計算ソフトがないため「%1」は読めません。"
             "シートをカンマ区切りで作業フォルダの「%2」に保存してください。")
      .arg(file_label(workbook), QString::fromLatin1(kWorkbookTextFile));
}

QString refused_workbook_message(const QString& workbook) {
  return QStringLiteral(
             "「%1」を読むには表計算ソフト(LibreOffice)が必要です。"
             "カンマ区切りのテキストで保存したファイルを入力ファイルに指定してください。")
      .arg(file_label(workbook));
}

WorkbookExport::WorkbookExport(QString workbook, QString target, int time_limit_ms)
    : workbook_(std::move(workbook)), target_(std::move(target)), time_limit_ms_(time_limit_ms) {
  time_limit_.setSingleShot(true);
  QObject::connect(&time_limit_, &QTimer::timeout, &process_, [this] {
    timed_out_ = true;
    kill_suite();
  });
  QObject::connect(&process_, &QProcess::finished, &process_, [this] { on_finished(); });
  QObject::connect(
      &process_, &QProcess::errorOccurred, &process_, [this](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        time_limit_.stop();
        report({WorkbookExportStatus::Failed,
                QStringLiteral("表計算ソフトを起動できませんでした。「%1」は変換できません。")
                    .arg(file_label(workbook_))});
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

bool WorkbookExport::launch() {
  const QString program = office_suite_program();
  if (program.isEmpty()) {
    launch_failure_ = refused_workbook_message(workbook_);
    return false;
  }
  const WorkbookKind* kind = workbook_kind(workbook_);
  if (!kind || !has_container_of(workbook_, *kind)) {
    launch_failure_ = not_a_workbook_message(workbook_, kind_label(kind));
    return false;
  }
  kind_label_ = kind_label(kind);
  work_dir_ =
      std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tsubakuro-XXXXXX"));
  if (!work_dir_->isValid()) {
    launch_failure_ = QStringLiteral("一時フォルダを作れないため「%1」を変換できません。")
                          .arg(file_label(workbook_));
    return false;
  }
  const QString profile = work_dir_->filePath(QStringLiteral("profile"));
  const QString out = work_dir_->filePath(QStringLiteral("out"));
  QDir().mkpath(out);
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
#ifdef Q_OS_UNIX
  // The suite's launcher starts the real program as its own child: a process group
  // of their own lets 中止 and the time limit stop both.
  process_.setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
  process_.start(program, arguments);
  time_limit_.start(time_limit_ms_);
  return true;
}

bool WorkbookExport::reads_natively() const {
  return native_allowed_ && is_natively_read_workbook(workbook_);
}

std::optional<WorkbookExportResult> WorkbookExport::after_native_read(
    const WorkbookReadResult& read) {
  switch (read.status) {
    case WorkbookReadStatus::Done:
      return WorkbookExportResult{WorkbookExportStatus::Done, {}};
    case WorkbookReadStatus::Cancelled:
      return WorkbookExportResult{WorkbookExportStatus::Cancelled, {}};
    case WorkbookReadStatus::Failed:
      return WorkbookExportResult{WorkbookExportStatus::Failed, read.message};
    case WorkbookReadStatus::Refused:
      break;
  }
  if (office_suite_program().isEmpty()) {
    return WorkbookExportResult{
        WorkbookExportStatus::Failed,
        read.message + QStringLiteral("表計算ソフト(LibreOffice)があれば読めることがあります。")};
  }
  return std::nullopt;
}

void WorkbookExport::start(std::function<void(const WorkbookExportResult&)> done) {
  done_ = std::move(done);
  if (reads_natively()) {
    reader_ = std::thread([this] {
      const WorkbookReadResult read =
          read_workbook(workbook_, target_, [this] { return stop_reader_.load(); });
      QMetaObject::invokeMethod(
          &process_,
          [this, read] {
            reader_.join();
            if (reported_) return;
            const std::optional<WorkbookExportResult> result = after_native_read(read);
            if (cancelled_) {
              report({WorkbookExportStatus::Cancelled, {}});
            } else if (result) {
              report(*result);
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
  if (!launch()) {
    // Reported from the event loop, as every other ending is.
    QTimer::singleShot(0, &process_, [this] {
      report({WorkbookExportStatus::Failed, launch_failure_});
    });
  }
}

WorkbookExportResult WorkbookExport::run(const std::function<bool()>& stop_requested) {
  WorkbookExportResult result;
  if (reads_natively()) {
    const std::optional<WorkbookExportResult> read =
        after_native_read(read_workbook(workbook_, target_, stop_requested));
    if (read) {
      reported_ = true;
      return *read;
    }
  }
  done_ = [&result](const WorkbookExportResult& r) { result = r; };
  if (!launch()) return {WorkbookExportStatus::Failed, launch_failure_};
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

WorkbookExportResult WorkbookExport::collect() {
  const QString name = file_label(workbook_);
  if (cancelled_) return {WorkbookExportStatus::Cancelled, {}};
  if (timed_out_) {
    return {WorkbookExportStatus::Failed,
            QStringLiteral("「%1」の変換が制限時間(%2秒)内に終わりませんでした。")
                .arg(name)
                .arg(time_limit_ms_ / 1000)};
  }
  const QDir out(work_dir_->filePath(QStringLiteral("out")));
  const QStringList sheets = out.entryList({QStringLiteral("*.csv")}, QDir::Files);
  if (process_.exitStatus() != QProcess::NormalExit || process_.exitCode() != 0 ||
      sheets.size() != 1) {
    return {WorkbookExportStatus::Failed,
            not_a_workbook_message(workbook_, kind_label_) +
                QStringLiteral("パスワードが掛かったブックも読み込めません。")};
  }
  QFile sheet(out.filePath(sheets.first()));
  QByteArray csv;
  if (sheet.open(QIODevice::ReadOnly)) csv = sheet.readAll();
  join_cell_lines(csv);
  if (sheet.error() != QFileDevice::NoError || !save_file(target_, csv)) {
    return {WorkbookExportStatus::Failed,
            QStringLiteral("「%1」に書き込めないため「%2」を変換できません。").arg(target_, name)};
  }
  return {WorkbookExportStatus::Done, {}};
}

void WorkbookExport::report(const WorkbookExportResult& result) {
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
