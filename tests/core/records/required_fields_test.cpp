#include <gtest/gtest.h>

#include "core/records/data_record.h"
#include "core/records/single_byte_row_builder.h"
#include "core/text/cp932.h"
#include "record_test_support.h"

namespace tsubakuro {
namespace {

using testing::default_options;

// Columns 1 to 14 feed fields 2 to 15 in order.
std::array<QString, kBodyColumnCount> straight_columns() {
  std::array<QString, kBodyColumnCount> columns;
  for (int i = 0; i < kBodyColumnCount; ++i) columns[i] = QString::number(i + 1);
  return columns;
}

// A row that passes in both kinds, its columns one by one.
QStringList good_columns() {
  return QString("1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ ﾀﾛｳ,100,,,,,").split(u',');
}

struct RequiredCase {
  const char* name;
  int column;  // 1-based, as the row holds it
  QString value;
  QList<int> failed;
};

void PrintTo(const RequiredCase& c, std::ostream* os) { *os << c.name; }

// Each case replaces one column of the good row; a field left without a value
// fails alone, whatever else its padding would have written.
const RequiredCase kRequiredCases[] = {
    {"bank_code_empty", 1, "", {2}},
    {"bank_code_blank", 1, "   ", {2}},
    {"branch_code_empty", 3, "", {4}},
    {"branch_code_blank", 3, "  ", {4}},
    {"account_number_empty", 7, "", {8}},
    {"account_number_blank", 7, "       ", {8}},
    {"payee_empty", 8, "", {9}},
    {"payee_blank", 8, "    ", {9}},
    {"amount_empty", 9, "", {10}},
    {"amount_blank", 9, "  ", {10}},
    {"amount_zero", 9, "0", {10}},
    {"amount_zeros", 9, "000", {10}},
    {"amount_zero_after_blanks", 9, "  0", {10}},
    // Not required to be above zero: only money is.
    {"bank_code_zero_is_a_code", 1, "0", {}},
    {"amount_with_leading_zeros", 9, "0001", {}},
    // A bank name and an account type may be empty as far as this rule goes.
    {"bank_name_empty", 2, "", {}},
};

QString line_with(const RequiredCase& c) {
  QStringList columns = good_columns();
  columns[c.column - 1] = c.value;
  return columns.join(u',');
}

struct KindsSetup {
  const char* name;
  TransferKind transfer;
  bool blanked;  // every data field's kind blanked by the user
};

class RequiredFields : public ::testing::TestWithParam<std::tuple<KindsSetup, RequiredCase>> {};

TEST_P(RequiredFields, FailTheirFieldWhenEmptyInBothBuilds) {
  const auto& [setup, c] = GetParam();
  FieldTable kinds = builtin_field_kinds();
  if (setup.blanked) {
    for (QString& kind : kinds.of(setup.transfer, RecordKind::Data)) kind = QString();
  }
  const ConversionOptions options = default_options();
  const FieldChecker checker(kinds, setup.transfer, options.kana_table);
  const ColumnMap map = prepare_column_map(straight_columns());
  const QString line = line_with(c);

  const DataRecord built = build_data_record(line, map, setup.transfer, options, checker);
  EXPECT_EQ(built.record.failed_fields, c.failed);

  SingleByteRowBuilder::Row row;
  ASSERT_TRUE(SingleByteRowBuilder(map, setup.transfer, options, checker, nullptr)
                  .build(encode_cp932(line).bytes, row));
  QList<int> failed;
  for (int field = 1; field < 32; ++field) {
    if (row.failed_fields & (1u << field)) failed.append(field);
  }
  EXPECT_EQ(failed, c.failed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RequiredFields,
    ::testing::Combine(
        ::testing::Values(KindsSetup{"credit", TransferKind::Credit, false},
                          KindsSetup{"debit", TransferKind::Debit, false},
                          KindsSetup{"credit_kinds_blanked", TransferKind::Credit, true},
                          KindsSetup{"debit_kinds_blanked", TransferKind::Debit, true}),
        ::testing::ValuesIn(kRequiredCases)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

// With the bank list, an empty code is missing, not a code the list lacks: it is
// never looked up as 0000 or 000.
TEST(RequiredFields, EmptyCodesAreNotLookedUpInTheBankList) {
  const auto banks =
      BankList::parse(u"#zengin-code\t1\t2025-01-31\n0001\tﾐｽﾞﾎ\tみずほ\n001\tﾎﾝﾃﾝ\t本店\n"_qs)
          .value();
  ASSERT_TRUE(banks);
  const testing::BuiltinChecker checker(TransferKind::Credit);
  const ColumnMap map = prepare_column_map(straight_columns());
  const auto build = [&](QStringView line) {
    return build_data_record(line, map, TransferKind::Credit, default_options(), *checker,
                             banks.get())
        .record;
  };
  const BuiltRecord listed = build(u"1,ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,");
  EXPECT_EQ(listed.failed_fields, QList<int>{});

  const BuiltRecord no_bank = build(u",ﾐｽﾞﾎ,1,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,");
  EXPECT_EQ(no_bank.failed_fields, QList<int>{2});
  EXPECT_FALSE(no_bank.failure_reasons.contains(2));

  const BuiltRecord no_branch = build(u"1,ﾐｽﾞﾎ, ,ﾎﾝﾃﾝ,,1,1234567,ﾀﾅｶ,100,,,,,");
  EXPECT_EQ(no_branch.failed_fields, QList<int>{4});
  EXPECT_FALSE(no_branch.failure_reasons.contains(4));
}

}  // namespace
}  // namespace tsubakuro
