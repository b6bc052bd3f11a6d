#include <gtest/gtest.h>

#include <QRandomGenerator>
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
// line holding a quote. A name of two-byte characters longer than its field is
// the quick build's too: both builds cut it alike, through a character or not.
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
  BankRules rules = {};
  bool bank_list = false;
};

// The banks and branches the rows with rules name, and some they do not.
std::shared_ptr<const BankList> test_bank_list() {
  static const auto list = BankList::parse(
                               u"#zengin-code\t1\t2025-01-31\n"
                               u"0310\tﾐﾅﾄｷﾞﾝｺｳ\tみなと銀行\n001\tﾎﾝﾃﾝ\t本店\n102\tｴｷﾏｴ\t駅前\n"
                               u"0325\tﾂﾊﾞｷ\tつばき\n001\tﾎﾝﾃﾝ\t本店\n"
                               u"0001\tﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ\t三菱UFJ\n001\tﾎﾝﾃﾝ\t本店\n"_qs)
                               .value();
  return list;
}

// Whether the general build says more of its record than which fields failed and
// which names it mended.
bool says_more(const BuiltRecord& record) {
  return !record.failure_reasons.isEmpty() || !record.name_differences.isEmpty() ||
         !record.name_notices.isEmpty();
}

// The quick build of `line` against the general build of its text: true when the
// quick build took it, and then the two must agree to the byte and say the same.
bool build_both(const SingleByteRowBuilder& quick, const QByteArray& line, const ColumnMap& map,
                TransferKind transfer, const ConversionOptions& options,
                const FieldChecker& checker, const BankList* banks) {
  SingleByteRowBuilder::Row row;
  if (!quick.build(line, row)) return false;
  const QString text = decode_cp932(line);
  const DataRecord expected = build_data_record(text, map, transfer, options, checker, banks);
  EXPECT_EQ(QByteArray(row.bytes.data(), row.bytes.size()), expected.record.bytes);
  QList<int> failed;
  for (int field = 1; field < 32; ++field) {
    if (row.failed_fields & (1u << field)) failed.append(field);
  }
  EXPECT_EQ(failed, expected.record.failed_fields);
  EXPECT_FALSE(says_more(expected.record)) << "the quick build cannot log the notes";
  EXPECT_EQ(row.corrections.size(), expected.record.corrections.size());
  for (qsizetype i = 0; i < std::min(row.corrections.size(), expected.record.corrections.size());
       ++i) {
    EXPECT_EQ(row.corrections[i].field, expected.record.corrections[i].field);
    EXPECT_EQ(row.corrections[i].corrected, expected.record.corrections[i].corrected);
    EXPECT_EQ(row.corrections[i].original, expected.record.corrections[i].original);
  }
  EXPECT_EQ(row.amount, expected.amount);
  EXPECT_EQ(row.characters, text.size());
  return true;
}

void PrintTo(const RunSetup& setup, std::ostream* os) { *os << setup.name; }

class SingleByteRows : public ::testing::TestWithParam<RunSetup> {};

TEST_P(SingleByteRows, BuildWhatTheDecodedLineBuilds) {
  const RunSetup& setup = GetParam();
  ConversionOptions options = default_options();
  setup.set_options(options);
  options.bank_rules = setup.rules;
  FieldTable kinds = builtin_field_kinds();
  setup.set_kinds(kinds);
  const FieldChecker checker(kinds, setup.transfer, options.kana_table);
  const ColumnMap map = prepare_column_map(setup.body);
  const BankList* banks = setup.bank_list ? test_bank_list().get() : nullptr;
  BankNameMemo memo;
  const SingleByteRowBuilder quick(map, setup.transfer, options, checker, banks, &memo);
  const bool plain_options = setup.rules == BankRules{} && !banks;

  for (const Line& line : kLines) {
    SCOPED_TRACE(line.bytes.toHex(' ').toStdString());
    const bool built = build_both(quick, line.bytes, map, setup.transfer, options, checker, banks);
    // Without rules the quick build declines only what it cannot read.
    if (plain_options) {
      EXPECT_EQ(built,
                !line.bytes.contains('"') && !reads_multibyte_code(map, line.multibyte_columns));
    }
  }
}

