#include "core/conversion/conversion_procedure.h"

#include <QFileInfo>
#include <QLockFile>

#include "core/conversion/run_files.h"
#include "core/settings/company_name.h"
#include "core/settings/settings_messages.h"
#include "core/workbook/workbook_kind.h"

namespace tsubakuro {
namespace {

constexpr int kCompanyTitleValue = 3;  // 会社名 in the kind's header values
constexpr int kDateValue = 4;          // 振込指定日 / 振替指定日

}  // namespace

const QString ConversionProcedure::kErrorTitle = QStringLiteral("エラー");

ConversionProcedure::ConversionProcedure(const SystemSettings& system) : system_(system) {}

ConversionProcedure::~ConversionProcedure() = default;

QString ConversionProcedure::company_title() const {
  QString title = section().header_values[kCompanyTitleValue];
  while (title.endsWith(u' ')) title.chop(1);
  return title;
}

QString ConversionProcedure::transfer_date() const { return section().header_values[kDateValue]; }

bool ConversionProcedure::fail(const QString& message) {
  problem_ = message;
  return false;
}

bool ConversionProcedure::load_company() {
  Result<LoadedCompanySettings> loaded = load_company_settings(company_name(), company_);
  company_read_ = loaded.ok();
  if (!company_read_) return fail(loaded.message());
  company_ = std::move(loaded->settings);
  // An empty or cut-short file would convert with the kind's paths and columns
  // missing; it needs saving again, not the kind switching on.
  if (loaded->values_read < values_through_section(kind()))
    return fail(broken_company_settings_message(*company_settings_file(company_name())));
  if (section().enabled == 0)
    return fail(QStringLiteral("環境設定にて、使用するにチェックが入っていません。"));
  return true;
}

void ConversionProcedure::release() { lock_.reset(); }

bool ConversionProcedure::claim() {
  if (lock_) return true;
  const Result<QString> name = company_lock_file(company_name());
  if (!name) return fail(name.message());
  auto lock = std::make_unique<QLockFile>(*name);
  // A conversion may take any time; only a lock whose process is gone (killed,
  // or the machine stopped) is stale.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0)) {
    lock_ = std::move(lock);
    return true;
  }
  if (lock->error() == QLockFile::LockFailedError) {
    return fail(QStringLiteral("会社「%1」の変換がほかで行われています。"
                               "その変換が終わってから、もう一度変換してください。")
                    .arg(company_name()));
  }
  // A folder where no lock file can be made (full, read-only) is one where the
  // date and the log cannot be written either: the step that writes them stops
  // the conversion, naming its own file, before anything is touched.
  return true;
}

bool ConversionProcedure::store_date(const QString& date) {
  if (!claim()) return false;
  QString& stored = company_.section(kind()).header_values[kDateValue];
  const QString previous = stored;
  stored = date;
  const Result<void> saved = save_company_settings(company_name(), company_);
  if (saved) return true;
  stored = previous;
  return fail(saved.message());
}

std::optional<WorkbookRoute> ConversionProcedure::prepare() {
  if (!claim()) return std::nullopt;
  const QString& input = section().input_file;
  QString problem = input_file_problem(input);
  if (problem.isEmpty()) {
    problem = output_file_problem(
        section().output_file, input, run_input_file(input),
        company_log_file(company_name()) ? *company_log_file(company_name()) : QString());
  }
  if (!problem.isEmpty()) {
    fail(problem);
    return std::nullopt;
  }
  const WorkbookRoute route = workbook_route(input, !office_suite_program().isEmpty());
  if (route == WorkbookRoute::ExportedByHand &&
      !QFileInfo(QString::fromLatin1(kWorkbookTextFile)).isFile()) {
    fail(exported_by_hand_missing_message(input));
    return std::nullopt;
  }
  return route;
}

std::unique_ptr<ConversionRun> ConversionProcedure::make_run() const {
  return std::make_unique<ConversionRun>(system_, company_);
}

}  // namespace tsubakuro
