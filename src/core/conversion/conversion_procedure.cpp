#include "core/conversion/conversion_procedure.h"

#include <QFileInfo>

#include "core/conversion/company_lock.h"
#include "core/conversion/conversion_messages.h"
#include "core/conversion/run_files.h"
#include "core/settings/company_name.h"
#include "core/settings/settings_messages.h"
#include "core/workbook/workbook_kind.h"
#include "core/zengin/padding.h"

namespace tsubakuro {

const QString ConversionProcedure::kErrorTitle = QStringLiteral("エラー");

ConversionProcedure::ConversionProcedure(const SystemSettings& system) : system_(system) {}

ConversionProcedure::~ConversionProcedure() = default;

QString ConversionProcedure::company_title() const {
  return trim_trailing_spaces(QStringView(section().header_values[kHeaderCompanyName])).toString();
}

TransferDate ConversionProcedure::transfer_date() const {
  return TransferDate::from_stored(section().header_values[kHeaderTransferDate]);
}

Result<void> ConversionProcedure::check_bank_rules() const {
  if (!system_.bank_rules_read) return system_.bank_rules_read;
  if (system_.bank_rules.check_codes) {
    if (const auto& banks = load_shipped_bank_list(); !banks)
      return failure(banks.message() + conversion_messages::bank_list_needed());
  }
  return {};
}

Result<void> ConversionProcedure::load_company() {
  if (Result<void> rules = check_bank_rules(); !rules) return rules;
  Result<LoadedCompanySettings> loaded = load_company_settings(company_name(), company_);
  company_read_ = loaded.ok();
  if (!company_read_) return loaded.failure();
  company_ = std::move(loaded->settings);
  // An empty or cut-short file would convert with the kind's paths and columns
  // missing; it needs saving again, not the kind switching on.
  if (loaded->values_read < values_through_section(kind()))
    return failure(broken_company_settings_message(*company_settings_file(company_name())));
  if (section().enabled == 0)
    return failure(QStringLiteral("環境設定にて、使用するにチェックが入っていません。"));
  return {};
}

void ConversionProcedure::release() {
  lock_.reset();
  claimed_ = false;
}

Result<void> ConversionProcedure::claim() {
  if (claimed_) return {};
  const Result<QString> name = company_lock_file(company_name());
  if (!name) return name.failure();
  Result<CompanyLock::Claimed> claimed = CompanyLock::claim(*name, company_name());
  if (!claimed) return claimed.failure();
  claimed_ = true;
  lock_ = std::move(claimed->lock);
  if (claimed->taken_over) lock_taken_over_ = LockTakenOver{*name, *claimed->taken_over};
  return {};
}

Result<void> ConversionProcedure::store_date(const TransferDate& date) {
  if (Result<void> claimed = claim(); !claimed) return claimed;
  QString& stored = company_.section(kind()).header_values[kHeaderTransferDate];
  const QString previous = stored;
  stored = date.stored();
  Result<void> saved = save_company_settings(company_name(), company_);
  if (!saved) stored = previous;
  return saved;
}

Result<WorkbookRoute> ConversionProcedure::prepare() {
  if (Result<void> claimed = claim(); !claimed) return claimed.failure();
  if (const Result<QString> log = company_log_file(company_name()); log)
    settle_pending_pair(section().output_file, *log);
  const QString& input = section().input_file;
  Result<void> files = check_input_file(input);
  if (files) {
    files = check_output_file(section().output_file, input, run_input_file(input),
                              company_log_file(company_name()).value_or(QString()));
  }
  if (!files) return files.failure();
  const WorkbookRoute route = workbook_route(input, !office_suite_program().isEmpty());
  if (route == WorkbookRoute::ExportedByHand &&
      !QFileInfo(QString::fromLatin1(kWorkbookTextFile)).isFile())
    return failure(exported_by_hand_missing_message(input));
  return route;
}

std::unique_ptr<ConversionRun> ConversionProcedure::make_run() const {
  auto run = std::make_unique<ConversionRun>(system_, company_);
  if (lock_taken_over_) run->note_lock_taken_over(lock_taken_over_->path, lock_taken_over_->what);
  if (volatile_function_) run->set_volatile_function(*volatile_function_);
  return run;
}

}  // namespace tsubakuro