// Random rows of the bytes the rules care for, in every setup: whatever the quick
// build takes, it builds as the general build does, and the general build has
// nothing more to say of it.
TEST_P(SingleByteRows, BuildRandomRowsAsTheDecodedLine) {
  const RunSetup& setup = GetParam();
  ConversionOptions options = default_options();
  setup.set_options(options);
  options.bank_rules = setup.rules;
  FieldTable kinds = builtin_field_kinds();
  setup.set_kinds(kinds);
  const FieldChecker checker(kinds, setup.transfer, options.kana_table);
  const ColumnMap map = prepare_column_map(setup.body);
  const BankList* banks = setup.bank_list ? test_bank_list().get() : nullptr;
  BankNameMemo memo;
  const SingleByteRowBuilder quick(map, setup.transfer, options, checker, banks, &memo);

  // Pieces of columns: codes of the list and not, kana with and without their
  // marks, small kana, letters of both cases, symbols, two-byte characters.
  const QList<QByteArray> pieces = {"0310",
                                    "0325",
                                    "0001",
                                    "001",
                                    "102",
                                    "9",
                                    "12",
                                    " ",
                                    "  ",
                                    "1",
                                    "2",
                                    "4",
                                    "\xD0\xC5\xC4",
                                    "\xB7\xDE\xDD\xBA\xB3",
                                    "\xCE\xDD\xC3\xDD",
                                    "\xB4\xB7\xCF\xB4",
                                    "\xC2\xCA\xDE\xB7",
                                    "\xA7",
                                    "\xAE",
                                    "\xA6",
                                    "\xB0",
                                    "\xDE",
                                    "\xDF",
                                    "\xCA\xDF",
                                    "\xB1\xDE",
                                    "\xB3\xDE",
                                    "a",
                                    "Z",
                                    "(",
                                    ".",
                                    "-",
                                    "/",
                                    "*",
                                    "\x83\x5E",
                                    "\x82\xA0",
                                    "\x88\x9F",
                                    "\xC0\xC5\xB6 \xC0\xDB\xB3",
                                    "1000",
                                    "1,000",
                                    "\"",
                                    "0",
                                    "AAAAAAAAAAAAAAA",
                                    "\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1"
                                    "\xB1\xB1\xB1\xB1\xB6\xDE"};
  QRandomGenerator random(20261207);
  int taken = 0;
  for (int n = 0; n < 3000; ++n) {
    QByteArray line;
    const int columns = random.bounded(1, 16);
    for (int c = 0; c < columns; ++c) {
      if (c > 0) line += ',';
      for (int k = random.bounded(0, 4); k > 0; --k) line += pieces[random.bounded(pieces.size())];
    }
    SCOPED_TRACE(line.toHex(' ').toStdString());
    taken += build_both(quick, line, map, setup.transfer, options, checker, banks);
  }
  EXPECT_GT(taken, 0);
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
                 .set_options = [](ConversionOptions& o) { o.kana_table = u"ｱｲｳ"_qs; }},
        RunSetup{.name = "all rules", .rules = BankRules::all_on(), .bank_list = true},
        RunSetup{.name = "all rules, debit",
                 .transfer = TransferKind::Debit,
                 .rules = BankRules::all_on(),
                 .bank_list = true},
        RunSetup{.name = "all rules, names unchecked",
                 .set_options = [](ConversionOptions& o) { o.skip_name_check = 1; },
                 .rules = BankRules::all_on(),
                 .bank_list = true},
        RunSetup{.name = "character check", .rules = {.check_characters = true}},
        RunSetup{.name = "name mending", .rules = {.normalize_names = true}},
        RunSetup{.name = "mending and a small kana set",
                 .set_options = [](ConversionOptions& o) { o.kana_table = u"ｱｲｳ"_qs; },
                 .rules = {.normalize_names = true}},
        RunSetup{.name = "bank list", .rules = {.check_codes = true}, .bank_list = true},
        RunSetup{.name = "bank list without the rule", .bank_list = true}));

