#include <gtest/gtest.h>

#include <functional>

#include "core/records/single_byte_row_builder.h"
#include "core/settings/system_settings.h"
#include "core/text/cp932.h"
#include "record_test_support.h"

namespace tsubakuro {
namespace {

using testing::default_options;

// Lines the quick build must either decline or build exactly as build_data_record
// builds them from the decoded text. It declines a line when a column it reads
// into a code or a number holds a byte that is no one-byte character, and any
// line holding a quote.
struct Line {
  QByteArray bytes;
  QList<int> multibyte_columns;  // the columns holding other bytes
};

const Line kLines[] = {
    {"0310,\xD0\xC5\xC4\xB7\xDE\xDD\xBA\xB3,001,\xCE\xDD\xC3\xDD,1,1234567,"
     "\xC0\xC5\xB6 \xC0\xDB\xB3,10000,100001,\x8B\x8B\x97\x5E",
     {10}},
    {"", {}},
    {"1", {}},
    {"1,2,3", {}},
    {"  12,  ,  003,x,  2,  0099,  y,  500,  7", {}},
    {"00001234,AAAAAAAAAAAAAAAAAAAA,91234,B,1,123456789,C,12345678901,00123456789012345678", {}},
    {QByteArray("1,\xA7\xA6\xB0 abc,1,\t\x1A,1,1,\x00\x7F,1,1", 24), {}},
    {"1,N,1,N,1,1,N,-500,1", {}},
    {"1,N,1,N,1,1,N,12.5,1", {}},
    {"1,N,1,N,1,1,N, 1 0,1", {}},
    {"\"0001\",\"\xB1\",\",\"\",1,\"1\",\"\"\",\"2\",x", {}},
    {"1,N,1,N,3,1,N,1,3", {}},
    {"1,N,1,N,,1,N,1,1,0,55,66,7,MEMO LONGER THAN EIGHT", {}},
    {"1,N,1,N,,1,N,1,1,0,55,66,9,M", {}},
    {"1,N,1,N,,1,N,1,1,0,55,66,8,M,\x83\x5E\x83\x69", {15}},
    {"1,N,1,N,,1,N,1,1,0,55,66,8,M,\x80\xA0\xFD,\x81", {15, 16}},
    {"1,N,1,N,,1,N,1,1,0,55,66,8,12345678,1,2,3,4,5,6,7,8,9,0,1,2,3,4,5,6,x", {}},
    {"1,N,1,N,,1,N,1,1,0,55,66,8,M,\x81", {15}},
    // Names in full-width kana, whole and cut; a cut that would split a character;
    // a duplicate code that is written back as its usual one; bytes that are no
    // character, a lone lead byte among them.
    {"1,\x83\x5E\x83\x69\x83\x4A,1,\x83\x5E \x83\x69,1,1,\x83\x5E\x83\x69\x83\x4A,1", {2, 4, 7}},
    {"1,N,1,N,1,1,\x82\x60\x82\x61\x82\x62\x82\x63\x82\x64\x82\x65\x82\x66\x82\x67\x82\x68"
     "\x82\x69\x82\x6A\x82\x6B\x82\x6C\x82\x6D\x82\x6E\x82\x6F,1",
     {7}},
    {"1,N,1,N,1,1,AAAAAAAAAAAAAAAAAAAAAAAAAAAAA\x82\x60,1", {7}},
    {"1,N,1,N,1,1,AAAAAAAAAAAAAAAAAAAAAAAAAAAAA\x82\x60   ,1", {7}},
    {"1,\xED\x40\xFA\x5C,1,N,1,1,N,1", {2}},
    {"1,\x80\xA0,1,\"\x83\x5E\",1,1,\xC0\xC5\xB6\x81,1", {2, 4, 7}},
    {"1,N,1,N,1,1,\xEF\x40\x85\x40,1", {7}},
    {"1,N,1,N,1,1,N,1,1,0,55,66,8,\x83\x5E\x83\x69\x83\x4A\x83\x5E\x83\x69", {14}},
    {"1,N,1,N,1,1,N,1,1,0,55,66,\x83\x5E,M", {13}},
    {"1,N,1,N,1,1,N,\x82\x50\x82\x4F\x82\x4F,1", {8}},
    {"\x82\x4F\x82\x50,N,1,N,1,1,N,1,1", {1}},
    {"1,N,1,N,1,1,N,1,1,0,55,66,8,\x80", {14}},
    // Names cut where a voicing mark would part from its kana, as bytes and as text.
    {"1,N,1,N,1,1,\xD0\xC4\xDE\xD8\xC9 \xBC\xD6\xB3\xB6\xB2 \xC4\xB3\xB7\xD6\xB3 "
     "\xCA\xDD\xCA\xDE\xB2\xCC\xDE \xB7\xDE\xDD\xBB\xDE,1",
     {}},
    {"1,AAAAAAAAAAAAAA\xCA\xDE,1,AAAAAAAAAAAAA\xCA\xDF\xDD,1,1,N,1", {}},
    {"1,N,1,N,1,1,AAAAAAAAAAAAAAAAAAAAAAAAAAA\x82`\xCA\xDE,1", {7}},
    // Codes longer than their one letter, with and without trailing blanks.
    {"1,N,1,N,,12,1,N,1,01,55,66,78,M", {}},
    {"1,N,1,N,,1 ,1,N,1,0  ,55,66,7 ,M", {}},
    {"\xA0,N", {1}},
    {"1,N,1,N,1,1,N,1\xFD,1", {8}},
    // Required values missing: empty, blank, an amount of zero.
    {",N,  ,N,1,,N,0,1", {}},
    {"   ,N,1,N,1,   ,   ,000,1", {}},
    {"1,N,1,N,1,1,\xC0\xC5\xB6,  0,1", {}},
    {"1,N,1,N,1,1,\x83\x5E,00100,1", {7}},
    // Quotes: a quoted separator, doubled quotes, a quote in an unquoted field, an
    // unclosed one, and one past the columns read, which still moves the count.
    {"1,N,1,N,1,1,N,\"285,000\",1", {}},
    {"1,N,1,N,1,1,\"\xC0\"\"\xC5\",1,1", {}},
    {"1,N,1,N,1,1,N\"x\",1,1", {}},
    {"1,N,1,N,1,1,N,\"1,000,1", {}},
    {"1,N,1,N,,1,N,1,1,0,55,66,8,M,\"a,b\"", {}},
    // Thousands separators reach an amount only through quotes; a comma the quick
    // build reads is a separator.
    {"1,N,1,N,1,1,N,5,500,1024", {}},
};

// Whether a line of `columns` reaches a code or a number through `map`: body
// columns 1, 3, 7 and 13 (fields 3, 5, 9 and 15) are put as text.
bool reads_multibyte_code(const ColumnMap& map, const QList<int>& columns) {
  for (int i = 0; i < kBodyColumnCount; ++i) {
    if (i == 1 || i == 3 || i == 7 || i == 13) continue;
    if (map.entries[i] != 0 && columns.contains(map.entries[i])) return true;
  }
  return false;
}

// The option sets and maps a run may start with.
struct RunSetup {
  const char* name;
  TransferKind transfer = TransferKind::Credit;
  std::function<void(ConversionOptions&)> set_options = [](ConversionOptions&) {};
  std::function<void(FieldTable&)> set_kinds = [](FieldTable&) {};
  std::array<QString, kBodyColumnCount> body = {"1", "2", "3", "4", "", "5", "6",
                                                "7", "8", "",  "9", "", "",  ""};
};

void PrintTo(const RunSetup& setup, std::ostream* os) { *os << setup.name; }

class SingleByteRows : public ::testing::TestWithParam<RunSetup> {};

TEST_P(SingleByteRows, BuildWhatTheDecodedLineBuilds) {
  const RunSetup& setup = GetParam();
  ConversionOptions options = default_options();
  setup.set_options(options);
  FieldTable kinds = builtin_field_kinds();
  setup.set_kinds(kinds);
  const FieldChecker checker(kinds, setup.transfer, options.kana_table);
  const ColumnMap map = prepare_column_map(setup.body);
  const SingleByteRowBuilder quick(map, setup.transfer, options, checker, nullptr);

  for (const Line& line : kLines) {
    SCOPED_TRACE(line.bytes.toHex(' ').toStdString());
    SingleByteRowBuilder::Row row;
    const bool built = quick.build(line.bytes, row);
    ASSERT_EQ(built,
              !line.bytes.contains('"') && !reads_multibyte_code(map, line.multibyte_columns));
    if (!built) continue;
    const QString text = decode_cp932(line.bytes);
    const DataRecord expected =
        build_data_record(text, map, setup.transfer, options, checker, nullptr);
    EXPECT_EQ(QByteArray(row.bytes.data(), row.bytes.size()), expected.record.bytes);
    QList<int> failed;
    for (int field = 1; field < 32; ++field) {
      if (row.failed_fields & (1u << field)) failed.append(field);
    }
    EXPECT_EQ(failed, expected.record.failed_fields);
    EXPECT_EQ(row.amount, expected.amount);
    EXPECT_EQ(row.characters, text.size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Setups, SingleByteRows,
    ::testing::Values(
        RunSetup{"credit"},
        RunSetup{
            .name = "every column, the widest map",
            .body = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "30"}},
        RunSetup{.name = "twenty digits",
                 .set_options = [](ConversionOptions& o) { o.credit_20digit = 1; },
                 .body = {"1", "2", "3", "4", "", "5", "6", "7", "8", "", "9", "", "", ""}},
        RunSetup{.name = "debit with a zero designation",
                 .transfer = TransferKind::Debit,
                 .set_options = [](ConversionOptions& o) { o.debit_data_zero = 1; }},
        RunSetup{
            .name = "debit",
            .transfer = TransferKind::Debit,
            .body = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14"}},
        RunSetup{.name = "names unchecked",
                 .set_options = [](ConversionOptions& o) { o.skip_name_check = 1; }},
        RunSetup{
            .name = "kinds changed by the user",
            .set_kinds =
                [](FieldTable& kinds) {
                  QStringList& data = kinds.of(TransferKind::Credit, RecordKind::Data);
                  data[2] = u"N"_qs;    // a name checked as digits: its blanks fail
                  data[7] = QString();  // an account number left unchecked
                  data[14] = u"Cx"_qs;  // only the first letter counts
                  data[0] = u"C"_qs;
                },
            .body = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14"}},
        RunSetup{.name = "a small kana set",
                 .set_options = [](ConversionOptions& o) { o.kana_table = u"ｱｲｳ"_qs; }}));

TEST(SingleByteRows, LeaveRowsToTheBuildWhenNamesAreMendedOrBanksListed) {
  ConversionOptions options = default_options();
  const FieldTable kinds = builtin_field_kinds();
  const FieldChecker checker(kinds, TransferKind::Credit, options.kana_table);
  const ColumnMap map =
      prepare_column_map({"1", "2", "3", "4", "", "5", "6", "7", "8", "", "9", "", "", ""});
  SingleByteRowBuilder::Row row;
  const QByteArray line = "0310,ABC,001,DEF,1,1234567,GHI,100,1";
  EXPECT_TRUE(
      SingleByteRowBuilder(map, TransferKind::Credit, options, checker, nullptr).build(line, row));
  options.bank_rules.normalize_names = true;
  EXPECT_FALSE(
      SingleByteRowBuilder(map, TransferKind::Credit, options, checker, nullptr).build(line, row));
  options.bank_rules = {};
  options.bank_rules.check_characters = true;
  EXPECT_FALSE(
      SingleByteRowBuilder(map, TransferKind::Credit, options, checker, nullptr).build(line, row));
  const auto banks =
      BankList::parse(u"#zengin-code\t1\t2025-01-31\n0310\tﾐﾅﾄ\tみなと\n"_qs).value();
  ASSERT_TRUE(banks);
  options.bank_rules = {};
  EXPECT_FALSE(SingleByteRowBuilder(map, TransferKind::Credit, options, checker, banks.get())
                   .build(line, row));
}

}  // namespace
}  // namespace tsubakuro
