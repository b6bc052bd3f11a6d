#include "gui/app/status_panel.h"

#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QMutex>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include "core/conversion/list_survey.h"
#include "core/settings/company_name.h"
#include "core/settings/company_settings.h"
#include "core/workbook/workbook_kind.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/zengin_record_reader.h"
#include "gui/app/app_messages.h"
#include "gui/shell/app_state.h"

namespace tsubakuro {

class StatusCache {
 public:
  std::optional<qint64> rows(const QString& key) {
    QMutexLocker lock(&mutex_);
    const auto found = rows_.constFind(key);
    return found == rows_.constEnd() ? std::nullopt : std::optional<qint64>(*found);
  }
  void keep_rows(const QString& key, qint64 rows) {
    QMutexLocker lock(&mutex_);
    rows_.insert(key, rows);
  }
  std::optional<std::optional<LastRun>> run(const QString& key) {
    QMutexLocker lock(&mutex_);
    const auto found = runs_.constFind(key);
    if (found == runs_.constEnd()) return std::nullopt;
    return *found;
  }
  void keep_run(const QString& key, const std::optional<LastRun>& run) {
    QMutexLocker lock(&mutex_);
    runs_.insert(key, run);
  }

 private:
  QMutex mutex_;
  QHash<QString, qint64> rows_;
  QHash<QString, std::optional<LastRun>> runs_;
};

namespace {

// A file changed in place keeps its name: its size and time tell it apart.
QString file_key(const QFileInfo& file) {
  return QStringLiteral("%1|%2|%3")
      .arg(file.absoluteFilePath())
      .arg(file.size())
      .arg(file.lastModified().toMSecsSinceEpoch());
}

void survey_payment_list(const TransferSettings& section, StatusFacts::List& list,
                         StatusCache& cache) {
  list.file = section.input_file;
  if (list.file.isEmpty()) return;
  const QFileInfo info(list.file);
  if (!info.exists()) {
    list.state = StatusFacts::List::State::Missing;
    return;
  }
  if (!info.isFile() || !info.isReadable()) {
    list.state = StatusFacts::List::State::Unreadable;
    return;
  }
  list.state = StatusFacts::List::State::Found;
  list.modified = info.lastModified();
  // A workbook's rows are known only once the conversion has read it.
  if (workbook_kind(list.file) != nullptr) return;
  const qint64 skip = heading_rows_to_skip(section.skip_header_rows);
  const QString key = file_key(info) + QStringLiteral("|%1|%2").arg(skip).arg(section.skip_footer);
  if ((list.rows = cache.rows(key))) return;
  QFile file(list.file);
  if (!file.open(QIODevice::ReadOnly)) {
    list.state = StatusFacts::List::State::Unreadable;
    return;
  }
  const ListSurvey survey = survey_list(file, skip, section.skip_footer);
  if (survey.failed) {
    list.state = StatusFacts::List::State::Unreadable;
    return;
  }
  list.rows = payment_row_count(survey, skip, section.skip_footer);
  cache.keep_rows(key, *list.rows);
}

Result<std::optional<LastRun>> read_run(const QString& log_file, StatusCache& cache) {
  const QFileInfo info(log_file);
  if (!info.exists()) return std::optional<LastRun>();
  const QString key = file_key(info);
  if (std::optional<std::optional<LastRun>> known = cache.run(key)) return *known;
  Result<std::optional<LastRun>> run = read_last_run(log_file);
  if (run) cache.keep_run(key, *run);
  return run;
}

// The bank file's 合計件数 and 合計金額, when the file is the one `run` wrote: the run
// replaces the bank file just before its log, so a file written before the run
// began, or after its log, is another's.
void read_trailer(const QString& bank_file, int record_length, const LastRun& run,
                  const QString& log_file, StatusFacts& facts) {
  const QFileInfo bank(bank_file);
  const QFileInfo log(log_file);
  if (!bank.isFile()) return;
  const qint64 written = bank.lastModified().toSecsSinceEpoch();
  if (written < run.started.toSecsSinceEpoch() || written > log.lastModified().toSecsSinceEpoch())
    return;
  ZenginRecordReader reader;
  if (!reader.open(bank_file, record_length)) return;
  // The trailer stands before the end record.
  const qint64 count = reader.record_count();
  for (qint64 number = count; number >= std::max<qint64>(1, count - 1); --number) {
    const RecordRead record = reader.read(number);
    if (record.data_kind() != '8') continue;
    const QStringList fields =
        cut_record(record.bytes, record_layout(run.kind, RecordKind::Trailer));
    bool records_read = false;
    bool amount_read = false;
    const qint64 records = fields.value(1).toLongLong(&records_read);
    const qint64 amount = fields.value(2).toLongLong(&amount_read);
    if (records_read && amount_read) {
      facts.records = records;
      facts.amount = amount;
    }
    return;
  }
}

}  // namespace

StatusFacts gather_status(const SystemSettings& system, StatusCache& cache) {
  StatusFacts facts;
  const TransferKind kind = system.transfer_kind;
  Result<LoadedCompanySettings> loaded = load_company_settings(system.current_company);
  if (loaded)
    survey_payment_list(loaded->settings.section(kind), facts.list, cache);
  else
    facts.company = loaded.failure();

  const Result<QString> log_file = company_log_file(system.current_company);
  if (!log_file) return facts;
  facts.last_run = read_run(*log_file, cache);
  if (!loaded || !facts.last_run || !*facts.last_run) return facts;
  const LastRun& run = **facts.last_run;
  if (run.kind != kind || run.cancelled) return facts;
  const CompanySettings& company = loaded->settings;
  const ConversionOptions options = take_conversion_options(system, company);
  read_trailer(company.section(kind).output_file, options.physical_record_length(), run, *log_file,
               facts);
  return facts;
}

StatusPanel::StatusPanel(AppState& app, QWidget* parent)
    : QWidget(parent), app_(app), cache_(std::make_shared<StatusCache>()) {
  setObjectName(QStringLiteral("StatusPanel"));
  auto make_label = [this](const char* name, const QString& accessible) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromUtf8(name));
    label->setAccessibleName(accessible);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
  };
  company_ = make_label("StatusCompany", QStringLiteral("会社と種別"));
  list_ = make_label("StatusList", QStringLiteral("支払一覧"));
  rules_ = make_label("StatusRules", QStringLiteral("銀行提出チェック"));
  last_run_ = make_label("StatusLastRun", QStringLiteral("前回の変換"));

  // Two rows, so that a long company or file name never pushes the last run
  // out of a window of the usual width.
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(4, 0, 4, 0);
  layout->setHorizontalSpacing(24);
  layout->setVerticalSpacing(0);
  layout->addWidget(company_, 0, 0);
  layout->addWidget(list_, 0, 1);
  layout->addWidget(rules_, 1, 0);
  layout->addWidget(last_run_, 1, 1);
  layout->setColumnStretch(1, 1);
  refresh();
}

