#include "cli/convert_command.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "cli/console.h"
#include "cli/interrupt.h"
#include "cli/list_command.h"
#include "cli/log_summary.h"
#include "cli/progress_bar.h"
#include "core/conversion/conversion_messages.h"
#include "core/conversion/conversion_procedure.h"
#include "core/zengin/transfer_date.h"

namespace tsubakuro::cli {

namespace {

// Enough to see what kind of mistake the list holds; the log has them all.
constexpr int kErrorLinesShown = ConversionRun::kFirstErrorsKept;

QString with_separators(qint64 number) {
  return QLocale(QLocale::Japanese, QLocale::Japan).toString(number);
}

void print_field_errors(const FieldErrorSummary& errors) {
  for (const QString& line : errors.first) print_out(line);
  if (errors.total > errors.first.size())
    print_out(
        QStringLiteral("…ほか %1 件").arg(with_separators(errors.total - errors.first.size())));
}

void print_totals(const ConversionRun& run) {
  print_out(QStringLiteral("合計件数: %1件").arg(with_separators(run.row_count())));
  print_out(QStringLiteral("合計金額: %1円").arg(with_separators(run.amount_total())));
  print_out(QStringLiteral("出力ファイル: %1").arg(run.output_file()));
}

ExitStatus refuse(const QString& message) {
  print_error(ConversionProcedure::kErrorTitle + QStringLiteral(": ") + message);
  return kNotConverted;
}

// A workbook reaches the run as "tbk.tmp", made as the desktop program's
// preparation window makes it, so both roads give the same files.
bool prepare_workbook(ConversionProcedure& procedure, const QString& input, WorkbookRoute route) {
  switch (route) {
    case WorkbookRoute::PlainText:
      return true;
    case WorkbookRoute::ExportedByHand:
      print_out(exported_by_hand_notice(input));
      return true;
    case WorkbookRoute::Export: {
      print_out(reading_workbook_notice(input));
      WorkbookExport export_(input);
      const Result<void> result = export_.run(interrupt_requested);
      if (result) {
        procedure.set_workbook_export(export_);
        if (const std::optional<WorkbookReader> reader = export_.read_by())
          print_error(workbook_read_by_notice(*reader));
        return true;
      }
      // After Ctrl+C the caller says that the conversion was cancelled.
      if (!result.cancelled()) refuse(result.message());
      return result.cancelled();
    }
  }
  return false;
}

void print_cancelled() {
  print_out(conversion_messages::cancelled());
  print_out(conversion_messages::output_unchanged());
}

// Steps the run to its end, serving Ctrl+C between two lines.
void drive(ConversionRun& run) {
  run.step();  // opens the files: the input's size is known from here on
  ProgressBar bar(run.progress_maximum());
  while (run.running()) {
    if (interrupt_requested()) {
      run.cancel();
      break;
    }
    run.step();
    bar.update(run.progress_value(), run.row_count());
  }
  bar.finish();
}

ExitStatus report_outcome(const ConversionRun& run) {
  const Result<void>& result = run.result();
  if (result.cancelled()) {
    print_cancelled();
    return kCancelled;
  }
  if (!result) return refuse(result.message());
  const FieldErrorSummary summary = summarize_field_errors(run, kErrorLinesShown);
  if (run.has_errors()) {
    print_out(QStringLiteral("%1エラーログ: %2")
                  .arg(conversion_messages::finished_with_errors(), run.log_file()));
    print_field_errors(summary);
  } else {
    print_out(conversion_messages::finished());
  }
  if (summary.corrections > 0)
    print_out(QStringLiteral("名前を全銀協の文字に直した欄: %1件（エラーログに「補正：」で記録）")
                  .arg(with_separators(summary.corrections)));
  if (summary.warnings > 0)
    print_out(QStringLiteral("注意: %1件（銀行一覧と違う名前・切り詰めた名前など。"
                             "エラーログに「注意：」で記録）")
                  .arg(with_separators(summary.warnings)));
  print_totals(run);
  return run.has_errors() ? kConvertedWithErrors : kConverted;
}

}  // namespace

ExitStatus run_convert(const ConvertRequest& request) {
  // From here on Ctrl+C only asks to stop, so a settings file being saved is
  // never left half written.
  watch_interrupt();
  if (!request.directory.isEmpty() && !QDir::setCurrent(request.directory))
    return refuse(QStringLiteral("フォルダ %1 に移動できません。").arg(request.directory));

  SystemSettings system;
  init_field_dictionary(system);
  load_system_settings(system);
  if (request.check_characters) system.bank_rules.check_characters = *request.check_characters;
  if (request.normalize_names) system.bank_rules.normalize_names = *request.normalize_names;
  if (request.check_codes) system.bank_rules.check_codes = *request.check_codes;
  if (request.company) system.current_company = *request.company;
  if (request.kind) system.transfer_kind = *request.kind;
  if (system.current_company.trimmed().isEmpty())
    return refuse(QStringLiteral("会社が選ばれていません。--company で会社名を指定してください。"));

  ConversionProcedure procedure(system);
  if (const Result<void> loaded = procedure.load_company(); !loaded)
    return refuse(loaded.message());
  if (const Result<void> claimed = procedure.claim(); !claimed) return refuse(claimed.message());
  if (request.transfer_date) {
    if (const Result<void> stored = procedure.store_date(*request.transfer_date); !stored)
      return refuse(stored.message());
  }

  print_out(QStringLiteral("%1【%2】 %3  指定日 %4")
                .arg(procedure.company_name(), procedure.company_title(),
                     transfer_kind_word(procedure.kind()), procedure.transfer_date().stored()));
  // Only a warning, as in the date prompt: the list may be converted ahead of time.
  const TransferDate date = procedure.transfer_date().resolved(QDate::currentDate());
  const QString warning = date.bank_closed_warning();
  if (!warning.isEmpty())
    print_error(QStringLiteral("警告: 指定日 %1 は%2").arg(date.full_text(), warning));

  const Result<WorkbookRoute> route = procedure.prepare();
  if (!route) return refuse(route.message());
  if (!prepare_workbook(procedure, procedure.section().input_file, *route)) return kNotConverted;
  if (interrupt_requested()) {
    print_cancelled();
    return kCancelled;
  }
  const std::unique_ptr<ConversionRun> run = procedure.make_run();
  drive(*run);
  const ExitStatus status = report_outcome(*run);
  if (!request.list_pdf || (status != kConverted && status != kConvertedWithErrors)) return status;
  TransferListOptions list_options;
  list_options.twenty_digit = run->options().twenty_digit(procedure.kind());
  list_options.converted_on = QDate::currentDate();
  return std::max(status, write_list_pdf(run->output_file(), *request.list_pdf, list_options));
}

}  // namespace tsubakuro::cli
