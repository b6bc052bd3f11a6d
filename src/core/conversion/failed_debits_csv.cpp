#include "core/conversion/failed_debits_csv.h"

#include <QFileInfo>
#include <algorithm>

#include "core/files/save_file.h"
#include "core/records/data_record.h"
#include "core/text/cp932.h"
#include "core/text/leading_number.h"
#include "core/zengin/debit_result.h"
#include "core/zengin/debit_result_messages.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/record_plan.h"
#include "core/zengin/zengin_record_reader.h"

namespace tsubakuro {

namespace {

constexpr TransferKind kDebit = TransferKind::Debit;
constexpr char kDataKind = '2';
// A company that skips more rows than this has no list that could convert; its
// heading stops here rather than filling a disk with empty lines.
constexpr qint64 kMostHeadingRows = 10'000;

int field_of(FieldPut put) {
  for (const PlannedField& planned : record_plan(kDebit, RecordKind::Data)) {
    if (planned.put == put) return planned.field;
  }
  return 0;
}

QByteArrayView field_bytes(QByteArrayView record, int field) {
  const qsizetype offset = field_start(kDebit, RecordKind::Data, field) - 1;
  const qsizetype width = record_layout(kDebit, RecordKind::Data)[field - 1].width;
  if (offset >= record.size()) return {};
  return record.sliced(offset, std::min(width, record.size() - offset));
}

// Trailing blanks are what a space-left field adds; a zero-right field keeps its
// zeros, which an account or a customer number may need. A blank is never the
// second byte of a CP932 character, so the bytes can be cut as they are.
QByteArrayView field_value(QByteArrayView record, int field) {
  QByteArrayView bytes = field_bytes(record, field);
  if (record_layout(kDebit, RecordKind::Data)[field - 1].padding == Padding::ZeroRight)
    return bytes;
  while (!bytes.isEmpty() && bytes.back() == ' ') bytes.chop(1);
  return bytes;
}

QByteArray amount_value(QByteArrayView record) {
  const QByteArrayView bytes = field_bytes(record, field_of(FieldPut::Amount));
  if (bytes.isEmpty() || !std::ranges::all_of(bytes, [](char c) { return c >= '0' && c <= '9'; }))
    return bytes.toByteArray();
  QByteArrayView digits = bytes;
  while (digits.size() > 1 && digits.front() == '0') digits = digits.sliced(1);
  return digits.toByteArray();
}

// A comma and a double quote are never part of a CP932 character either.
void append_csv_value(QByteArray& line, QByteArrayView value) {
  const bool quoted = std::ranges::any_of(
      value, [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
  if (!quoted) {
    line.append(value);
    return;
  }
  line.append('"');
  for (char c : value) {
    if (c == '"') line.append('"');
    line.append(c);
  }
  line.append('"');
}

QByteArray cp932(const QString& text) { return encode_cp932(text).bytes; }

const QString kFixedHeadings[] = {
    QStringLiteral("引落銀行番号"),   QStringLiteral("引落銀行名"), QStringLiteral("引落支店番号"),
    QStringLiteral("引落支店名"),     QStringLiteral("預金種目"),   QStringLiteral("口座番号"),
    QStringLiteral("預金者名"),       QStringLiteral("引落金額"),   QStringLiteral("顧客番号"),
    QStringLiteral("振替結果コード"), QStringLiteral("振替結果"),
};

}  // namespace

FailedDebitsCsv FailedDebitsCsv::for_company(const TransferSettings& debit, bool twenty_digit,
                                             const FieldTable& field_names) {
  // Columns as the run reads them, so the list converts back into the same fields.
  const ColumnMap map = prepare_column_map(debit.body_columns);
  if (std::ranges::all_of(map.entries, [](int column) { return column == 0; }))
    return fixed(twenty_digit);
  FailedDebitsCsv layout;
  layout.twenty_digit_ = twenty_digit;
  layout.columns_.resize(map.max_column);
  const int amount = field_of(FieldPut::Amount);
  const int customer = field_of(FieldPut::Customer);
  const int result_code = debit_result_field();
  for (int i = 0; i < kBodyColumnCount; ++i) {
    const int field = i + 2;
    const int column = map.entries[i];
    if (column == 0 || layout.columns_[column - 1].source != Source::None) continue;
    Column& placed = layout.columns_[column - 1];
    placed.field = field;
    placed.heading = field_names.at(kDebit, RecordKind::Data, field);
    if (field == amount)
      placed.source = Source::Amount;
    else if (field == customer)
      placed.source = Source::Customer;
    else if (field != result_code)
      placed.source = Source::Field;
  }
  const qint64 skipped =
      std::max<qint64>(0, round_half_even(leading_number(debit.skip_header_rows)));
  layout.heading_rows_ = static_cast<int>(std::min(skipped, kMostHeadingRows));
  layout.footer_ = debit.skip_footer;
  return layout;
}

FailedDebitsCsv FailedDebitsCsv::fixed(bool twenty_digit) {
  FailedDebitsCsv layout;
  layout.fixed_ = true;
  layout.twenty_digit_ = twenty_digit;
  layout.heading_rows_ = 1;
  const std::pair<Source, int> sources[] = {
      {Source::Field, 2},     {Source::Field, 3}, {Source::Field, 4},   {Source::Field, 5},
      {Source::Field, 7},     {Source::Field, 8}, {Source::Field, 9},   {Source::Amount, 10},
      {Source::Customer, 12}, {Source::Code, 0},  {Source::Meaning, 0},
  };
  for (std::size_t i = 0; i < std::size(sources); ++i)
    layout.columns_.push_back({sources[i].first, sources[i].second, kFixedHeadings[i]});
  return layout;
}

QByteArray FailedDebitsCsv::heading() const {
  if (heading_rows_ == 0) return {};
  QByteArray lines;
  for (int i = 1; i < heading_rows_; ++i) lines.append("\r\n");
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    if (c > 0) lines.append(',');
    append_csv_value(lines, cp932(columns_[c].heading));
  }
  lines.append("\r\n");
  return lines;
}

QByteArray FailedDebitsCsv::row(QByteArrayView record) const {
  QByteArray line;
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    if (c > 0) line.append(',');
    const Column& column = columns_[c];
    switch (column.source) {
      case Source::None:
        break;
      case Source::Field:
        append_csv_value(line, field_value(record, column.field));
        break;
      case Source::Amount:
        append_csv_value(line, amount_value(record));
        break;
      case Source::Customer: {
        QByteArray number = field_value(record, column.field).toByteArray();
        if (twenty_digit_) number += field_value(record, column.field + 1);
        append_csv_value(line, number);
        break;
      }
      case Source::Code: {
        const char code = debit_result_code(record);
        if (code != ' ' && code != '\0') append_csv_value(line, QByteArrayView(&code, 1));
        break;
      }
      case Source::Meaning:
        append_csv_value(
            line, cp932(debit_result_meaning(debit_result_character(debit_result_code(record)))));
        break;
    }
  }
  line.append("\r\n");
  return line;
}

QByteArray FailedDebitsCsv::footer(const DebitFigures& total) const {
  if (!footer_) return {};
  QByteArray line;
  bool named = false;
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    if (c > 0) line.append(',');
    if (columns_[c].source == Source::Amount) {
      line.append(QByteArray::number(total.amount));
    } else if (!named) {
      line.append(cp932(QStringLiteral("合計")));
      named = true;
    }
  }
  line.append("\r\n");
  return line;
}

