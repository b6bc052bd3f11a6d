#include "core/records/data_record.h"

#include "core/records/bank_fields.h"
#include "core/records/csv_row.h"
#include "core/records/plan_walk.h"
#include "core/text/leading_number.h"

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

// RecordAssembler's puts in the shape PlanWalk walks.
class DecodedFieldWriter {
 public:
  static constexpr bool kLooksUpBanks = true;

  DecodedFieldWriter(RecordAssembler& record, bool check_names, const BankList* banks,
                     BankNameMemo* memo)
      : record_(record), check_names_(check_names), banks_(banks), memo_(memo) {}

  int width(int field) const { return record_.width(field); }
  void put_fixed(std::string_view text, bool checked) {
    record_.put_checked_if(checked, fixed_text(text));
  }
  void put_checked(QStringView text) { record_.put_checked(text); }
  void put_digits(QStringView value) { record_.put_digits(value); }
  void put_name(QStringView value) { record_.put_name(value, check_names_); }
  void put_code(QStringView value) { record_.put(record_.fitted(value)); }
  void put_text(QStringView value) { record_.put(record_.fitted(value)); }
  void fail(int field) { record_.fail(field); }
  void put_bank_fields(const std::array<QStringView, 4>& values) {
    tsubakuro::put_bank_fields(record_,
                               {values[0].toString(), values[1].toString(), values[2].toString(),
                                values[3].toString(), true},
                               check_names_, banks_, memo_);
  }

 private:
  RecordAssembler& record_;
  const bool check_names_;
  const BankList* const banks_;
  BankNameMemo* const memo_;
};

}  // namespace

ColumnMap prepare_column_map(const std::array<QString, kBodyColumnCount>& body_columns) {
  ColumnMap map;
  for (int i = 0; i < kBodyColumnCount; ++i) {
    map.entries[i] = column_number(body_columns[i]);
    map.max_column = std::max(map.max_column, map.entries[i]);
  }
  return map;
}

// The whole row is split, however long.
RowColumns split_row(QStringView line, int max_column, QString& unescaped) {
  RowColumns columns{};
  const int last = std::min(max_column, kMaxInputColumn);
  // Reserved whole first: the views into it must not move as it grows.
  unescaped.resize(0);
  unescaped.reserve(line.size());
  int c = 1;
  const bool closed = for_each_csv_field(line, [&](QStringView text, bool doubled) {
    // A line break inside quotes joins the row's lines; in the record it is a
    // space, as the workbook export writes a cell's line break, for a bank file's
    // records hold no line ends of their own.
    const bool broken = text.contains(u'\n') || text.contains(u'\r');
    if (doubled || broken) {
      const qsizetype start = unescaped.size();
      for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
          unescaped.append(u' ');
          if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
          continue;
        }
        unescaped.append(c);
        if (doubled && c == u'"') ++i;
      }
      text = QStringView(unescaped).sliced(start);
    }
    // A field with more after its closing quote loses a pair of quotes around it,
    // as every field did before quotes were read: "a"b" stays a"b.
    columns[c] = doubled || broken ? text : unquoted(text);
    return ++c <= last;
  });
  if (closed) return columns;
  // A quote never closed has no end to read to: the row is split at every comma,
  // and the run logs the quote.
  columns = {};
  QStringView rest = line;
  for (c = 1; c <= last; ++c) {
    const qsizetype comma = rest.indexOf(u',');
    columns[c] = unquoted(rest.first(comma < 0 ? rest.size() : comma));
    if (comma < 0) break;
    rest = rest.sliced(comma + 1);
  }
  return columns;
}

DataRecord build_data_record(QStringView line, const ColumnMap& map, TransferKind transfer,
                             const ConversionOptions& options, const FieldChecker& checker,
                             const BankList* banks, BankNameMemo* memo, QString* unescaped) {
  QString own;
  const RowColumns columns = split_row(line, map.max_column, unescaped ? *unescaped : own);
  RecordAssembler record(transfer, RecordKind::Data, checker, options.bank_rules);
  DecodedFieldWriter writer(record, !options.skip_name_check, banks, memo);
  put_data_fields(writer, transfer, columns, map,
                  {options.twenty_digit(transfer), options.debit_data_zero});

  BuiltRecord built = record.finish();
  const auto layout = record_layout(transfer, RecordKind::Data);
  const int amount = amount_field(record_plan(transfer, RecordKind::Data));
  const qint64 written =
      written_digits(built.bytes.constData() + field_start(transfer, RecordKind::Data, amount) - 1,
                     layout[amount - 1].width);
  return {std::move(built), written};
}

}  // namespace tsubakuro
