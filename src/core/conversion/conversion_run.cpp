#include "core/conversion/conversion_run.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <optional>

#include "core/conversion/conversion_messages.h"
#include "core/conversion/list_survey.h"
#include "core/conversion/row_reader.h"
#include "core/conversion/run_files.h"
#include "core/files/save_file.h"
#include "core/log/conversion_log.h"
#include "core/log/log_messages.h"
#include "core/records/data_record.h"
#include "core/records/field_checker.h"
#include "core/records/header_record.h"
#include "core/records/physical_record.h"
#include "core/records/single_byte_row_builder.h"
#include "core/records/trailer_record.h"
#include "core/settings/company_name.h"
#include "core/text/cp932.h"
#include "core/workbook/workbook_kind.h"
#include "core/zengin/bank_characters.h"
#include "core/zengin/padding.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/record_plan.h"

namespace tsubakuro {
namespace {

qint64 saturating_add(qint64 total, qint64 amount) {
  constexpr qint64 kMax = std::numeric_limits<qint64>::max();
  constexpr qint64 kMin = std::numeric_limits<qint64>::min();
  if (amount > 0 && total > kMax - amount) return kMax;
  if (amount < 0 && total < kMin - amount) return kMin;
  return total + amount;
}

qint64 skip_count(const QString& stored) { return heading_rows_to_skip(stored); }

}  // namespace

class ConversionRun::Impl {
 public:
  Impl(const SystemSettings& system, const CompanySettings& company)
      : options_(take_conversion_options(system, company)),
        transfer_(system.transfer_kind),
        company_(system.current_company),
        section_(company.section(transfer_)),
        field_names_(system.field_names),
        field_kinds_(system.field_kinds),
        checker_(field_kinds_, transfer_, options_.kana_table),
        input_file_(run_input_file(section_.input_file)),
        log_file_(company_log_file(company_) ? *company_log_file(company_) : QString()) {}

  void step();
  void cancel();

  const ConversionOptions options_;
  const TransferKind transfer_;
  const QString company_;
  const TransferSettings section_;
  const FieldTable field_names_;
  const FieldTable field_kinds_;
  const FieldChecker checker_;
  std::function<QDateTime()> clock_ = [] { return QDateTime::currentDateTime(); };
  // Taken as the run starts when it checks codes; none when the list is missing.
  std::shared_ptr<const BankList> banks_;
  bool banks_given_ = false;
  // A 給与・賞与 file with the character check on: the payee's name (its field,
  // offset and width in the data record) is weighed for letters and symbols.
  bool payroll_names_checked_ = false;
  int payee_field_ = 0;
  qsizetype payee_start_ = 0;
  int payee_width_ = 0;
  // The lock file this run's procedure took over, and what it was.
  std::optional<std::pair<QString, QString>> lock_taken_over_;
  std::optional<QString> volatile_function_;

  const QString input_file_;
  const QString log_file_;

  bool running_ = true;
  bool started_ = false;
  // Ok until the run is cancelled or cannot go on.
  Result<void> result_;
  bool has_errors_ = false;
  qint64 progress_ = 0;
  qint64 progress_maximum_ = 0;
  qint64 row_count_ = 0;
  // Numbers the rows in the log: a row too long to convert takes its number
  // without a record, so the numbers stay those of the list's rows.
  qint64 row_number_ = 0;
  qint64 amount_total_ = 0;
  LogTally tally_;

 private:
  void start();
  bool open_files();
  void convert_next_line();
  bool survey_input();
  bool read_next_line(QByteArray& line);
  void convert_row(const QString& line, QByteArrayView bytes, bool unclosed_quote);
  void convert_single_byte_row(const SingleByteRowBuilder::Row& row, QByteArrayView bytes);
  // A data field's error message in the log's bytes, on both sides of the record
  // number, made once per field and run: a list with a wrong column logs it for
  // every row.
  struct FieldErrorText {
    QByteArray before_number;
    QByteArray after_number;
  };
  const FieldErrorText& data_field_error(int field);
  bool report_column_shape(QByteArrayView row, qint64 columns);
  bool report_skipped_payment(const QString& line, SkippedEnd end);
  void refuse_long_row();
  void end_input();
  void finish();
  void stop_cancelled();

