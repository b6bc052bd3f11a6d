#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "core/conversion/company_lock.h"
#include "core/conversion/conversion_run.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"
#include "core/workbook/workbook_export.h"
#include "core/zengin/transfer_date.h"

namespace tsubakuro {

// One conversion of the current company and transfer kind as the user asks for
// it, the same in the desktop program and the command-line converter:
//   1. load_company(): the banks' rules asked for must be known and able to run
//      (check_bank_rules), the company's file is read, whole up to the kind's
//      section, and the kind must be in use;
//   2. claim(): this becomes the company's only conversion, from either program;
//   3. store_date(): the transfer date goes into the company's file;
//   4. prepare(): the input and output files are checked before anything is
//      written, and the answer says how the input becomes comma-separated text;
//   5. make_run(): the run itself, on this procedure's copy of the settings.
// A step that cannot go on fails with a message for the title kErrorTitle. The
// claim lasts as long as the procedure.
class ConversionProcedure {
 public:
  static const QString kErrorTitle;

  explicit ConversionProcedure(const SystemSettings& system);
  ~ConversionProcedure();
  ConversionProcedure(const ConversionProcedure&) = delete;
  ConversionProcedure& operator=(const ConversionProcedure&) = delete;

  const QString& company_name() const { return system_.current_company; }
  TransferKind kind() const { return system_.transfer_kind; }
  const CompanySettings& company() const { return company_; }
  const TransferSettings& section() const { return company_.section(kind()); }
  // The kind's 会社名 header value without its trailing blanks.
  QString company_title() const;
  // The transfer date the company's settings hold for the kind.
  TransferDate transfer_date() const;

  // Fails when the file is missing, cut short before the kind's section, or the
  // kind is not in use. company_read() says whether values were read at all, so
  // that a window can still show them.
  Result<void> load_company();
  // Fails when "tsubakuro.ini" could not be read, or a rule it turns on cannot run
  // (the bank check without its bank list): a conversion must not go on without
  // a rule the user asked for.
  Result<void> check_bank_rules() const;
  bool company_read() const { return company_read_; }
  // Fails when another conversion of the company, in this program or another,
  // holds it, or when something no conversion made stands in the lock file's
  // place. A lock file left by a run that ended is taken over, and the run logs so.
  Result<void> claim();
  // Claims first when not yet claimed. The company keeps its old date when the
  // file cannot be written.
  Result<void> store_date(const TransferDate& date);
  // Claims first when not yet claimed.
  Result<WorkbookRoute> prepare();
  std::unique_ptr<ConversionRun> make_run() const;
  // After prepare(): how the workbook became the run's input, for the run's log.
  void set_workbook_export(const WorkbookExport& done) {
    volatile_function_ = done.volatile_function();
  }
  // Ends the claim before the procedure itself ends, so the company is free the
  // moment its conversion is over rather than whenever the procedure is deleted.
  void release();

 private:
  SystemSettings system_;
  CompanySettings company_;
  bool company_read_ = false;
  bool claimed_ = false;
  // None where the folder takes no lock file (see CompanyLock::claim).
  std::unique_ptr<CompanyLock> lock_;
  // A lock file no conversion held, which claim() took over: the run logs it.
  struct LockTakenOver {
    QString path;
    QString what;
  };
  std::optional<LockTakenOver> lock_taken_over_;
  std::optional<QString> volatile_function_;
};

}  // namespace tsubakuro
