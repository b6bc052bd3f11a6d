#include "core/zengin/transfer_list.h"

#include <QFileInfo>
#include <map>

#include "core/zengin/bank_calendar.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/transfer_date.h"
#include "core/zengin/transfer_list_messages.h"

namespace tsubakuro {

namespace {

namespace messages = transfer_list_messages;

constexpr char kHeaderKind = '1';
constexpr char kDataKind = '2';
constexpr char kTrailerKind = '8';
constexpr char kEndKind = '9';

// Field numbers (from 1) of the records' layouts; 振込 and 振替 agree on all of them.
namespace header_field {
constexpr int kCompanyCode = 4;
constexpr int kCompanyName = 5;
constexpr int kDate = 6;
constexpr int kBankCode = 7;
constexpr int kAccountKind = 11;
constexpr int kAccountNumber = 12;
}  // namespace header_field
namespace data_field {
constexpr int kBankCode = 2;
constexpr int kAccountKind = 7;
constexpr int kAccountNumber = 8;
constexpr int kPayee = 9;
constexpr int kAmount = 10;
constexpr int kCustomerNumber = 12;
constexpr int kOtherNumber = 13;
constexpr int kResultCode = 14;  // 振替 only: 振込 holds its 振込指定区分 there
}  // namespace data_field
namespace trailer_field {
constexpr int kCount = 2;
constexpr int kAmount = 3;
constexpr int kDebitedCount = 4;  // 振替 only, as the four after it
constexpr int kFailedCount = 6;
}  // namespace trailer_field

QString piece(const QStringList& pieces, int field) { return pieces.value(field - 1); }

// Names are space-filled on the right; the list shows them without.
QString trimmed_piece(const QStringList& pieces, int field) {
  QString text = piece(pieces, field);
  while (!text.isEmpty() && text.back() == u' ') text.chop(1);
  return text;
}

std::optional<qint64> digits_value(const QString& text) {
  if (text.isEmpty()) return std::nullopt;
  for (const QChar c : text)
    if (c < u'0' || c > u'9') return std::nullopt;
  return text.toLongLong();
}

QChar first_character(const QString& text) { return text.isEmpty() ? QChar() : text.front(); }

bool holds_nonzero_digit(const QString& text) {
  for (const QChar c : text)
    if (c >= u'1' && c <= u'9') return true;
  return false;
}

// The 振替結果コード as the list shows it. A byte that is no visible character
// shows as U+FFFD: a NUL would otherwise be taken for a line without a code.
QChar result_code_of(const QStringList& pieces) {
  const QChar code = first_character(piece(pieces, data_field::kResultCode));
  return code.isPrint() ? code : QChar(QChar::ReplacementCharacter);
}

std::optional<TransferKind> kind_of_code(QByteArrayView code) {
  if (code == "21" || code == "11" || code == "12") return TransferKind::Credit;
  if (code == "91") return TransferKind::Debit;
  return std::nullopt;
}

}  // namespace

QString transfer_list_title(QStringView kind_code) {
  if (kind_code == u"21") return QStringLiteral("総合振込一覧表");
  if (kind_code == u"11") return QStringLiteral("給与振込一覧表");
  if (kind_code == u"12") return QStringLiteral("賞与振込一覧表");
  if (kind_code == u"91") return QStringLiteral("口座振替依頼一覧表");
  return {};
}

QString account_kind_word(QStringView code) {
  if (code == u"1") return QStringLiteral("普通");
  if (code == u"2") return QStringLiteral("当座");
  if (code == u"4") return QStringLiteral("貯蓄");
  if (code == u"9") return QStringLiteral("その他");
  return code.toString();
}

Result<BankFileShape> detect_bank_file_shape(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return failure(messages::cannot_open(path));
  const QByteArray first = file.read(kLogicalRecordLength);
  if (first.size() < kLogicalRecordLength || first.front() != kHeaderKind)
    return failure(messages::not_a_bank_file(path));
  const QByteArrayView code = QByteArrayView(first).sliced(1, 2);
  const std::optional<TransferKind> transfer = kind_of_code(code);
  if (!transfer)
    return failure(messages::unknown_kind_code(path, QString::fromLatin1(code.toByteArray())));

  const Result<DetectedRecordLength> detected = detect_record_length(file);
  if (!detected) return failure(messages::unknown_record_length(path));
  BankFileShape shape;
  shape.transfer = *transfer;
  shape.kind_code = QString::fromLatin1(code.toByteArray());
  shape.record_length = detected->record_length;
  shape.crlf = detected->crlf;
  return shape;
}

Result<std::unique_ptr<TransferList>> TransferList::open(const QString& path,
                                                         const TransferListOptions& options) {
  Result<BankFileShape> shape = detect_bank_file_shape(path);
  if (!shape) return shape.failure();
  std::unique_ptr<TransferList> list(new TransferList);
  list->path_ = path;
  list->shape_ = *shape;
  if (Result<void> opened = list->reader_.open(path, shape->record_length); !opened)
    return opened.failure();
  const QDate converted_on = options.converted_on.value_or(QFileInfo(path).lastModified().date());
  if (Result<void> read = list->read_all(options, converted_on); !read) return read.failure();
  return list;
}

ListedBank TransferList::listed_bank(const QStringList& pieces, int bank_field) const {
  ListedBank listed;
  listed.bank_code = piece(pieces, bank_field);
  listed.bank_name = trimmed_piece(pieces, bank_field + 1);
  listed.branch_code = piece(pieces, bank_field + 2);
  listed.branch_name = trimmed_piece(pieces, bank_field + 3);
  if (!banks_) return listed;
  if (const std::optional<BankListEntry> bank = banks_->bank(listed.bank_code)) {
    listed.bank_name = bank->name.toString();
    if (const std::optional<BankListEntry> branch = banks_->branch(bank->code, listed.branch_code))
      listed.branch_name = branch->name.toString();
  }
  return listed;
}

Result<void> TransferList::read_all(const TransferListOptions& options, QDate converted_on) {
  const TransferKind transfer = shape_.transfer;
  const RecordRead first = reader_.read(1);
  if (!first.ok()) return failure(messages::file_changed(path_));
  const QStringList head = cut_record(first.bytes, record_layout(transfer, RecordKind::Header));
  header_.company_code = piece(head, header_field::kCompanyCode);
  header_.company_name = trimmed_piece(head, header_field::kCompanyName);
  header_.bank = listed_bank(head, header_field::kBankCode);
  header_.account_kind = account_kind_word(piece(head, header_field::kAccountKind));
  header_.account_number = piece(head, header_field::kAccountNumber);
  header_.date_field = piece(head, header_field::kDate);
  const TransferDate date = TransferDate::from_stored(header_.date_field).resolved(converted_on);
  header_.date = date.date();
  if (header_.date)
    header_.bank_closed_reason = bank_closed_reason(*header_.date).value_or(QString());

  const std::span<const FieldLayout> data_layout = record_layout(transfer, RecordKind::Data);
  const bool debit = transfer == TransferKind::Debit;
  bool guessed_twenty_digit = false;
  bool result_codes_seen = false;
  std::map<char16_t, ResultTotal> by_code;
  std::optional<QStringList> trailer;
  const qint64 count = reader_.record_count();
  qint64 number = 2;
  for (; number <= count; ++number) {
    const RecordRead read = reader_.read(number);
    if (!read.ok()) return failure(messages::no_end_record(path_));
    const char kind = read.data_kind();
    if (kind == kEndKind && trailer) break;
    if (kind == kTrailerKind && !trailer) {
      trailer = cut_record(read.bytes, record_layout(transfer, RecordKind::Trailer));
      continue;
    }
    if (kind != kDataKind || trailer)
      return failure(messages::unexpected_record(path_, number, QChar::fromLatin1(kind)));
    const QStringList pieces = cut_record(read.bytes, data_layout);
    const QString amount_text = piece(pieces, data_field::kAmount);
    const std::optional<qint64> amount = digits_value(amount_text);
    ++line_count_;
    if (amount)
      amount_total_ += *amount;
    else
      ++unreadable_amounts_;
    if (holds_nonzero_digit(piece(pieces, data_field::kOtherNumber))) guessed_twenty_digit = true;
    if (debit) {
      const QChar code = result_code_of(pieces);
      if (code != u' ' && code != u'0') result_codes_seen = true;
      ResultTotal& total = by_code[code.unicode()];
      total.code = code;
      ++total.count;
      total.amount += amount.value_or(0);
    }
  }
  // Records after the end record are not the bank's: a second group of header,
  // data and trailer is not a file the program writes, nor one it lists.
  if (number != count) return failure(messages::no_end_record(path_));
  twenty_digit_ = options.twenty_digit.value_or(guessed_twenty_digit);

  if (trailer) {
    trailer_count_ = digits_value(piece(*trailer, trailer_field::kCount));
    trailer_amount_ = digits_value(piece(*trailer, trailer_field::kAmount));
  }
  if (debit && trailer && trailer_count_ && *trailer_count_ > 0) {
    // A returned file whose every record was debited holds only 0 codes, as a
    // request written with zeros does; its trailer tells them apart.
    const std::optional<qint64> debited =
        digits_value(piece(*trailer, trailer_field::kDebitedCount));
    const std::optional<qint64> failed = digits_value(piece(*trailer, trailer_field::kFailedCount));
    if (debited && failed && *debited + *failed == *trailer_count_) result_codes_seen = true;
  }
  carries_results_ = result_codes_seen;
  if (carries_results_)
    for (const auto& [code, total] : by_code) result_totals_.push_back(total);
  return {};
}

bool TransferList::totals_agree() const {
  return trailer_count_ == line_count_ && trailer_amount_ == amount_total_ &&
         unreadable_amounts_ == 0;
}

Result<TransferListLine> TransferList::line(qint64 number) {
  const RecordRead read = number >= 1 ? reader_.read(number + 1) : RecordRead();
  if (read.data_kind() != kDataKind) return failure(messages::file_changed(path_));
  const QStringList pieces =
      cut_record(read.bytes, record_layout(shape_.transfer, RecordKind::Data));
  TransferListLine line;
  line.number = number;
  line.bank = listed_bank(pieces, data_field::kBankCode);
  line.account_kind = account_kind_word(piece(pieces, data_field::kAccountKind));
  line.account_number = piece(pieces, data_field::kAccountNumber);
  line.payee = trimmed_piece(pieces, data_field::kPayee);
  line.amount_text = piece(pieces, data_field::kAmount);
  line.amount = digits_value(line.amount_text);
  line.customer_number = piece(pieces, data_field::kCustomerNumber);
  if (twenty_digit_) line.customer_number += piece(pieces, data_field::kOtherNumber);
  if (carries_results_) line.result_code = result_code_of(pieces);
  return line;
}

}  // namespace tsubakuro
