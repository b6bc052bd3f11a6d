#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

#include "core/settings/company_settings.h"
#include "core/settings/conversion_options.h"
#include "core/settings/notifier.h"
#include "core/settings/system_settings.h"
#include "core/zengin/bank_list.h"

namespace tsubakuro {

enum class RunOutcome {
  Normal = 0,     // ran to the end (field errors or not)
  Cancelled = 1,  // 中止
  NotRun = 2,     // input missing, or a file that could not be opened or written
};

// One conversion of the current company and transfer kind, one step at a time, so
// that a window can let pending events run between steps and the command-line
// converter can loop; both give the same bytes. The first step opens the files and
// writes the header; each later step converts one input line; the step that meets
// the end of the input writes the trailer and end records. Messages the user must
// see at once (a missing input file, a file that cannot be opened or written) go to
// the notifier and end the run with NotRun, leaving the bank file as it was; the
// final message is the caller's, from outcome() and has_errors().
class ConversionRun {
 public:
  ConversionRun(const SystemSettings& system, const CompanySettings& company, Notifier& notifier);
  ~ConversionRun();
  ConversionRun(const ConversionRun&) = delete;
  ConversionRun& operator=(const ConversionRun&) = delete;

  bool running() const;
  void step();
  // Stops the run: the cancel marker is logged, the records written so far stay,
  // with no trailer or end record. Does nothing once the run has ended.
  void cancel();

  RunOutcome outcome() const;
  bool has_errors() const;
  // Characters of the lines read against the input's size in bytes; the value is
  // set to the maximum when the run ends normally.
  qint64 progress_value() const;
  qint64 progress_maximum() const;
  qint64 row_count() const;
  qint64 amount_total() const;
  const ConversionOptions& options() const;
  // The file the run reads ("tbk.tmp" for a workbook path), writes, and logs to.
  QString input_file() const;
  QString output_file() const;
  QString log_file() const;
  // After outcome NotRun: the message that was shown.
  QString failure_message() const;

  // The clock of the log markers' date and time; tests fix it so logs compare
  // byte for byte. Set it before the first step.
  void set_clock(std::function<QDateTime()> clock);
  // The bank list the codes are checked against. Unless one is given (or none,
  // to check nothing), the run takes the shipped list when "tsubakuro.ini" turns
  // the check on. Set it before the first step.
  void set_bank_list(std::shared_ptr<const BankList> banks);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tsubakuro
