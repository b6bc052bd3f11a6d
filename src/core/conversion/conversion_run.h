#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "core/settings/company_settings.h"
#include "core/settings/conversion_options.h"
#include "core/settings/system_settings.h"
#include "core/text/result.h"
#include "core/zengin/bank_list.h"

namespace tsubakuro {

// One conversion of the current company and transfer kind, one step at a time, so
// that a window can serve its events between steps and the command-line
// converter can loop; both give the same bytes. The first step opens the files and
// writes the header; each later step converts one input line; the step that meets
// the end of the input writes the trailer and end records.
//
// The bank file and the log are written beside the files they replace and take
// their places together when the run ends; a cancelled run replaces the log only.
// A run that fails (a missing input, a file that cannot be opened or written)
// ends with a failed result(), every file as it was. The run never
// talks to the user itself: what to say, and when, is the caller's.
class ConversionRun {
 public:
  ConversionRun(const SystemSettings& system, const CompanySettings& company);
  ~ConversionRun();
  ConversionRun(const ConversionRun&) = delete;
  ConversionRun& operator=(const ConversionRun&) = delete;

  bool running() const;
  void step();
  // Stops the run: the records written so far are thrown away, so the bank file
  // stays as it was, and the log, ending with the cancel marker, takes the old
  // log's place. Does nothing once the run has ended.
  void cancel();

  // Once the run has ended: ok when it ran to the end (field errors or not),
  // Cancelled after 中止, otherwise why it could not go on, naming the file.
  const Result<void>& result() const;
  bool has_errors() const;
  // Characters of the lines read against the input's size in bytes; the value is
  // set to the maximum when the run ends normally.
  qint64 progress_value() const;
  qint64 progress_maximum() const;
  // Data records written; becomes the trailer's 合計件数.
  qint64 row_count() const;
  qint64 amount_total() const;
  const ConversionOptions& options() const;

  // The lines the run has logged besides its markers, counted as it logs them:
  // notes of names mended or filled in (補正), warnings (注意), and every other
  // line an error, the first kFirstErrorsKept of them as the log holds them (a
  // character CP932 cannot hold as "?"), so no caller reads the log back.
  static constexpr int kFirstErrorsKept = 20;
  struct LogTally {
    QStringList first_errors;
    qint64 errors = 0;
    qint64 corrections = 0;
    qint64 warnings = 0;
  };
  const LogTally& log_tally() const;
  // The file the run reads ("tbk.tmp" for a workbook path), writes, and logs to.
  QString input_file() const;
  QString output_file() const;
  QString log_file() const;

  // The clock of the log markers' date and time; tests fix it so logs compare
  // byte for byte. Set it before the first step.
  void set_clock(std::function<QDateTime()> clock);
  // The bank list the codes are checked against. Unless one is given (or none,
  // to check nothing), the run takes the shipped list when its options' bank
  // rules turn the check on, and stops before touching any file when that list
  // cannot be read. Set it before the first step.
  void set_bank_list(std::shared_ptr<const BankList> banks);
  // The company's lock file was left by a run that ended, and was taken over:
  // the log says so after its start marker. Set it before the first step.
  void note_lock_taken_over(const QString& path, const QString& what);
  // The function whose value is the day's that the workbook's formulas call, when
  // the office suite computed them (WorkbookExport::volatile_function()): the log
  // says so after its start marker. Set it before the first step.
  void set_volatile_function(const QString& function);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tsubakuro