// Under the rules the quick build takes rows that need no word, and leaves every
// row the general build would note, mend, warn of or give a reason for.
TEST(SingleByteRows, TakePlainRowsUnderTheRulesAndLeaveTheRest) {
  const FieldTable kinds = builtin_field_kinds();
  const ColumnMap map =
      prepare_column_map({"1", "2", "3", "4", "", "5", "6", "7", "8", "", "9", "", "", ""});
  const auto builds = [&](BankRules rules, const BankList* banks, const QByteArray& line) {
    ConversionOptions options = default_options();
    options.bank_rules = rules;
    const FieldChecker checker(kinds, TransferKind::Credit, options.kana_table);
    BankNameMemo memo;
    const SingleByteRowBuilder quick(map, TransferKind::Credit, options, checker, banks, &memo);
    return build_both(quick, line, map, TransferKind::Credit, options, checker, banks);
  };
  const BankList* banks = test_bank_list().get();
  const BankRules characters{.check_characters = true};
  const BankRules mending{.normalize_names = true};
  const BankRules all = BankRules::all_on();
  // ﾐﾅﾄｷﾞﾝｺｳ, ﾎﾝﾃﾝ, ﾀﾅｶ ﾀﾛｳ: as the list has them, in the banks' characters.
  const QByteArray plain =
      "0310,\xD0\xC5\xC4\xB7\xDE\xDD\xBA\xB3,001,\xCE\xDD\xC3\xDD,1,1234567,"
      "\xC0\xC5\xB6 \xC0\xDB\xB3,100,1";
  const auto with_payee = [](const QByteArray& payee) {
    return "0310,\xD0\xC5\xC4\xB7\xDE\xDD\xBA\xB3,001,\xCE\xDD\xC3\xDD,1,1234567," + payee +
           ",100,1";
  };
  for (const BankRules& rules : {characters, mending, all})
    EXPECT_TRUE(builds(rules, rules.check_codes ? banks : nullptr, plain));
  // Wrong fields the rules have nothing to say of stay the quick build's.
  EXPECT_TRUE(builds(all, banks, with_payee("\xC0\xC5\xB6").replace(",1234567,", ",12345X7,")));

  // A name the rule mends and says nothing else of is built as the general build
  // puts it, with its correction for the log.
  EXPECT_TRUE(builds(mending, nullptr, with_payee("\xC0\xC5\xB6 \xAE")));  // small kana
  EXPECT_FALSE(builds(mending, nullptr, with_payee("abc")));               // lower case: mended
  EXPECT_TRUE(builds(mending, nullptr, with_payee("ABC")));
  EXPECT_FALSE(builds(characters, nullptr, with_payee("ABC")));    // payroll files hold no letters
  EXPECT_FALSE(builds(characters, nullptr, with_payee("\xC0(")));  // nor symbols
  EXPECT_FALSE(builds(characters, nullptr, with_payee("\xB1\xDE")));  // ｱﾞ: a mark out of place
  EXPECT_FALSE(builds(characters, nullptr, with_payee("\xDE\xC0")));  // a mark first
  EXPECT_TRUE(builds(characters, nullptr, with_payee("\xCA\xDF\xB3\xDE")));  // ﾊﾟｳﾞ
  EXPECT_FALSE(builds(characters, nullptr, with_payee("\x83\x5E")));         // two bytes: refused
  EXPECT_TRUE(builds(mending, nullptr, with_payee("\x83\x5E")));             // タ: mended
  // ヤマダ　ハナコ in full width and in hiragana, mended and checked under every rule.
  const QByteArray katakana = "\x83\x84\x83\x7D\x83\x5F\x81\x40\x83\x6E\x83\x69\x83\x52";
  const QByteArray hiragana = "\x82\xE2\x82\xDC\x82\xBE\x81\x40\x82\xCD\x82\xC8\x82\xB1";
  for (const QByteArray& name : {katakana, hiragana}) {
    EXPECT_TRUE(builds(all, banks, with_payee(name)));
    EXPECT_TRUE(builds(all, banks, with_payee(name).replace(",1234567,", ",12345X7,")));
  }
  // 山田: mended in part, then refused by the check with its reason.
  EXPECT_FALSE(builds(all, banks, with_payee("\x8E\x52\x93\x63\x83\x5E")));
  // Mended past its field's width (ダ is ﾀﾞ): the cut is noted.
  EXPECT_FALSE(builds(all, banks, with_payee(QByteArray("\x83\x5F").repeated(16))));
  EXPECT_FALSE(builds(characters, nullptr, with_payee(katakana)));  // refused, not mended
  // A name longer than its field is cut, and with a rule on the cut is noted.
  EXPECT_FALSE(builds(mending, nullptr, with_payee(QByteArray(31, '\xB1'))));
  EXPECT_TRUE(builds({}, nullptr, with_payee(QByteArray(31, '\xB1'))));
  // Without a rule a cut is the quick build's, at a voicing mark too: both builds
  // let the kana go with its mark.
  EXPECT_TRUE(builds({}, nullptr, with_payee(QByteArray(29, '\xB1') + "\xB6\xDE")));

  // The bank list: a name not the list's, a code it lacks, an empty name it fills.
  EXPECT_FALSE(builds({.check_codes = true}, banks, QByteArray(plain).replace("\xD0\xC5", "\xD0")));
  EXPECT_FALSE(builds({.check_codes = true}, banks, QByteArray(plain).replace("0310", "0311")));
  EXPECT_FALSE(builds({.check_codes = true}, banks, QByteArray(plain).replace(",001,", ",999,")));
  EXPECT_FALSE(
      builds({.check_codes = true}, banks, QByteArray(plain).replace("\xCE\xDD\xC3\xDD", "")));
  EXPECT_TRUE(builds({.check_codes = true}, banks, plain));
}

}  // namespace
}  // namespace tsubakuro