Result<qint64> write_failed_debits(const QString& bank_file, int record_length,
                                   const FailedDebitsCsv& layout, const QString& csv_path) {
  namespace messages = debit_result_messages;
  // The list goes to a temporary file that then takes the place of its target:
  // aimed at the bank file, it would replace the very file it was read from.
  const QFileInfo bank(bank_file);
  const QFileInfo csv(csv_path);
  if (bank.absoluteFilePath() == csv.absoluteFilePath() ||
      (csv.exists() && bank.canonicalFilePath() == csv.canonicalFilePath()))
    return failure(messages::failed_list_onto_bank_file(bank_file));

  ZenginRecordReader reader;
  if (!reader.open(bank_file, record_length))
    return failure(messages::bank_file_unopenable(bank_file));
  SaveFile out(csv_path);
  if (Result<void> opened = out.open(); !opened) return opened.failure();
  if (Result<void> written = out.write(layout.heading()); !written) return written.failure();
  DebitFigures total;
  for (qint64 number = 2; number <= reader.record_count(); ++number) {
    const RecordRead record = reader.read(number);
    if (record.data_kind() != kDataKind || is_debited(debit_result_code(record.bytes))) continue;
    ++total.count;
    total.amount += debit_record_amount(record.bytes);
    if (Result<void> written = out.write(layout.row(record.bytes)); !written)
      return written.failure();
  }
  if (Result<void> written = out.write(layout.footer(total)); !written) return written.failure();
  if (Result<void> committed = out.commit(); !committed) return committed.failure();
  return total.count;
}

}  // namespace tsubakuro
