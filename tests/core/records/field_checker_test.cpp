#include "core/records/field_checker.h"

#include <gtest/gtest.h>

namespace tsubakuro {
namespace {

const QString kDefaultKana = QString::fromUtf16(kDefaultKanaTable);

struct TextCase {
  const char16_t* text;
  int result;
};

class CheckCharactersTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(CheckCharactersTable, AcceptsBlanksAndTheAllowedKana) {
  EXPECT_EQ(check_characters(QStringView(GetParam().text), kDefaultKana), GetParam().result)
      << QString::fromUtf16(GetParam().text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(DefaultSet, CheckCharactersTable,
                         ::testing::Values(TextCase{u"", 0}, TextCase{u"     ", 0},
                                           TextCase{u"ﾀﾅｶ ﾀﾛｳ", 0}, TextCase{u"ｶﾞｯｺｳ ﾎﾟﾝ", 0},
                                           TextCase{u"ｧｨｩｪｫｬｭｮｯ", 0},
                                           TextCase{u"ﾀﾅｶ　ﾀﾛｳ", 1},  // full-width blank
                                           TextCase{u"タナカ", 1},    // full-width katakana
                                           TextCase{u"ABC", 1}, TextCase{u"ﾀﾅｶ1", 1},
                                           TextCase{u"ｰ", 1}, TextCase{u"(ｶ", 1},
                                           TextCase{u"ｶ.", 1}, TextCase{u"\t", 1}));

TEST(CheckCharacters, AnEmptiedSetLeavesOnlyBlanks) {
  EXPECT_EQ(check_characters(u"   ", u""), 0);
  EXPECT_EQ(check_characters(u" ｱ ", u""), 1);
}

TEST(CheckCharacters, AUserSetCanAllowMore) {
  EXPECT_EQ(check_characters(u"ABC ()", u"ABC()"), 0);
  EXPECT_EQ(check_characters(u"ABC ()", u"ABC"), 1);
}

class CheckDigitsTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(CheckDigitsTable, AcceptsOnlyAsciiDigits) {
  EXPECT_EQ(check_digits(QStringView(GetParam().text)), GetParam().result)
      << QString::fromUtf16(GetParam().text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Texts, CheckDigitsTable,
                         ::testing::Values(TextCase{u"", 0}, TextCase{u"0000", 0},
                                           TextCase{u"0123456789", 0}, TextCase{u"123 ", 1},
                                           TextCase{u" 123", 1}, TextCase{u"-1", 1},
                                           TextCase{u"+1", 1}, TextCase{u"1.0", 1},
                                           TextCase{u"１２", 1}, TextCase{u"12a", 1},
                                           TextCase{u"/", 1}, TextCase{u":", 1}));

class FieldCheckerTest : public ::testing::Test {
 protected:
  FieldTable kinds_ = builtin_field_kinds();
};

TEST_F(FieldCheckerTest, AppliesTheWorkingKindOfEachPart) {
  const FieldChecker credit(kinds_, TransferKind::Credit, kDefaultKana);
  EXPECT_EQ(credit.check_field(u"0001", 1, 7), FieldCheck::Passes);  // header 取引銀行番号 N
  EXPECT_EQ(credit.check_field(u"000 ", 1, 7), FieldCheck::Fails);
  EXPECT_EQ(credit.check_field(u"ﾐｽﾞﾎ", 1, 8), FieldCheck::Passes);  // header 取引銀行名 C
  EXPECT_EQ(credit.check_field(u"ﾐｽﾞﾎ", 2, 2), FieldCheck::Fails);   // data 振込銀行番号 N
  EXPECT_EQ(credit.check_field(u"ﾀﾅｶ", 2, 9), FieldCheck::Passes);   // data 預金者名 C
  EXPECT_EQ(credit.check_field(u"7", 2, 14), FieldCheck::Fails);  // 振込 振込指定区分 is C
  EXPECT_EQ(credit.check_field(u"000003", 3, 2), FieldCheck::Passes);  // trailer 合計件数 N
  EXPECT_EQ(credit.check_field(u"-00003", 3, 3), FieldCheck::Fails);

  // 振替 uses its own kinds: 振替結果コード is numeric.
  const FieldChecker debit(kinds_, TransferKind::Debit, kDefaultKana);
  EXPECT_EQ(debit.check_field(u"0", 2, 14), FieldCheck::Passes);
  EXPECT_EQ(debit.check_field(u" ", 2, 14), FieldCheck::Fails);
}

TEST_F(FieldCheckerTest, AFieldWithoutCOrNIsNotChecked) {
  kinds_.of(TransferKind::Credit, RecordKind::Data)[9] = u" "_qs;  // 振込金額
  kinds_.of(TransferKind::Credit, RecordKind::Data)[7] = u""_qs;   // 口座番号
  kinds_.of(TransferKind::Credit, RecordKind::Data)[8] = u"c"_qs;  // 預金者名, not "C"
  const FieldChecker checker(kinds_, TransferKind::Credit, kDefaultKana);
  EXPECT_EQ(checker.check_field(u"ABC", 2, 10), FieldCheck::Unchecked);
  EXPECT_EQ(checker.check_field(u"ABC", 2, 8), FieldCheck::Unchecked);
  EXPECT_EQ(checker.check_field(u"ABC", 2, 9), FieldCheck::Unchecked);
}

TEST_F(FieldCheckerTest, PartsAndFieldsOutsideTheRecordsGiveNoValue) {
  const FieldChecker checker(kinds_, TransferKind::Credit, kDefaultKana);
  EXPECT_EQ(checker.check_field(u"A", 0, 1), FieldCheck::Unchecked);
  EXPECT_EQ(checker.check_field(u"A", 4, 1),
            FieldCheck::Unchecked);  // the end record is never checked
  EXPECT_EQ(checker.check_field(u"A", 1, 0), FieldCheck::Unchecked);
  EXPECT_EQ(checker.check_field(u"A", 1, 14), FieldCheck::Unchecked);
  EXPECT_EQ(checker.check_field(u"A", 3, 5), FieldCheck::Unchecked);  // 振込 trailer has 4 fields
}

TEST(AllowedKana, CompanySetWinsOnlyWhenCompanySpecificIsOn) {
  SystemSettings system;
  system.field_kinds = builtin_field_kinds();
  CompanySettings company;
  company.options.kana_table = u"ABC"_qs;

  EXPECT_EQ(allowed_kana(system, company), kDefaultKana);
  EXPECT_EQ(check_field(system, company, u"ﾀﾅｶ", 2, 9), FieldCheck::Passes);
  EXPECT_EQ(check_field(system, company, u"ABC", 2, 9), FieldCheck::Fails);

  system.company_specific = true;
  EXPECT_EQ(allowed_kana(system, company), u"ABC"_qs);
  EXPECT_EQ(check_field(system, company, u"ﾀﾅｶ", 2, 9), FieldCheck::Fails);
  EXPECT_EQ(check_field(system, company, u"ABC", 2, 9), FieldCheck::Passes);
}

TEST(CheckFieldOfSettings, FollowsTheCurrentTransferKind) {
  SystemSettings system;
  system.field_kinds = builtin_field_kinds();
  const CompanySettings company;
  EXPECT_EQ(check_field(system, company, u"0", 2, 14), FieldCheck::Fails);  // 振込指定区分 C
  system.transfer_kind = TransferKind::Debit;
  EXPECT_EQ(check_field(system, company, u"0", 2, 14), FieldCheck::Passes);  // 振替結果コード N
  EXPECT_EQ(check_field(system, company, u"000000000000", 3, 5),
            FieldCheck::Passes);  // 振替 trailer has 8
}

}  // namespace
}  // namespace tsubakuro
