#include "core/engine/data_record.h"

#include "core/engine/bank_fields.h"
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
  const bool check_names = options.skip_name_check != 1;
  const bool debit = transfer == TransferKind::Debit;
  RecordAssembler record(transfer, RecordKind::Data, checker);

  record.put_checked(u"2");
  put_bank_fields(record,
                  {zero_right(trimmed(0), 4), v(1).toString(), zero_right(trimmed(2), 3),
                   v(3).toString(), true},
                  check_names, banks);
  const QString clearing_house = space_left(trimmed(4), 4);
  record.put_code(clearing_house, clearing_house == u"    ");
  const QString account_type = space_left(trimmed(5), 1);
  record.put_code(account_type, is_one_of(account_type, {u"1", u"2", u"9"}));
  record.put_checked(zero_right(trimmed(6), 7));
  record.put_checked_if(check_names, space_left(v(7), 30));
  record.put_checked(zero_right(trimmed(8), 10));
  const QString new_code = space_left(trimmed(9), 1);
  record.put_code(new_code, is_one_of(new_code, {u"0", u"1", u"2", u" "}));

  if (options.twenty_digit(transfer)) {
    const QString customer = zero_right(trimmed(10), 20);
    record.put_checked(QStringView(customer).first(10));
    record.put_checked(QStringView(customer).last(10));
  } else {
    record.put_checked(zero_right(trimmed(10), 10));
    record.put_checked(zero_right(trimmed(11), 10));
  }

  const QString designation =
      debit && options.debit_data_zero == 1 ? QStringLiteral("0") : space_left(v(12), 1);
  record.put_code(designation, debit ? is_one_of(designation, {u"0", u" "})
                                     : is_one_of(designation, {u"7", u"8", u" "}));
  record.put(space_left(v(13), 8));

  return {record.finish(), round_half_even(leading_number(v(8)))};
}

}  // namespace tsubakuro