StatusPanel::~StatusPanel() = default;

void StatusPanel::refresh() {
  const bool company_set = !app_.system.current_company.isEmpty();
  // What is known without reading a file shows at once.
  if (!company_set) {
    // A company registered in 環境設定 is not chosen by it: 切替 chooses.
    company_->setText(company_names().isEmpty() ? app_messages::no_company()
                                                : app_messages::no_company_chosen());
  } else {
    company_->setText(
        app_messages::company_and_kind(app_.system.current_company, app_.system.transfer_kind));
  }
  // While "tsubakuro.ini" cannot be read no conversion runs, so no rule is "in force".
  rules_->setText(app_messages::bank_rules(app_.system.bank_rules_read
                                               ? std::optional<BankRules>(app_.system.bank_rules)
                                               : std::nullopt));
  for (QLabel* part : {list_, rules_, last_run_}) part->setVisible(company_set);
  ++generation_;
  if (!company_set || scheduled_) return;
  // Many changes come together (a window closing, then the menus): one read serves them.
  scheduled_ = true;
  QTimer::singleShot(0, this, &StatusPanel::gather);
}

void StatusPanel::gather() {
  scheduled_ = false;
  if (app_.system.current_company.isEmpty()) return;
  const quint64 generation = generation_;
  auto* watcher = new QFutureWatcher<StatusFacts>(this);
  connect(watcher, &QFutureWatcher<StatusFacts>::finished, this, [this, watcher, generation] {
    --pending_;
    show_facts(watcher->result(), generation);
    watcher->deleteLater();
  });
  ++pending_;
  watcher->setFuture(QtConcurrent::run(
      [system = app_.system, cache = cache_] { return gather_status(system, *cache); }));
}

void StatusPanel::show_facts(const StatusFacts& facts, quint64 generation) {
  // A later change has asked again: its answer is the one to show.
  if (generation != generation_) return;
  if (!facts.company) {
    list_->setText(app_messages::company_unreadable(facts.company.message()));
  } else {
    using State = StatusFacts::List::State;
    const StatusFacts::List& list = facts.list;
    switch (list.state) {
      case State::NotSet:
        list_->setText(app_messages::list_not_set());
        break;
      case State::Missing:
        list_->setText(app_messages::list_missing(list.file));
        break;
      case State::Unreadable:
        list_->setText(app_messages::list_unreadable(list.file));
        break;
      case State::Found:
        list_->setText(app_messages::list_found(list.file, list.rows, list.modified));
        break;
    }
  }
  if (!facts.last_run) {
    last_run_->setText(app_messages::log_unreadable());
  } else if (!*facts.last_run) {
    last_run_->setText(app_messages::never_converted());
  } else if (const LastRun& run = **facts.last_run; run.kind != app_.system.transfer_kind) {
    last_run_->setText(app_messages::other_kind_logged(run.kind));
  } else if (run.cancelled) {
    last_run_->setText(app_messages::last_run_cancelled(run.started));
  } else {
    last_run_->setText(app_messages::last_run(run.started, facts.records, facts.amount, run.errors,
                                              run.corrections));
  }
}

}  // namespace tsubakuro
