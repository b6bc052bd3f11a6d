#include <gtest/gtest.h>

#include "core/records/header_record.h"
#include "core/text/cp932.h"
#include "record_test_support.h"

namespace tsubakuro {
namespace {

using testing::BuiltinChecker;
using testing::default_options;
using testing::record_of;

QString sp(int count) { return QString(count, u' '); }

std::array<QString, kHeaderValueCount> good_header(TransferKind transfer) {
  return {transfer == TransferKind::Debit ? "91" : "21",
          "0",
          "1234567890",
          "ﾂﾊﾞｸﾛｼｮｳｼﾞ",
          "0425",
          "1",
          "ﾐｽﾞﾎ",
          "12",
          "ﾎﾝﾃﾝ",
          "1",
          "1234567",
          ""};
}

TEST(HeaderRecord, BuildsEveryFieldInPlace) {
  for (TransferKind transfer : {TransferKind::Credit, TransferKind::Debit}) {
    const BuiltRecord built = build_header_record(good_header(transfer), transfer,
                                                  default_options(), *BuiltinChecker(transfer));
    const QString kind = transfer == TransferKind::Debit ? "91" : "21";
    EXPECT_EQ(built.bytes,
              record_of({"1", kind, "0", "1234567890", "ﾂﾊﾞｸﾛｼｮｳｼﾞ" + sp(30), "0425", "0001",
                         "ﾐｽﾞﾎ" + sp(11), "012", "ﾎﾝﾃﾝ" + sp(11), "1", "1234567", sp(17)}));
    EXPECT_TRUE(built.failed_fields.isEmpty()) << built.failed_fields.size();
  }
}

struct HeaderCase {
  const char* name;
  TransferKind transfer;
  int item;  // header value changed from the good header
  QString value;
  int skip_name_check;
  QString expected_field;  // as written, at the field's start
  QList<int> failed;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

class HeaderChecks : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderChecks, WritesAndChecks) {
  const HeaderCase& c = GetParam();
  auto values = good_header(c.transfer);
  values[c.item] = c.value;
  ConversionOptions options = default_options();
  options.skip_name_check = c.skip_name_check;
  const BuiltRecord built =
      build_header_record(values, c.transfer, options, *BuiltinChecker(c.transfer));
  ASSERT_EQ(built.bytes.size(), kLogicalRecordLength);
  const int field = c.item + 2;
  const int start = field_start(c.transfer, RecordKind::Header, field) - 1;
  const QByteArray expected = encode_cp932(c.expected_field).bytes;
  EXPECT_EQ(built.bytes.mid(start, expected.size()), expected);
  EXPECT_EQ(built.failed_fields, c.failed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderChecks,
    ::testing::Values(
        HeaderCase{"credit_code_11", TransferKind::Credit, 0, "11", 0, "11", {}},
        HeaderCase{"credit_code_12", TransferKind::Credit, 0, "12", 0, "12", {}},
        HeaderCase{"credit_refuses_91", TransferKind::Credit, 0, "91", 0, "91", {2}},
        HeaderCase{"debit_refuses_21", TransferKind::Debit, 0, "21", 0, "21", {2}},
        // A code cut to its width is another code: it keeps its place and fails.
        HeaderCase{"code_cut_to_two_fails", TransferKind::Credit, 0, "210", 0, "21", {2}},
        HeaderCase{"code_with_trailing_blank", TransferKind::Credit, 0, "21 ", 0, "21", {}},
        HeaderCase{"code_class_cut_fails", TransferKind::Credit, 1, "01", 0, "0", {3}},
        HeaderCase{
            "company_code_cut_fails", TransferKind::Credit, 2, "12345678901", 0, "1234567890", {4}},
        HeaderCase{"account_type_cut_fails", TransferKind::Debit, 9, "12", 0, "1", {11}},
        HeaderCase{
            "nine_digit_company_code", TransferKind::Credit, 2, "123456789", 0, "123456789 ", {4}},
        // The day must be one its month has; the year is unknown, so 29 February passes.
        HeaderCase{"april_31", TransferKind::Credit, 4, "0431", 0, "0431", {6}},
        HeaderCase{"february_30", TransferKind::Debit, 4, "0230", 0, "0230", {6}},
        HeaderCase{"february_29", TransferKind::Credit, 4, "0229", 0, "0229", {}},
        HeaderCase{"september_31", TransferKind::Credit, 4, "0931", 0, "0931", {6}},
        HeaderCase{"november_30", TransferKind::Credit, 4, "1130", 0, "1130", {}},
        HeaderCase{"december_31", TransferKind::Credit, 4, "1231", 0, "1231", {}},
        HeaderCase{"january_32", TransferKind::Credit, 4, "0132", 0, "0132", {6}},
        HeaderCase{"month_00", TransferKind::Credit, 4, "0010", 0, "0010", {6}},
        HeaderCase{"month_13", TransferKind::Credit, 4, "1300", 0, "1300", {6}},
        HeaderCase{"day_00", TransferKind::Debit, 4, "1200", 0, "1200", {6}},
        HeaderCase{"no_date", TransferKind::Credit, 4, "", 0, "0000", {6}},
        HeaderCase{"date_with_letters", TransferKind::Credit, 4, "1a05", 0, "1a05", {6}},
        HeaderCase{"full_width_name", TransferKind::Credit, 3, "株式会社", 0, "株式会社", {5}},
        HeaderCase{"full_width_name_unchecked",
                   TransferKind::Credit,
                   3,
                   "株式会社",
                   1,
                   "株式会社" + QString(32, u' '),
                   {}},
        HeaderCase{"lower_case_latin_name", TransferKind::Credit, 3, "abc", 0, "abc", {5}},
        HeaderCase{"full_width_bank_name", TransferKind::Credit, 6, "銀行", 0, "銀行", {8}},
        HeaderCase{"full_width_branch_name", TransferKind::Credit, 8, "支店", 0, "支店", {10}},
        HeaderCase{"empty_branch_number", TransferKind::Credit, 7, "", 0, "000", {}},
        HeaderCase{"bank_number_cut_fails", TransferKind::Credit, 5, "123456", 0, "3456", {7}},
        HeaderCase{"bank_number_leading_zero_cut", TransferKind::Credit, 5, "00310", 0, "0310", {}},
        HeaderCase{"branch_number_cut_fails", TransferKind::Credit, 7, "1001", 0, "001", {9}},
        HeaderCase{"account_cut_fails", TransferKind::Credit, 10, "91234567", 0, "1234567", {12}},
        HeaderCase{"account_type_9", TransferKind::Credit, 9, "9", 0, "9", {11}},
        HeaderCase{"account_type_blank", TransferKind::Credit, 9, "", 0, " ", {11}},
        HeaderCase{"account_with_blank", TransferKind::Credit, 10, "12 45", 0, "0012 45", {12}},
        HeaderCase{"unused_unchecked", TransferKind::Credit, 11, "漢字", 0, "漢字", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A name the checks let through may be wider in bytes than in characters; the
// later fields must keep their byte positions or the bank reads a wrong account.
TEST(HeaderRecord, CutsAWideNameAtACharacterBoundaryAndReportsIt) {
  auto values = good_header(TransferKind::Credit);
  values[3] = QString(21, u'漢');  // 21 characters, 42 bytes
  ConversionOptions options = default_options();
  options.skip_name_check = true;
  const BuiltRecord built = build_header_record(values, TransferKind::Credit, options,
                                                *BuiltinChecker(TransferKind::Credit));
  ASSERT_EQ(built.bytes.size(), kLogicalRecordLength);
  EXPECT_EQ(built.bytes.mid(14, 40), encode_cp932(QString(20, u'漢')).bytes);
  EXPECT_EQ(built.bytes.mid(54, 4), "0425");
  EXPECT_EQ(built.failed_fields, QList<int>{5});

  values[3] =
      QString(19, u'漢') + QStringLiteral("ｱ");  // 39 bytes and then a one-byte character: fits
  EXPECT_TRUE(build_header_record(values, TransferKind::Credit, options,
                                  *BuiltinChecker(TransferKind::Credit))
                  .failed_fields.isEmpty());

  values[3] =
      QString(19, u'漢') + QStringLiteral("ｱ漢");  // the last two-byte character would straddle
  const BuiltRecord straddling = build_header_record(values, TransferKind::Credit, options,
                                                     *BuiltinChecker(TransferKind::Credit));
  EXPECT_EQ(straddling.bytes.mid(14, 40),
            encode_cp932(QString(19, u'漢') + QStringLiteral("ｱ ")).bytes);
  EXPECT_EQ(straddling.failed_fields, QList<int>{5});
}

TEST(HeaderRecord, ReportsACharacterCp932CannotHold) {
  auto values = good_header(TransferKind::Credit);
  values[3] = QStringLiteral("Café");
  ConversionOptions options = default_options();
  options.skip_name_check = true;
  const BuiltRecord built = build_header_record(values, TransferKind::Credit, options,
                                                *BuiltinChecker(TransferKind::Credit));
  EXPECT_EQ(built.bytes.mid(14, 5), "Caf? ");
  EXPECT_EQ(built.failed_fields, QList<int>{5});
}

}  // namespace
}  // namespace tsubakuro
