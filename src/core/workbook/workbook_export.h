#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "core/text/result.h"
#include "core/workbook/workbook_kind.h"
#include "core/workbook/workbook_messages.h"

namespace tsubakuro {

// A payment list kept as a workbook reaches the run as "tbk.tmp", the first
// worksheet's cell values as comma-separated CP932 text. ".xlsx", ".xlsm" and ".ods"
// are read by the program itself (workbook_reader.h), falling back to the office
// suite for a workbook it cannot read; ".xls" needs the suite, and without it keeps
// its old meaning (the user exports "tbk.tmp" by hand).
enum class WorkbookRoute {
  PlainText,       // not a workbook: the run reads the configured file itself
  Export,          // the workbook is converted into "tbk.tmp"
  ExportedByHand,  // ".xls" without the office suite: the run reads the user's "tbk.tmp"
};

// The office suite's program ("soffice" on the search path), or empty text.
QString office_suite_program();

WorkbookRoute workbook_route(const QString& input_path, bool office_suite_installed);

// One conversion of a workbook's first worksheet into `target`: by the program's
// own reader for the kinds it reads (on a thread of its own under start(), so the
// window stays responsive), otherwise or when that reader refuses the workbook by
// the office suite. The suite writes into a private temporary folder with a private profile (a
// suite the user has open would otherwise take the request over); `target` is replaced only when
// the suite produced a sheet, so a failure never leaves a stale "tbk.tmp" looking like the result.
// A conversion that fails is an Error naming the workbook, or Cancelled after a stop.
class WorkbookExport {
 public:
  static constexpr int kDefaultTimeLimitMs = 180'000;

  explicit WorkbookExport(QString workbook, QString target = QString::fromLatin1(kWorkbookTextFile),
                          int time_limit_ms = kDefaultTimeLimitMs);
  ~WorkbookExport();
  WorkbookExport(const WorkbookExport&) = delete;
  WorkbookExport& operator=(const WorkbookExport&) = delete;

  // Starts the suite and returns at once; `done` is called from the event loop when
  // the suite has ended, been stopped, or run out of time. Called at most once.
  void start(std::function<void(const Result<void>&)> done);
  // Runs the suite to the end without an event loop (the command-line converter);
  // `stop_requested` is asked every tenth of a second and stops it like cancel().
  Result<void> run(const std::function<bool()>& stop_requested = {});
  // Stops the suite and everything it started; `done` then reports Cancelled.
  void cancel();
  bool active() const;
  // Which reader made the text, once the export has succeeded.
  std::optional<WorkbookReader> read_by() const { return read_by_; }
  // The function whose value changes with the day of conversion that sent the
  // workbook to the suite, once the export has succeeded that way: the run's log
  // says that the values are the day's.
  std::optional<QString> volatile_function() const {
    return read_by_ == WorkbookReader::OfficeSuite ? volatile_function_ : std::nullopt;
  }
  // Leaves the program's own reader out (to compare it with the suite).
  void use_office_suite_only() { native_allowed_ = false; }

 private:
  bool reads_natively() const;
  // The result of the program's own reading: Unsupported when the suite must try.
  Result<void> after_native_read(Result<void> read);
  void start_suite();
  Result<void> launch();
  void on_finished();
  void kill_suite();
  Result<void> collect();
  void report(const Result<void>& result);

  QString workbook_;
  QString target_;
  int time_limit_ms_;
  QProcess process_;
  QTimer time_limit_;
  std::unique_ptr<QTemporaryDir> work_dir_;
  std::function<void(const Result<void>&)> done_;
  bool cancelled_ = false;
  bool timed_out_ = false;
  bool reported_ = false;
  bool native_allowed_ = true;
  std::optional<WorkbookReader> read_by_;
  std::optional<QString> volatile_function_;  // set by the reader's thread before it reports
  const WorkbookKind* kind_ = nullptr;        // the kind the suite was told to read the workbook as
  std::thread reader_;
  std::atomic<bool> stop_reader_{false};
};

}  // namespace tsubakuro