  bool write_record(QByteArrayView logical);
  bool report_payroll_name(QByteArrayView record, qint64 record_number);
  bool report(const BuiltRecord& record, RecordKind kind, qint64 record_number);
  // An entry of the log, counted in the tally; a marker is not.
  bool log(const QString& message);
  bool log_marker(const QString& message);
  void count_error(const auto& logged);
  QString marker(const QString& word) const { return word + u' ' + log_timestamp(clock_()); }
  // Ends the run with nothing more written: the output keeps its old content.
  void abort(const QString& message);

  QFile input_;
  std::optional<RowReader> reader_;
  // Absent, or dropped with its temporary file, until the run has written the bank
  // file whole: the old one stays until then.
  std::optional<SaveFile> output_;
  // The row being converted and a log message; their room serves every row.
  QByteArray line_;
  QByteArray message_;
  std::array<FieldErrorText, 32> data_field_errors_;
  // The bank list's word on each bank and branch name, for both builds.
  BankNameMemo bank_names_;
  // Buffers of the general build, kept across rows so a row costs no allocation
  // for them.
  QString decoded_line_;
  QString unescaped_;
  // Built once the bank list is known.
  std::optional<SingleByteRowBuilder> single_byte_rows_;
  SingleByteRowBuilder::Row single_byte_row_;
  std::optional<ConversionLog> log_;
  ColumnMap column_map_;
  ListSurvey survey_;
  qint64 line_number_ = 0;  // rows read so far, skipped ones included
};

void ConversionRun::Impl::step() {
  if (!running_) return;
  if (!started_) {
    started_ = true;
    start();
  } else {
    convert_next_line();
  }
}

void ConversionRun::Impl::cancel() {
  if (running_) stop_cancelled();
}

void ConversionRun::Impl::stop_cancelled() {
  running_ = false;
  result_ = tsubakuro::cancelled();
  if (!started_) return;  // nothing was opened, nothing is touched
  input_.close();
  // A bank file without its trailer is no bank file: the old one stays.
  output_.reset();
  if (!log_marker(marker(log_cancel_marker()))) return;
  if (const Result<void> committed = log_->commit(); !committed) abort(committed.message());
}

void ConversionRun::Impl::start() {
  has_errors_ = false;
  progress_ = 0;
  // A check the user turned on that cannot run stops the run before anything is
  // touched: converting without it would pass wrong codes unseen.
  if (!banks_given_ && options_.bank_rules.check_codes) {
    const Result<std::shared_ptr<const BankList>>& banks = load_shipped_bank_list();
    if (!banks) {
      abort(banks.message() + conversion_messages::bank_list_needed());
      return;
    }
    banks_ = *banks;
  }
  if (const Result<void> input = check_input_file(section_.input_file); !input) {
    abort(input.message());
    return;
  }
  if (!open_files() || !survey_input()) return;
  progress_maximum_ = input_.size();

  const QString company_name =
      trim_trailing_spaces(section_.header_values[kHeaderCompanyName]).toString();
  if (!log_marker(log_title(company_, company_name, transfer_))) return;
  if (!log_marker(marker(log_start_marker()))) return;
  if (lock_taken_over_ &&
      !log(compose_lock_taken_over(lock_taken_over_->first, lock_taken_over_->second)))
    return;
  if (volatile_function_ && !log(compose_volatile_function_note(*volatile_function_))) return;

  const BuiltRecord header =
      build_header_record(section_.header_values, transfer_, options_, checker_, banks_.get());
  if (!write_record(header.bytes) || !report(header, RecordKind::Header, 0)) return;

  row_count_ = 0;
  row_number_ = 0;
  amount_total_ = 0;
  payroll_names_checked_ = transfer_ == TransferKind::Credit &&
                           options_.bank_rules.check_characters &&
                           is_payroll_kind(section_.header_values[kHeaderKindCode]);
  for (const PlannedField& planned : record_plan(transfer_, RecordKind::Data)) {
    if (planned.put != FieldPut::Name) continue;
    payee_field_ = planned.field;
    payee_start_ = field_start(transfer_, RecordKind::Data, planned.field) - 1;
    payee_width_ = record_layout(transfer_, RecordKind::Data)[planned.field - 1].width;
  }
  column_map_ = prepare_column_map(section_.body_columns);
  single_byte_rows_.emplace(column_map_, transfer_, options_, checker_, banks_.get(), &bank_names_);

  QByteArray line;
  for (qint64 skipped = skip_count(section_.skip_header_rows); skipped > 0; --skipped) {
    if (reader_->at_end()) {
      end_input();
      return;
    }
    read_next_line(line);
    if (reader_->too_long()) {
      progress_ += reader_->row_bytes();
      continue;
    }
    const QString heading = decode_cp932(line);
    progress_ += heading.size();
    if (!report_skipped_payment(heading, SkippedEnd::Heading)) return;
  }
}

// The first pass: the list's usual column count and where its content ends.
bool ConversionRun::Impl::survey_input() {
  QFile list(input_file_);
  if (list.open(QIODevice::ReadOnly)) {
    survey_ = survey_list(list, skip_count(section_.skip_header_rows), section_.skip_footer);
    if (!survey_.failed) return true;
  }
  abort(conversion_messages::input_unreadable(input_file_));
  return false;
}

bool ConversionRun::Impl::read_next_line(QByteArray& line) {
  if (!reader_->read_row(line)) return false;
  ++line_number_;
  if (reader_->at_end()) drop_end_of_file_mark(line);
  return true;
}

// Checks and opens in an order that leaves every file as it was when one cannot
// be opened: the input only reads, and the output and the log are written beside
// their old selves, replacing them only at the end.
bool ConversionRun::Impl::open_files() {
  if (log_file_.isEmpty()) {
    abort(company_log_file(company_).message());
    return false;
  }
  input_.setFileName(input_file_);
  if (input_file_ != section_.input_file && !input_.exists()) {
    abort(conversion_messages::workbook_text_missing(input_file_));
    return false;
  }
  if (input_file_ != section_.input_file) {
    if (const Result<void> input = check_input_file(input_file_); !input) {
      abort(input.message());
      return false;
    }
  }
  if (section_.output_file.isEmpty()) {
    abort(conversion_messages::output_not_set());
    return false;
  }
  if (const Result<void> output =
          check_output_file(section_.output_file, section_.input_file, input_file_, log_file_);
      !output) {
    abort(output.message());
    return false;
  }
  const QString log_kind = special_file_kind(log_file_);
  if (!log_kind.isEmpty()) {
    abort(conversion_messages::log_is_special(log_file_, log_kind));
    return false;
  }
  if (!input_.open(QIODevice::ReadOnly)) {
    abort(conversion_messages::input_unopenable(input_file_));
    return false;
  }
  reader_.emplace(input_);
  output_.emplace(section_.output_file);
  if (!output_->open()) {
    abort(conversion_messages::output_uncreatable(section_.output_file));
    return false;
  }
  log_.emplace(log_file_);
  if (const Result<void> reset = log_->reset_log(); !reset) {
    abort(reset.message());
    return false;
  }
  return true;
}

// The input has no more lines: a read that failed ends the run, the end of the
// list finishes it.
void ConversionRun::Impl::end_input() {
  if (reader_->failed()) {
    abort(conversion_messages::input_unreadable(input_file_));
  } else {
    finish();
  }
}

void ConversionRun::Impl::convert_next_line() {
  if (reader_->at_end()) {
    end_input();
    return;
  }
  QByteArray& bytes = line_;
  read_next_line(bytes);
  const bool too_long = reader_->too_long();
  // Empty lines after the last content are no rows, and the footer is the last
  // line that holds anything.
  const bool trailing_empty =
      !too_long && line_number_ > survey_.last_content_line && line_holds_nothing(bytes);
  const bool footer = section_.skip_footer && line_number_ == survey_.last_content_line;
  if (too_long) {
    if (!trailing_empty && !footer) refuse_long_row();
    progress_ += reader_->row_bytes();
    return;
  }
  if (!trailing_empty && !footer && single_byte_rows_->build(bytes, single_byte_row_)) {
    convert_single_byte_row(single_byte_row_, bytes);
    progress_ += single_byte_row_.characters;
    return;
  }
  decoded_line_.resize(bytes.size());
  decoded_line_.truncate(
      decode_cp932_into(bytes, reinterpret_cast<char16_t*>(decoded_line_.data())));
  const QString& line = decoded_line_;
  if (footer)
    report_skipped_payment(line, SkippedEnd::Footer);
  else if (!trailing_empty)
    convert_row(line, bytes, reader_->unclosed());
  progress_ += line.size();
}

void ConversionRun::Impl::convert_row(const QString& line, QByteArrayView bytes,
                                      bool unclosed_quote) {
  ++row_count_;
  ++row_number_;
  const DataRecord row = build_data_record(line, column_map_, transfer_, options_, checker_,
                                           banks_.get(), &bank_names_, &unescaped_);
  amount_total_ = saturating_add(amount_total_, row.amount);
  if (!write_record(row.record.bytes)) return;
  if (unclosed_quote) {
    has_errors_ = true;
    if (!log(compose_unclosed_quote_error(row_number_))) return;
  }
  if (!report_column_shape(bytes, column_count(bytes))) return;
  if (!report(row.record, RecordKind::Data, row_number_)) return;
  report_payroll_name(row.record.bytes, row_number_);
}

void ConversionRun::Impl::convert_single_byte_row(const SingleByteRowBuilder::Row& row,
                                                  QByteArrayView bytes) {
  ++row_count_;
  ++row_number_;
  amount_total_ = saturating_add(amount_total_, row.amount);
  const QByteArrayView record(row.bytes.data(), row.bytes.size());
  if (!write_record(record) || !report_column_shape(bytes, row.columns)) return;
  // As report() logs a record's corrections, before its errors.
  const bool twenty_digit = options_.twenty_digit(transfer_);
  for (const FieldCorrection& correction : row.corrections) {
    if (!log(compose_field_correction(field_names_, transfer_, twenty_digit,
                                      data_kind_code(RecordKind::Data), correction.field,
                                      row_number_, correction.corrected, correction.original)))
      return;
  }
  // As report() logs a record's failed fields; these come without reasons.
  if (row.failed_fields != 0) has_errors_ = true;
  for (int field = 1; field < 32 && row.failed_fields != 0; ++field) {
    if ((row.failed_fields & (1u << field)) == 0) continue;
    const FieldErrorText& text = data_field_error(field);
    message_.resize(0);
    message_.append(text.before_number);
    append_log_record_number(row_number_, message_);
    message_.append(text.after_number);
    if (const Result<void> logged = log_->append_encoded(message_); !logged) {
      abort(logged.message());
      return;
    }
    count_error(message_);
  }
  report_payroll_name(record, row_number_);
}

const ConversionRun::Impl::FieldErrorText& ConversionRun::Impl::data_field_error(int field) {
  FieldErrorText& text = data_field_errors_[field];
  if (text.after_number.isEmpty()) {
    // The message of record 0, in the log's bytes, cut around its six zeros: the
    // text stays compose_field_error's alone.
    const bool twenty_digit = options_.twenty_digit(transfer_);
    const QString message = compose_field_error(field_names_, transfer_, twenty_digit,
                                                data_kind_code(RecordKind::Data), field, 0);
    const qsizetype zeros = message.indexOf(u"000000");
    ConversionLog::encode_message(QStringView(message).first(zeros), text.before_number);
    ConversionLog::encode_message(QStringView(message).sliced(zeros + 6), text.after_number);
  }
  return text;
}

bool ConversionRun::Impl::report_column_shape(QByteArrayView row, qint64 columns) {
  const qint64 differing = column_count_differing(row, columns, survey_.expected_columns);
  if (differing == 0) return true;
  has_errors_ = true;
  return log(compose_column_count_error(row_number_, differing, survey_.expected_columns,
                                        survey_.columns_from_heading));
}

// A skipped line is built as a row would be, so what reads as a payment is what
// the checks pass: every number a payment needs, and an amount above zero. The
// payee is left out: a row whose name fails its check is still a payment meant.
bool ConversionRun::Impl::report_skipped_payment(const QString& line, SkippedEnd end) {
  const DataRecord row = build_data_record(line, column_map_, transfer_, options_, checker_,
                                           banks_.get(), &bank_names_, &unescaped_);
  if (row.amount <= 0) return true;
  int payee = 0;
  for (const PlannedField& planned : record_plan(transfer_, RecordKind::Data)) {
    if (!planned.required) continue;
    if (planned.put == FieldPut::Name)
      payee = planned.field;
    else if (row.record.failed_fields.contains(planned.field))
      return true;
  }
  const QByteArray name =
      row.record.bytes.mid(field_start(transfer_, RecordKind::Data, payee) - 1,
                           record_layout(transfer_, RecordKind::Data)[payee - 1].width);
  has_errors_ = true;
  return log(
      compose_skipped_payment_error(end, trim_trailing_spaces(decode_cp932(name)), row.amount));
}

void ConversionRun::Impl::refuse_long_row() {
  ++row_number_;
  has_errors_ = true;
  log(compose_long_row_error(row_number_));
}

void ConversionRun::Impl::finish() {
  if (row_count_ == 0) {
    has_errors_ = true;
    if (!log(no_data_error())) return;
  }
  const BuiltRecord trailer =
      build_trailer_record(row_count_, amount_total_, transfer_, options_, checker_);
  if (!write_record(trailer.bytes) || !report(trailer, RecordKind::Trailer, row_count_)) return;
  if (!write_record(build_end_record())) return;
  input_.close();
  if (!log_marker(marker(log_end_marker()))) return;
  // Both files whole on the disk and linked under their pending names before
  // either takes its place, and then the two renames back to back. A run stopped
  // between them leaves the new log pending beside the new bank file, and the
  // next conversion puts it in place before anything else (settle_pending_pair):
  // a log never stands beside a bank file it does not describe.
  const QString output_pending = pending_file_name(section_.output_file);
  const QString log_pending = pending_file_name(log_file_);
  if (!output_->link_as(output_pending)) {
    abort(conversion_messages::output_unwritable(section_.output_file));
    return;
  }
  if (const Result<void> linked = log_->link_as(log_pending); !linked) {
    QFile::remove(output_pending);
    abort(linked.message());
    return;
  }
  if (!rename_over(output_pending, section_.output_file)) {
    QFile::remove(output_pending);
    QFile::remove(log_pending);
    abort(conversion_messages::output_unwritable(section_.output_file));
    return;
  }
  if (const Result<void> placed = rename_over(log_pending, log_file_); !placed) {
    abort(log_unwritable_message(log_file_));
    return;
  }
  output_.reset();
  running_ = false;
  progress_ = progress_maximum_;
}

bool ConversionRun::Impl::write_record(QByteArrayView logical) {
  if (output_->write_with([&](QByteArray& out) { append_physical_record(logical, options_, out); }))
    return true;
  abort(conversion_messages::output_unwritable(section_.output_file));
  return false;
}

// Corrections come first, as they were made before any check; differences,
// which are no errors, after the record's errors.
bool ConversionRun::Impl::report(const BuiltRecord& record, RecordKind kind, qint64 record_number) {
  // Numbered by the 20-digit option that built the record.
  const bool twenty_digit = options_.twenty_digit(transfer_);
  for (const FieldCorrection& correction : record.corrections) {
    if (!log(compose_field_correction(field_names_, transfer_, twenty_digit, data_kind_code(kind),
                                      correction.field, record_number, correction.corrected,
                                      correction.original)))
      return false;
  }
  for (int field : record.failed_fields) {
    has_errors_ = true;
    QString message = compose_field_error(field_names_, transfer_, twenty_digit,
                                          data_kind_code(kind), field, record_number);
    if (const auto reason = record.failure_reasons.find(field);
        reason != record.failure_reasons.end())
      message += u'（' + *reason + u'）';
    if (!log(message)) return false;
  }
  for (const NameDifference& difference : record.name_differences) {
    if (!log(compose_name_difference(field_names_, transfer_, twenty_digit, data_kind_code(kind),
                                     difference.field, record_number, difference.written,
                                     difference.listed)))
      return false;
  }
  for (const NameNotice& notice : record.name_notices) {
    const QString message =
        notice.kind == NameNotice::Kind::Cut
            ? compose_name_cut(field_names_, transfer_, twenty_digit, data_kind_code(kind),
                               notice.field, record_number, notice.width, notice.text)
            : compose_name_not_filled(field_names_, transfer_, twenty_digit, data_kind_code(kind),
                                      notice.field, record_number, notice.text, notice.reason);
    if (!log(message)) return false;
  }
  return true;
}

// Warns of a payee's name that a bank may refuse in a 給与・賞与 file; the record
// holds the name after any mending, so that is what is weighed.
bool ConversionRun::Impl::report_payroll_name(QByteArrayView record, qint64 record_number) {
  if (!payroll_names_checked_) return true;
  const QString name = decode_cp932(record.sliced(payee_start_, payee_width_));
  if (!has_letter_or_symbol(trim_trailing_spaces(name))) return true;
  return log(compose_payroll_name_warning(field_names_, transfer_, options_.twenty_digit(transfer_),
                                          payee_field_, record_number));
}

bool ConversionRun::Impl::log(const QString& message) {
  if (!log_marker(message)) return false;
  if (message.startsWith(QStringView(kCorrectionPrefix)))
    ++tally_.corrections;
  else if (message.startsWith(QStringView(kWarningPrefix)))
    ++tally_.warnings;
  else
    count_error(message);
  return true;
}

bool ConversionRun::Impl::log_marker(const QString& message) {
  const Result<void> logged = log_->append_log(message);
  if (logged) return true;
  abort(logged.message());
  return false;
}

// `logged` is the message as given to the log, text or bytes.
void ConversionRun::Impl::count_error(const auto& logged) {
  ++tally_.errors;
  if (tally_.first_errors.size() >= kFirstErrorsKept) return;
  if constexpr (std::is_same_v<std::remove_cvref_t<decltype(logged)>, QByteArray>) {
    tally_.first_errors.append(decode_cp932(logged));
  } else {
    QByteArray bytes;
    ConversionLog::encode_message(logged, bytes);
    tally_.first_errors.append(decode_cp932(bytes));
  }
}

void ConversionRun::Impl::abort(const QString& message) {
  running_ = false;
  result_ = failure(message);
  input_.close();
  output_.reset();
  log_.reset();  // the new log is thrown away with the bank file
}

ConversionRun::ConversionRun(const SystemSettings& system, const CompanySettings& company)
    : impl_(std::make_unique<Impl>(system, company)) {}

ConversionRun::~ConversionRun() = default;

bool ConversionRun::running() const { return impl_->running_; }
void ConversionRun::step() { impl_->step(); }
void ConversionRun::cancel() { impl_->cancel(); }
const Result<void>& ConversionRun::result() const { return impl_->result_; }
bool ConversionRun::has_errors() const { return impl_->has_errors_; }
qint64 ConversionRun::progress_value() const { return impl_->progress_; }
qint64 ConversionRun::progress_maximum() const { return impl_->progress_maximum_; }
qint64 ConversionRun::row_count() const { return impl_->row_count_; }
qint64 ConversionRun::amount_total() const { return impl_->amount_total_; }
const ConversionOptions& ConversionRun::options() const { return impl_->options_; }
const ConversionRun::LogTally& ConversionRun::log_tally() const { return impl_->tally_; }
QString ConversionRun::input_file() const { return impl_->input_file_; }
QString ConversionRun::output_file() const { return impl_->section_.output_file; }
QString ConversionRun::log_file() const { return impl_->log_file_; }
void ConversionRun::set_clock(std::function<QDateTime()> clock) {
  impl_->clock_ = std::move(clock);
}
void ConversionRun::note_lock_taken_over(const QString& path, const QString& what) {
  impl_->lock_taken_over_.emplace(path, what);
}
void ConversionRun::set_bank_list(std::shared_ptr<const BankList> banks) {
  impl_->banks_ = std::move(banks);
  impl_->banks_given_ = true;
}

void ConversionRun::set_volatile_function(const QString& function) {
  impl_->volatile_function_ = function;
}

}  // namespace tsubakuro
