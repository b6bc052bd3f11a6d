#include "cli/results_command.h"

#include <QDir>
#include <QFileInfo>

#include "cli/console.h"
#include "core/conversion/failed_debits_csv.h"
#include "core/settings/company_settings.h"
#include "core/settings/conversion_options.h"
#include "core/settings/system_settings.h"
#include "core/zengin/debit_result_messages.h"
#include "core/zengin/debit_results.h"

namespace tsubakuro::cli {

namespace {

namespace messages = debit_result_messages;

ResultsStatus refuse(const QString& message) {
  print_error(QStringLiteral("エラー: ") + message);
  return kResultsUnreadable;
}

}  // namespace

ResultsStatus run_results(const ConvertRequest& request, const ResultsRequest& results) {
  // The files named on the command line are where the user stands; --dir only
  // says where the settings are.
  const QString bank_file = QFileInfo(*results.bank_file).absoluteFilePath();
  const QString failed_csv =
      results.failed_csv ? QFileInfo(*results.failed_csv).absoluteFilePath() : QString();
  if (!request.directory.isEmpty() && !QDir::setCurrent(request.directory))
    return refuse(QStringLiteral("フォルダ %1 に移動できません。").arg(request.directory));

  SystemSettings system;
  init_field_dictionary(system);
  load_system_settings(system);
  std::optional<CompanySettings> company;
  if (request.company) {
    Result<LoadedCompanySettings> loaded = load_company_settings(*request.company);
    if (!loaded) return refuse(loaded.message());
    company = std::move(loaded->settings);
  }

  const Result<DebitResults> read = read_debit_results(bank_file);
  if (!read) return refuse(read.message());
  if (!read->returned()) return refuse(messages::no_results(bank_file));

  print_out(QStringLiteral("振替結果: %1").arg(*results.bank_file));
  print_out(debit_result_summary(read->tally));
  for (const QString& disagreement : read->disagreements)
    print_out(QStringLiteral("注意: ") + disagreement);

  if (results.failed_csv) {
    const FailedDebitsCsv layout =
        company ? FailedDebitsCsv::for_company(
                      company->debit,
                      take_conversion_options(system, *company).twenty_digit(TransferKind::Debit),
                      system.field_names)
                : FailedDebitsCsv::fixed(system.options.twenty_digit(TransferKind::Debit));
    const Result<qint64> written =
        write_failed_debits(bank_file, read->record_length, layout, failed_csv);
    if (!written) return refuse(written.message());
    print_out(messages::failed_list_written(*written, *results.failed_csv));
  }
  return read->all_debited() ? kAllDebited : kNotAllDebited;
}

}  // namespace tsubakuro::cli
