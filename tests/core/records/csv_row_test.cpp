#include <gtest/gtest.h>

#include "core/records/csv_row.h"
#include "core/records/single_byte_row_builder.h"
#include "core/text/cp932.h"
#include "record_test_support.h"

namespace tsubakuro {
namespace {

using testing::BuiltinChecker;
using testing::default_options;

// Rows as the row reader hands them over (a quoted line break kept as written; the
// column holds a space for it, as a record holds no line end),
// with the columns CSV reads in them and what becomes of their amount. Columns 1
// to 14 feed fields 2 to 15 in order: column 9 is the amount (field 10).
struct CsvRow {
  const char* name;
  QByteArray bytes;
  QStringList columns;  // columns 1 on; the ones not given are empty
  qint64 amount;        // -1: the amount field fails
};

const CsvRow kCsvRows[] = {
    {"unquoted",
     "1,N,1,N,,1,1234567,\xC0\xC5\xB6,285000,0,55",
     {"1", "N", "1", "N", "", "1", "1234567", "ﾀﾅｶ", "285000", "0", "55"},
     285000},
    {"quoted fields",
     "\"1\",\"N\",1,N,,1,1234567,\"\xC0\xC5\xB6\",\"500\"",
     {"1", "N", "1", "N", "", "1", "1234567", "ﾀﾅｶ", "500"},
     500},
    {"a quoted amount with a separator",
     "1,N,1,N,,1,1234567,N,\"285,000\",0,55",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "285,000", "0", "55"},
     285000},
    {"a quoted amount with two separators",
     "1,N,1,N,,1,1234567,N,\"1,320,000\",0",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "1,320,000", "0"},
     1320000},
    {"leading blanks before a grouped amount",
     "1,N,1,N,,1,1234567,N,\"  5,500\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "  5,500"},
     5500},
    {"doubled quotes",
     "1,N,1,N,,1,1234567,\"\xC0\"\"\xC5\"\"\",1",
     {"1", "N", "1", "N", "", "1", "1234567", "ﾀ\"ﾅ\"", "1"},
     1},
    {"a quoted field of one quote",
     "1,N,1,N,,1,1234567,\"\"\"\",1",
     {"1", "N", "1", "N", "", "1", "1234567", "\"", "1"},
     1},
    {"a quoted line break, CR LF",
     "1,N,1,N,,1,1234567,\"A\r\nB\",7,0",
     {"1", "N", "1", "N", "", "1", "1234567", "A B", "7", "0"},
     7},
    {"a quoted line break, LF",
     "1,N,1,N,,1,1234567,\"A\nB\",7,0",
     {"1", "N", "1", "N", "", "1", "1234567", "A B", "7", "0"},
     7},
    {"a quoted line break, CR",
     "1,N,1,N,,1,1234567,\"A\rB\",7,0",
     {"1", "N", "1", "N", "", "1", "1234567", "A B", "7", "0"},
     7},
    {"empty fields, quoted and not",
     "1,\"\",1,,\"\",1,1234567,N,9,,\"\"",
     {"1", "", "1", "", "", "1", "1234567", "N", "9", "", ""},
     9},
    {"quotes inside an unquoted field stay",
     "1,N,1,N,,1,1234567,\xC0\"\xC5\"\"\xB6,3",
     {"1", "N", "1", "N", "", "1", "1234567", "ﾀ\"ﾅ\"\"ｶ", "3"},
     3},
    {"text after a closing quote keeps the field as written",
     "1,N,1,N,,1,1234567,\"\xC0\"\xC5,3",
     {"1", "N", "1", "N", "", "1", "1234567", "\"ﾀ\"ﾅ", "3"},
     3},
    {"a field quoted whole after its text loses that pair, as it always has",
     "1,N,1,N,,1,1234567,\"\xC0\"\xC5\",3",
     {"1", "N", "1", "N", "", "1", "1234567", "ﾀ\"ﾅ", "3"},
     3},
    {"an unclosed quote splits at every comma",
     "1,N,1,N,,1,1234567,\"\xC0\xC5\xB6,285,000,0",
     {"1", "N", "1", "N", "", "1", "1234567", "\"ﾀﾅｶ", "285", "000", "0"},
     285},
    {"an unclosed quote after a closed one",
     "1,N,1,N,,1,1234567,\"N\",\"4,000",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "\"4", "000"},
     -1},
    // Any comma in an amount that is not a thousands separator fails it.
    {"a separator out of place",
     "1,N,1,N,,1,1234567,N,\"1,0\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "1,0"},
     -1},
    {"a group of four",
     "1,N,1,N,,1,1234567,N,\"1,0000\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "1,0000"},
     -1},
    {"a first group of four",
     "1,N,1,N,,1,1234567,N,\"1000,000\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "1000,000"},
     -1},
    {"groups of two",
     "1,N,1,N,,1,1234567,N,\"12,34,567\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "12,34,567"},
     -1},
    {"a separator first",
     "1,N,1,N,,1,1234567,N,\",000\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", ",000"},
     -1},
    {"a separator last",
     "1,N,1,N,,1,1234567,N,\"1,000,\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "1,000,"},
     -1},
    {"a grouped fraction",
     "1,N,1,N,,1,1234567,N,\"1,000.5\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "1,000.5"},
     -1},
    {"a grouped negative",
     "1,N,1,N,,1,1234567,N,\"-1,000\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "-1,000"},
     -1},
    {"a blank after the digits",
     "1,N,1,N,,1,1234567,N,\"1,000 \"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "1,000 "},
     -1},
    {"grouped digits too many for the field",
     "1,N,1,N,,1,1234567,N,\"12,345,678,901\"",
     {"1", "N", "1", "N", "", "1", "1234567", "N", "12,345,678,901"},
     -1},
};

