#include "core/records/data_record.h"

#include "core/records/bank_fields.h"
#include "core/text/leading_number.h"
#include "core/zengin/padding.h"

namespace tsubakuro {
namespace {

int column_number(const QString& text) {
  if (text.isEmpty()) return 0;
  const double value = leading_number(text);
  if (value <= 0 || value >= kMaxInputColumn + 1) return 0;
  const qint64 column = round_half_even(value);
  return column <= kMaxInputColumn ? static_cast<int>(column) : 0;
}

QStringView unquoted(QStringView column) {
  if (column.size() >= 2 && column.front() == u'"' && column.back() == u'"')
    return column.sliced(1, column.size() - 2);
  return column;
}

constexpr int kAmountField = 10;
constexpr int kCustomerField = 12;

bool only_digits(QStringView text) {
  for (QChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

// The amount the bank reads from the record: the digits of 金額 as written (a
// field that is not all digits has failed, and counts its leading digits).
qint64 written_amount(const QByteArray& record, TransferKind transfer) {
  const int start = field_start(transfer, RecordKind::Data, kAmountField) - 1;
  const int width = record_layout(transfer, RecordKind::Data)[kAmountField - 1].width;
  qint64 amount = 0;
  for (int i = start; i < start + width; ++i) {
    const char c = record[i];
    if (c < '0' || c > '9') break;
    amount = amount * 10 + (c - '0');
  }
  return amount;
}

bool is_one_of(QStringView field, std::initializer_list<QStringView> accepted) {
  for (QStringView code : accepted) {
    if (field == code) return true;
  }
  return false;
}

}  // namespace

ColumnMap prepare_column_map(const std::array<QString, kBodyColumnCount>& body_columns) {
  ColumnMap map;
  for (int i = 0; i < kBodyColumnCount; ++i) {
    map.entries[i] = column_number(body_columns[i]);
    map.max_column = std::max(map.max_column, map.entries[i]);
  }
  return map;
}

// Quotes are not interpreted beyond stripping a pair around a whole column: a
// comma inside quotes still separates columns, as the payment lists have always
// been read. The whole line is split, however long.
RowColumns split_row(QStringView line, int max_column) {
  RowColumns columns{};
  QStringView rest = line;
  for (int c = 1; c <= max_column && c <= kMaxInputColumn; ++c) {
    const qsizetype comma = rest.indexOf(u',');
    if (comma < 0) {
      columns[c] = unquoted(rest);
      break;
    }
    columns[c] = unquoted(rest.first(comma));
    rest = rest.sliced(comma + 1);
  }
  return columns;
}

DataRecord build_data_record(QStringView line, const ColumnMap& map, TransferKind transfer,
                             const ConversionOptions& options, const FieldChecker& checker,
                             const BankList* banks) {
  const RowColumns columns = split_row(line, map.max_column);
  const auto v = [&](int i) { return columns[map.entries[i]]; };
  const auto trimmed = [&](int i) { return trim_leading_spaces(v(i)); };
  const bool check_names = !options.skip_name_check;
  const bool debit = transfer == TransferKind::Debit;
  RecordAssembler record(transfer, RecordKind::Data, checker, options.bank_rules);

  record.put_checked(u"2");
  put_bank_fields(
      record,
      {trimmed(0).toString(), v(1).toString(), trimmed(2).toString(), v(3).toString(), true},
      check_names, banks);
  const QString clearing_house = record.fitted(trimmed(4));
  record.put_code(clearing_house, clearing_house == u"    ");
  const QString account_type = record.fitted(trimmed(5));
  record.put_code(account_type,
                  record.fits(trimmed(5)) && is_one_of(account_type, {u"1", u"2", u"9"}));
  record.put_digits(trimmed(6));
  record.put_name(v(7), check_names);
  // The bank moves what the field says: an amount written with a sign or a
  // fraction is refused rather than rounded, whatever the field's working kind.
  const QStringView amount = trimmed(8);
  record.put_digits(amount);
  if (!only_digits(amount)) record.fail(kAmountField);
  const QString new_code = record.fitted(trimmed(9));
  record.put_code(new_code,
                  record.fits(trimmed(9)) && is_one_of(new_code, {u"0", u"1", u"2", u" "}));

  if (options.twenty_digit(transfer)) {
    // One number over the customer code and the next field, the two widths together.
    const int width = record.width(kCustomerField) + record.width(kCustomerField + 1);
    const QString customer = zero_right(trimmed(10), width);
    const bool kept = zero_right_keeps_value(trimmed(10), width);
    record.put_checked(QStringView(customer).first(record.width(kCustomerField)));
    if (!kept) record.fail(kCustomerField);
    record.put_checked(QStringView(customer).last(record.width(kCustomerField + 1)));
  } else {
    record.put_digits(trimmed(10));
    record.put_digits(trimmed(11));
  }

  const QString designation =
      debit && options.debit_data_zero ? QStringLiteral("0") : record.fitted(v(12));
  // The option writes its zero whatever the column holds.
  const bool whole = (debit && options.debit_data_zero) || record.fits(v(12));
  record.put_code(designation, whole && (debit ? is_one_of(designation, {u"0", u" "})
                                               : is_one_of(designation, {u"7", u"8", u" "})));
  record.put(record.fitted(v(13)));

  BuiltRecord built = record.finish();
  const qint64 written = written_amount(built.bytes, transfer);
  return {std::move(built), written};
}

}  // namespace tsubakuro
