#include <gtest/gtest.h>

#include <map>

#include "core/records/data_record.h"
#include "core/text/cp932.h"
#include "record_test_support.h"

namespace tsubakuro {
namespace {

using testing::BuiltinChecker;
using testing::default_options;
using testing::record_of;

QString sp(int count) { return QString(count, u' '); }

// Columns 1 to 14 feed fields 2 to 15 in order.
std::array<QString, kBodyColumnCount> straight_columns() {
  std::array<QString, kBodyColumnCount> columns;
  for (int i = 0; i < kBodyColumnCount; ++i) columns[i] = QString::number(i + 1);
  return columns;
}

QString field_of(const QByteArray& record, TransferKind transfer, int field) {
  const int start = field_start(transfer, RecordKind::Data, field) - 1;
  const int width = record_layout(transfer, RecordKind::Data)[field - 1].width;
  return decode_cp932(record.mid(start, width));
}

DataRecord build(QStringView line, TransferKind transfer = TransferKind::Credit,
                 const ConversionOptions& options = default_options(),
                 const std::array<QString, kBodyColumnCount>& body = straight_columns()) {
  return build_data_record(line, prepare_column_map(body), transfer, options,
                           *BuiltinChecker(transfer));
}

TEST(DataRecord, BuildsACreditRow) {
  const DataRecord row = build(u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ ﾀﾛｳ,10000,0,55,66,7,ﾒﾓ");
  EXPECT_EQ(row.record.bytes, record_of({"2", "0001", "ﾐｽﾞﾎ" + sp(11), "001", "ﾎﾝﾃﾝ" + sp(11),
                                         sp(4), "1", "1234567", "ﾀﾅｶ ﾀﾛｳ" + sp(23), "0000010000",
                                         "0", "0000000055", "0000000066", "7", "ﾒﾓ" + sp(6)}));
  EXPECT_TRUE(row.record.failed_fields.isEmpty());
  EXPECT_EQ(row.amount, 10000);
}

TEST(DataRecord, BuildsADebitRowWithEveryOption) {
  ConversionOptions options = default_options();
  options.debit_20digit = true;
  options.debit_data_zero = true;
  const DataRecord row =
      build(u"9900,ｷﾞﾝｺｳ,12,ｼﾃﾝ,,2,7654321,ﾔﾏﾀﾞ,500,1,123,999,1,", TransferKind::Debit, options);
  EXPECT_EQ(row.record.bytes, record_of({"2", "9900", "ｷﾞﾝｺｳ" + sp(10), "012", "ｼﾃﾝ" + sp(12),
                                         sp(4), "2", "7654321", "ﾔﾏﾀﾞ" + sp(26), "0000000500", "1",
                                         "0000000000", "0000000123", "0", sp(8)}));
  EXPECT_TRUE(row.record.failed_fields.isEmpty());
}

struct DataCase {
  const char* name;
  QString line;
  std::map<int, QString> fields;  // field number -> text as written
  QList<int> failed;
  qint64 amount = 0;
  TransferKind transfer = TransferKind::Credit;
  std::function<void(ConversionOptions&)> set_options = [](ConversionOptions&) {};
  std::array<QString, kBodyColumnCount> body = straight_columns();
};

void PrintTo(const DataCase& c, std::ostream* os) { *os << c.name; }

class DataRows : public ::testing::TestWithParam<DataCase> {};

TEST_P(DataRows, WritesAndChecks) {
  const DataCase& c = GetParam();
  ConversionOptions options = default_options();
  c.set_options(options);
  const DataRecord row = build(c.line, c.transfer, options, c.body);
  ASSERT_EQ(row.record.bytes.size(), kLogicalRecordLength);
  for (const auto& [field, text] : c.fields)
    EXPECT_EQ(field_of(row.record.bytes, c.transfer, field), text) << "field " << field;
  EXPECT_EQ(row.record.failed_fields, c.failed);
  EXPECT_EQ(row.amount, c.amount);
}

std::array<QString, kBodyColumnCount> with_column(int item, QString column) {
  auto body = straight_columns();
  body[item] = std::move(column);
  return body;
}

const QString kGood = "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,";

INSTANTIATE_TEST_SUITE_P(
    Cases, DataRows,
    ::testing::Values(
        DataCase{"good", kGood, {{2, "0001"}, {3, "ﾐｽﾞﾎ" + sp(11)}, {4, "001"}}, {}, 100},
        // The padding still lays every field down; the ones a payment needs fail.
        DataCase{"fewer_columns_than_mapped_fail_the_required_fields",
                 "1,ﾐｽﾞﾎ",
                 {{4, "000"}, {5, sp(15)}, {8, "0000000"}, {10, "0000000000"}, {14, " "}},
                 {4, 7, 8, 9, 10}},
        DataCase{"empty_line_fails_the_required_fields",
                 "",
                 {{2, "0000"}, {3, sp(15)}, {7, " "}, {9, sp(30)}},
                 {2, 4, 7, 8, 9, 10}},
        DataCase{"quoted_name",
                 R"(1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,"ﾀﾅｶ ﾀﾛｳ",100,,,,,)",
                 {{9, "ﾀﾅｶ ﾀﾛｳ" + sp(23)}},
                 {},
                 100},
        DataCase{"quote_at_one_end_stays",
                 R"(1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,"ﾀﾅｶ,100,,,,,)",
                 {{9, "\"ﾀﾅｶ" + sp(26)}},
                 {9},
                 100},
        DataCase{"lone_quote_stays",
                 R"(1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,",100,,,,,)",
                 {{9, "\"" + sp(29)}},
                 {9},
                 100},
        // A one-letter code given two letters is cut to the first and fails: "12"
        // is no account type, and the bank must not read it as 1.
        DataCase{"codes_cut_fail",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,12,1234567,ﾀﾅｶ,100,01,,,78,",
                 {{7, "1"}, {11, "0"}, {14, "7"}},
                 {7, 11, 14},
                 100},
        DataCase{"codes_with_trailing_blanks_pass",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1 ,1234567,ﾀﾅｶ,100,0  ,,,7 ,",
                 {{7, "1"}, {11, "0"}, {14, "7"}},
                 {},
                 100},
        DataCase{"debit_zero_designation_ignores_the_column",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,78,",
                 {{14, "0"}},
                 {},
                 100,
                 TransferKind::Debit,
                 [](ConversionOptions& o) { o.debit_data_zero = true; }},
        // "000" moves into the one-letter new code, which it does not fit.
        DataCase{"thousands_separator_splits_the_amount",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,12,000,,,,",
                 {{10, "0000000012"}, {11, "0"}},
                 {11},
                 12},
        DataCase{"leading_blanks_dropped_from_numbers",
                 "  12,ﾐｽﾞﾎ, 1,ﾎﾝﾃﾝ,,  1, 1234567, ﾀﾅｶ, 100,,,,,",
                 {{2, "0012"},
                  {4, "001"},
                  {7, "1"},
                  {8, "1234567"},
                  {9, " ﾀﾅｶ" + sp(26)},
                  {10, "0000000100"}},
                 {},
                 100},
        // A digit field too short for its value keeps the rightmost digits, so
        // every later field holds its place, and fails: the bank would pay
        // another account or amount. The amount counts as the record holds it.
        DataCase{
            "long_values_keep_their_ends_and_fail",
            "123456,ﾐｽﾞﾎﾐｽﾞﾎﾐｽﾞﾎﾐｽﾞﾎ,12345,ﾎﾝﾃﾝ,,1,123456789,ﾀﾅｶ,12345678901,,,,,",
            {{2, "3456"}, {3, "ﾐｽﾞﾎﾐｽﾞﾎﾐｽﾞﾎﾐｽﾞ"}, {4, "345"}, {8, "3456789"}, {10, "2345678901"}},
            {2, 4, 8, 10},
            2345678901},
        DataCase{"leading_zeros_cut_in_silence",
                 "00012,ﾐｽﾞﾎ,0001,ﾎﾝﾃﾝ,,1,000001234,ﾀﾅｶ,000000000100,,00000000055,,,",
                 {{2, "0012"}, {4, "001"}, {8, "0001234"}, {10, "0000000100"}, {12, "0000000055"}},
                 {},
                 100},
        DataCase{"customer_numbers_too_long",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1,,12345678901,10000000000,,",
                 {{12, "2345678901"}, {13, "0000000000"}},
                 {12, 13},
                 1},
        DataCase{"twenty_digit_number_too_long",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1,,123456789012345678901,,,",
                 {{12, "2345678901"}, {13, "2345678901"}},
                 {12},
                 1,
                 TransferKind::Credit,
                 [](ConversionOptions& o) { o.credit_20digit = 1; }},
        // Never rounded, never written with a sign: the row fails and counts
        // what its field says.
        DataCase{"amount_with_a_fraction",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,2.5,,,,,",
                 {{10, "00000002.5"}},
                 {10},
                 2},
        DataCase{"amount_with_trailing_zero_cents",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,12.30,,,,,",
                 {{10, "0000012.30"}},
                 {10},
                 12},
        DataCase{
            "negative_amount", "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,-500,,,,,", {{10, "000000-500"}}, {10}, 0},
        DataCase{"non_numeric_amount_adds_nothing", "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,ABC,,,,,", {}, {10}, 0},
        DataCase{"codes_accepted",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,9,1,ﾀﾅｶ,1,2,,,8,",
                 {{7, "9"}, {11, "2"}, {14, "8"}},
                 {},
                 1},
        DataCase{"codes_refused",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,0001,3,1,ﾀﾅｶ,1,3,,,0,",
                 {{6, "0001"}},
                 {6, 7, 11, 14},
                 1},
        DataCase{"debit_designation_codes",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1,,,,7,",
                 {{14, "7"}},
                 {14},
                 1,
                 TransferKind::Debit},
        DataCase{"debit_data_zero_whatever_the_input",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1,,,,X,",
                 {{14, "0"}},
                 {},
                 1,
                 TransferKind::Debit,
                 [](ConversionOptions& o) { o.debit_data_zero = true; }},
        DataCase{"debit_data_zero_is_no_credit_option",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1,,,,X,",
                 {{14, "X"}},
                 {14},
                 1,
                 TransferKind::Credit,
                 [](ConversionOptions& o) { o.debit_data_zero = true; }},
        DataCase{"twenty_digits_credit",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1,, 123,999,,",
                 {{12, "0000000000"}, {13, "0000000123"}},
                 {},
                 1,
                 TransferKind::Credit,
                 [](ConversionOptions& o) { o.credit_20digit = true; }},
        DataCase{"twenty_digits_long_number",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1,,123456789012345,,,",
                 {{12, "0000012345"}, {13, "6789012345"}},
                 {},
                 1,
                 TransferKind::Debit,
                 [](ConversionOptions& o) { o.debit_20digit = true; }},
        DataCase{"twenty_digit_option_of_the_other_kind_ignored",
                 "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1,,123,45,,",
                 {{12, "0000000123"}, {13, "0000000045"}},
                 {},
                 1,
                 TransferKind::Credit,
                 [](ConversionOptions& o) { o.debit_20digit = true; }},
        DataCase{"name_check_skipped",
                 "1,銀行,1,支店,,1,1,田中,1,,,,,",
                 {{3, "銀行" + sp(11)}, {9, "田中" + sp(26)}},
                 {},
                 1,
                 TransferKind::Credit,
                 [](ConversionOptions& o) { o.skip_name_check = true; }},
        DataCase{"names_checked", "1,銀行,1,支店,,1,1,田中,1,,,,,", {}, {3, 5, 9}, 1},
        DataCase{"column_zero_maps_nothing_and_the_bank_code_is_missing",
                 kGood,
                 {{2, "0000"}},
                 {2},
                 100,
                 TransferKind::Credit,
                 [](ConversionOptions&) {},
                 with_column(0, "0")},
        DataCase{"column_31_maps_nothing_and_the_bank_code_is_missing",
                 kGood,
                 {{2, "0000"}},
                 {2},
                 100,
                 TransferKind::Credit,
                 [](ConversionOptions&) {},
                 with_column(0, "31")},
        DataCase{"column_text_maps_nothing_and_the_bank_code_is_missing",
                 kGood,
                 {{2, "0000"}},
                 {2},
                 100,
                 TransferKind::Credit,
                 [](ConversionOptions&) {},
                 with_column(0, "abc")},
        DataCase{"column_number_read_with_blanks",
                 kGood,
                 {{2, "0001"}, {3, "1" + sp(14)}},
                 {3},
                 100,
                 TransferKind::Credit,
                 [](ConversionOptions&) {},
                 with_column(1, " 1 ")},
        DataCase{"column_beyond_any_comma",
                 kGood,
                 {{15, sp(8)}},
                 {},
                 100,
                 TransferKind::Credit,
                 [](ConversionOptions&) {},
                 with_column(13, "30")}),
    [](const auto& info) { return std::string(info.param.name); });

// The amount column sits after more than 999 characters: it must still be read,
// or the money lands in the wrong field.
TEST(DataRecord, ReadsColumnsFromTheWholeLine) {
  const QString line = "1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567," + QString(1200, u'ｱ') + ",98765,,,,7,";
  const DataRecord row = build(line);
  EXPECT_EQ(field_of(row.record.bytes, TransferKind::Credit, 10), "0000098765");
  EXPECT_EQ(field_of(row.record.bytes, TransferKind::Credit, 14), "7");
  EXPECT_EQ(row.amount, 98765);
}

// Names that pass because their check is skipped may be two bytes a character;
// the amount and account after them must stay where the bank reads them.
TEST(DataRecord, KeepsByteOffsetsWhenANameIsWide) {
  ConversionOptions options = default_options();
  options.skip_name_check = true;
  const DataRecord row =
      build(u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,山田太郎山田太郎山田太郎山田太郎,500,,,,,",
            TransferKind::Credit, options);
  ASSERT_EQ(row.record.bytes.size(), kLogicalRecordLength);
  EXPECT_EQ(row.record.bytes.mid(50, 30), encode_cp932(u"山田太郎山田太郎山田太郎山田太").bytes);
  EXPECT_EQ(row.record.bytes.mid(80, 10), "0000000500");
  EXPECT_EQ(row.record.failed_fields, QList<int>{9});
}

// A user may blank a field's kind to turn its character check off; money is
// still never cut or signed in silence.
TEST(DataRecord, DigitsLostAndSignedAmountsFailWithTheKindsBlanked) {
  FieldTable blank = builtin_field_kinds();
  for (QString& kind : blank.of(TransferKind::Credit, RecordKind::Data)) kind = QStringLiteral(" ");
  const FieldChecker unchecked(blank, TransferKind::Credit, QString::fromUtf16(kDefaultKanaTable));
  const auto map = prepare_column_map(straight_columns());
  const auto failed = [&](QStringView line) {
    return build_data_record(line, map, TransferKind::Credit, default_options(), unchecked)
        .record.failed_fields;
  };
  EXPECT_EQ(failed(u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,100,,,,,"), QList<int>{});
  EXPECT_EQ(failed(u"12345,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,12345678,ﾀﾅｶ,100,,,,,"), (QList<int>{2, 8}));
  EXPECT_EQ(failed(u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,-100,,,,,"), QList<int>{10});
  EXPECT_EQ(failed(u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,+100,,,,,"), QList<int>{10});
  EXPECT_EQ(failed(u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,100.00,,,,,"), QList<int>{10});
  EXPECT_EQ(failed(u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1,ﾀﾅｶ,1e3,,,,,"), QList<int>{10});
}

TEST(ColumnMap, TakesTheHighestColumnAtLeastOne) {
  std::array<QString, kBodyColumnCount> body;
  EXPECT_EQ(prepare_column_map(body).max_column, 1);
  body[3] = "12";
  body[5] = "7";
  body[7] = "-3";
  body[8] = "2.6";
  const ColumnMap map = prepare_column_map(body);
  EXPECT_EQ(map.max_column, 12);
  EXPECT_EQ(map.entries[3], 12);
  EXPECT_EQ(map.entries[7], 0);
  EXPECT_EQ(map.entries[8], 3);
}

TEST(RowSplit, SplitsAtCommasOutsideQuotesUpToTheLastMappedColumn) {
  QString unescaped;
  const RowColumns columns = split_row(u"a,\"b\",,\"c,d\",e", 4, unescaped);
  EXPECT_EQ(columns[0], u"");
  EXPECT_EQ(columns[1], u"a");
  EXPECT_EQ(columns[2], u"b");
  EXPECT_EQ(columns[3], u"");
  EXPECT_EQ(columns[4], u"c,d");
  EXPECT_EQ(columns[5], u"");  // beyond the mapped columns
}

}  // namespace
}  // namespace tsubakuro