void PrintTo(const CsvRow& row, std::ostream* os) { *os << row.name; }

std::array<QString, kBodyColumnCount> straight_columns() {
  std::array<QString, kBodyColumnCount> columns;
  for (int i = 0; i < kBodyColumnCount; ++i) columns[i] = QString::number(i + 1);
  return columns;
}

class CsvRows : public ::testing::TestWithParam<CsvRow> {};

TEST_P(CsvRows, SplitAndPayAsWritten) {
  const CsvRow& row = GetParam();
  const QString text = decode_cp932(row.bytes);
  QString unescaped;
  const RowColumns columns = split_row(text, kMaxInputColumn, unescaped);
  for (int c = 1; c <= kMaxInputColumn; ++c) {
    EXPECT_EQ(columns[c], row.columns.value(c - 1)) << "column " << c;
  }

  const TransferKind transfer = TransferKind::Credit;
  const BuiltinChecker checker(transfer);
  const ConversionOptions options = default_options();
  const ColumnMap map = prepare_column_map(straight_columns());
  const DataRecord general = build_data_record(text, map, transfer, options, *checker);
  EXPECT_EQ(general.record.failed_fields.contains(10), row.amount < 0);
  if (row.amount >= 0) {
    EXPECT_EQ(general.amount, row.amount);
  }

  // The quick build may leave a row to the general build, never build another.
  const SingleByteRowBuilder quick(map, transfer, options, *checker, nullptr);
  SingleByteRowBuilder::Row built;
  if (!quick.build(row.bytes, built)) return;
  EXPECT_EQ(QByteArray(built.bytes.data(), built.bytes.size()), general.record.bytes);
  EXPECT_EQ(built.amount, general.amount);
}

INSTANTIATE_TEST_SUITE_P(Table, CsvRows, ::testing::ValuesIn(kCsvRows));

// The split lists were read with before quotes meant anything: at every comma, a
// pair of quotes around a whole column stripped.
QStringList split_at_every_comma(const QString& row) {
  QStringList columns = row.split(u',');
  for (QString& column : columns) {
    if (column.size() >= 2 && column.front() == u'"' && column.back() == u'"')
      column = column.sliced(1, column.size() - 2);
  }
  return columns;
}

// Every row of up to eight letters, commas and quotes that holds no quoted comma,
// no doubled quote and no quote left open is split as it always was.
TEST(CsvRowsWithoutQuotedSeparators, SplitAsTheyAlwaysWere) {
  constexpr char16_t kLetters[] = {u'a', u',', u'"'};
  int compared = 0;
  for (int length = 0; length <= 8; ++length) {
    int count = 1;
    for (int i = 0; i < length; ++i) count *= 3;
    for (int n = 0; n < count; ++n) {
      QString row;
      for (int i = 0, rest = n; i < length; ++i, rest /= 3) row += QChar(kLetters[rest % 3]);
      if (row.contains(u"\"\"")) continue;
      QString unescaped;
      const RowColumns columns = split_row(row, kMaxInputColumn, unescaped);
      const QStringList before = split_at_every_comma(row);
      int fields = 0;
      const bool closed = for_each_csv_field(QStringView(row), [&](QStringView, bool) {
        ++fields;
        return true;
      });
      if (!closed || fields != before.size()) continue;
      ++compared;
      for (int c = 1; c <= kMaxInputColumn; ++c) {
        ASSERT_EQ(columns[c], before.value(c - 1)) << row.toStdString() << " column " << c;
      }
    }
  }
  EXPECT_GT(compared, 1000);
}

}  // namespace
}  // namespace tsubakuro
