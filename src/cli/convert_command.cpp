#include "cli/convert_command.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "cli/console.h"
#include "cli/interrupt.h"
#include "cli/log_summary.h"
#include "cli/progress_bar.h"
#include "core/engine/conversion_run.h"
#include "core/engine/workbook_export.h"
#include "core/settings/company_settings.h"
#include "core/settings/system_settings.h"

namespace tsubakuro::cli {

namespace {

const QString kErrorTitle = QStringLiteral("エラー");
constexpr int kHeaderDateIndex = 4;
constexpr int kHeaderCompanyNameIndex = 3;
// Enough to see what kind of mistake the list holds; the log has them all.
constexpr int kErrorLinesShown = 20;

QString with_separators(qint64 number) {
  return QLocale(QLocale::Japanese, QLocale::Japan).toString(number);
}

void print_field_errors(const QString& log_file) {
  const FieldErrorSummary errors = summarize_field_errors(log_file, kErrorLinesShown);
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
  print_error(kErrorTitle + QStringLiteral(": ") + message);
  return kNotConverted;
}

// A workbook reaches the run as "tbk.tmp", made as the desktop program's
// preparation window makes it, so both roads give the same files.
bool prepare_workbook(const QString& input) {
  if (!QFileInfo(input).isFile()) return true;  // the run reports a missing input
  switch (workbook_route(input, !office_suite_program().isEmpty())) {
    case WorkbookRoute::PlainText:
      return true;
    case WorkbookRoute::Refused:
      refuse(refused_workbook_message(input));
      return false;
    case WorkbookRoute::ExportedByHand:
      if (!QFileInfo(QString::fromLatin1(kWorkbookTextFile)).isFile()) {
        refuse(exported_by_hand_missing_message(input));
        return false;
      }
      print_out(exported_by_hand_notice(input));
      return true;
    case WorkbookRoute::Export: {
      print_out(QStringLiteral("「%1」を読み込んでいます。").arg(QFileInfo(input).fileName()));
      const WorkbookExportResult result = WorkbookExport(input).run(interrupt_requested);
      if (result.status == WorkbookExportStatus::Done) return true;
      // After Ctrl+C the caller says that the conversion was cancelled.
      if (result.status == WorkbookExportStatus::Failed) refuse(result.message);
      return result.status == WorkbookExportStatus::Cancelled;
    }
  }
  return false;
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
  switch (run.outcome()) {
    case RunOutcome::Normal:
      if (run.has_errors()) {
        print_out(QStringLiteral("変換エラーがあります。エラーログ: %1").arg(run.log_file()));
        print_field_errors(run.log_file());
      } else {
        print_out(QStringLiteral("変換が終了しました。"));
      }
      print_totals(run);
      return run.has_errors() ? kConvertedWithErrors : kConverted;
    case RunOutcome::Cancelled:
      print_out(QStringLiteral("変換をキャンセルされました。"));
      print_out(QStringLiteral("出力ファイル %1 には中止までの %2 件だけが書かれています。")
                    .arg(run.output_file(), with_separators(run.row_count())));
      return kCancelled;
    case RunOutcome::NotRun:
      return kNotConverted;  // the run has told the notifier why
  }
  return kNotConverted;
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
  if (request.company) system.current_company = *request.company;
  if (request.kind) system.transfer_kind = *request.kind;
  if (system.current_company.trimmed().isEmpty())
    return refuse(QStringLiteral("会社が選ばれていません。--company で会社名を指定してください。"));

  StderrNotifier notifier;
  CompanySettings company;
  // A missing file or a name that is no file name has been told to the notifier.
  if (!load_company_settings(system.current_company, company, notifier)) return kNotConverted;

  TransferSettings& section = company.section(system.transfer_kind);
  if (section.enabled == 0)
    return refuse(QStringLiteral("環境設定にて、使用するにチェックが入っていません。"));

  if (request.transfer_date) {
    section.header_values[kHeaderDateIndex] = *request.transfer_date;
    const SaveResult saved = save_company_settings(system.current_company, company);
    if (!saved.ok) return refuse(saved.message);
  }

  QString company_name = section.header_values[kHeaderCompanyNameIndex];
  while (company_name.endsWith(QLatin1Char(' '))) company_name.chop(1);
  print_out(QStringLiteral("%1【%2】 %3  指定日 %4")
                .arg(system.current_company, company_name, transfer_kind_word(system.transfer_kind),
                     section.header_values[kHeaderDateIndex]));

  if (!prepare_workbook(section.input_file)) return kNotConverted;
  if (interrupt_requested()) {
    print_out(QStringLiteral("変換をキャンセルされました。"));
    return kCancelled;
  }
  ConversionRun run(system, company, notifier);
  if (request.check_codes) run.set_bank_list(*request.check_codes ? shipped_bank_list() : nullptr);
  drive(run);
  return report_outcome(run);
}

}  // namespace tsubakuro::cli
