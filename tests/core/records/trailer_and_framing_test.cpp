#include <gtest/gtest.h>

#include "core/records/physical_record.h"
#include "core/records/trailer_record.h"
#include "core/settings/company_settings.h"
#include "core/settings/conversion_options.h"
#include "core/settings/system_settings.h"
#include "record_test_support.h"

namespace tsubakuro {
namespace {

using testing::BuiltinChecker;
using testing::default_options;
using testing::record_of;

QString sp(int count) { return QString(count, u' '); }

BuiltRecord trailer(qint64 count, qint64 amount, TransferKind transfer = TransferKind::Credit,
                    int debit_trailer_zero = 0) {
  ConversionOptions options = default_options();
  options.debit_trailer_zero = debit_trailer_zero;
  return build_trailer_record(count, amount, transfer, options, *BuiltinChecker(transfer));
}

TEST(TrailerRecord, HoldsTheTotals) {
  EXPECT_EQ(trailer(0, 0).bytes, record_of({"8", "000000", "000000000000", sp(101)}));
  EXPECT_EQ(trailer(3, 3500).bytes, record_of({"8", "000003", "000000003500", sp(101)}));
  EXPECT_TRUE(trailer(3, 3500).failed_fields.isEmpty());
  EXPECT_EQ(trailer(999999, 999999999999).bytes,
            record_of({"8", "999999", "999999999999", sp(101)}));
  EXPECT_TRUE(trailer(999999, 999999999999).failed_fields.isEmpty());
}

TEST(TrailerRecord, DebitResultFieldsAreZeroOnlyWhenAsked) {
  EXPECT_EQ(trailer(1, 5, TransferKind::Debit, 0).bytes,
            record_of({"8", "000001", "000000000005", sp(101)}));
  EXPECT_EQ(trailer(1, 5, TransferKind::Debit, 1).bytes,
            record_of({"8", "000001", "000000000005", "000000", "000000000000", "000000",
                       "000000000000", sp(65)}));
  EXPECT_EQ(trailer(1, 5, TransferKind::Credit, 1).bytes,
            record_of({"8", "000001", "000000000005", sp(101)}));
}

TEST(TrailerRecord, NegativeTotalKeepsItsSignAndFails) {
  const BuiltRecord built = trailer(1, -5);
  EXPECT_EQ(built.bytes, record_of({"8", "000001", "0000000000-5", sp(101)}));
  EXPECT_EQ(built.failed_fields, QList<int>{3});
}

// Totals the fields cannot hold are reported, never cut silently; and even with
// the kinds blanked by the user, since the bank would read a wrong total.
TEST(TrailerRecord, ReportsTotalsTooLargeForTheirFields) {
  const BuiltRecord count = trailer(1'000'000, 10);
  EXPECT_EQ(count.bytes.mid(1, 6), "000000");
  EXPECT_EQ(count.failed_fields, QList<int>{2});

  const BuiltRecord amount = trailer(2, 1'000'000'000'000);
  EXPECT_EQ(amount.bytes.mid(7, 12), "000000000000");
  EXPECT_EQ(amount.failed_fields, QList<int>{3});

  FieldTable unchecked = builtin_field_kinds();
  unchecked.of(TransferKind::Credit, RecordKind::Trailer) = QStringList{" ", " ", " ", " "};
  const FieldChecker lenient(unchecked, TransferKind::Credit, QString());
  EXPECT_EQ(build_trailer_record(1'000'000, 3'000'000'000'000, TransferKind::Credit,
                                 default_options(), lenient)
                .failed_fields,
            (QList<int>{2, 3}));
  EXPECT_EQ(
      build_trailer_record(1, -1, TransferKind::Credit, default_options(), lenient).failed_fields,
      QList<int>{3});
}

TEST(EndRecord, IsNineAndBlanks) { EXPECT_EQ(build_end_record(), record_of({"9", sp(119)})); }

struct FramingCase {
  int stored_length;
  int crlf;
  int content;  // bytes of the logical record kept
  int padding;  // spaces after it
};

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, EveryRecordIsExactlyItsLength) {
  const FramingCase& c = GetParam();
  ConversionOptions options = default_options();
  options.record_length = c.stored_length;
  options.crlf_each_record = c.crlf;
  QByteArray logical(kLogicalRecordLength, 'x');
  logical[0] = '2';
  QByteArray expected = logical.left(c.content) + QByteArray(c.padding, ' ');
  if (c.crlf) expected += "\r\n";
  EXPECT_EQ(physical_record(logical, options), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, Framing,
    ::testing::Values(
        FramingCase{120, 0, 120, 0}, FramingCase{120, 1, 118, 0}, FramingCase{122, 0, 120, 2},
        FramingCase{122, 1, 120, 0}, FramingCase{128, 0, 120, 8}, FramingCase{128, 1, 120, 6},
        FramingCase{130, 0, 120, 10}, FramingCase{130, 1, 120, 8}, FramingCase{256, 0, 120, 136},
        FramingCase{256, 1, 120, 134}, FramingCase{258, 0, 120, 138}, FramingCase{258, 1, 120, 136},
        FramingCase{125, 0, 120, 0}, FramingCase{125, 1, 118, 0}, FramingCase{0, 0, 120, 0}));

TEST(ConversionOptions, ComeFromTheCompanyOnlyInCompanyMode) {
  SystemSettings system;
  system.options.record_length = 256;
  system.options.credit_20digit = true;
  CompanySettings company;
  company.options.kana_table = "ｱ";
  company.options.record_length = 130;
  company.options.debit_data_zero = true;
  company.options.skip_name_check = true;

  const ConversionOptions system_wide = take_conversion_options(system, company);
  EXPECT_EQ(system_wide.physical_record_length(), 256);
  EXPECT_TRUE(system_wide.twenty_digit(TransferKind::Credit));
  EXPECT_FALSE(system_wide.debit_data_zero);
  EXPECT_EQ(system_wide.kana_table, QString::fromUtf16(kDefaultKanaTable));

  system.company_specific = true;
  const ConversionOptions own = take_conversion_options(system, company);
  EXPECT_EQ(own.physical_record_length(), 130);
  EXPECT_FALSE(own.twenty_digit(TransferKind::Credit));
  EXPECT_TRUE(own.debit_data_zero);
  EXPECT_TRUE(own.skip_name_check);
  EXPECT_EQ(own.kana_table, "ｱ");

  system.company_specific = false;
  system.options.record_length.reset();
  EXPECT_EQ(take_conversion_options(system, company).physical_record_length(), 120);
}

}  // namespace
}  // namespace tsubakuro
