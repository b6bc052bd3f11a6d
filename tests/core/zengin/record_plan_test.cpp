#include <gtest/gtest.h>

#include "core/zengin/record_layout.h"
#include "core/zengin/record_plan.h"

namespace tsubakuro {
namespace {

class DataPlan : public ::testing::TestWithParam<TransferKind> {};

// The builders walk the plan beside the layout and trust it: a field missing or
// out of order, a code wider than its field or a split without its second field
// would shift every later byte of the record.
TEST_P(DataPlan, FollowsItsLayoutFieldByField) {
  const auto plan = record_plan(GetParam(), RecordKind::Data);
  const auto layout = record_layout(GetParam(), RecordKind::Data);
  ASSERT_EQ(plan.size(), layout.size());
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const PlannedField& planned = plan[i];
    SCOPED_TRACE(planned.field);
    EXPECT_EQ(planned.field, static_cast<int>(i) + 1);
    const FieldLayout& field = layout[i];
    for (const std::string_view code : planned.texts)
      EXPECT_LE(static_cast<int>(code.size()), field.width);
    switch (planned.put) {
      case FieldPut::Fixed:
        EXPECT_EQ(planned.texts.size(), 1u);
        EXPECT_EQ(planned.column, kNoColumn);
        break;
      case FieldPut::Code:
        EXPECT_FALSE(planned.texts.empty());
        EXPECT_EQ(field.padding, Padding::SpaceLeft);
        break;
      case FieldPut::Customer:
        ASSERT_LT(i + 1, plan.size());
        EXPECT_EQ(layout[i + 1].padding, Padding::ZeroRight);
        [[fallthrough]];
      case FieldPut::Digits:
      case FieldPut::Amount:
      case FieldPut::BankCode:
        EXPECT_EQ(field.padding, Padding::ZeroRight);
        EXPECT_EQ(planned.cut, Cut::KeepsValue);
        break;
      case FieldPut::BankName:
      case FieldPut::Name:
      case FieldPut::Text:
        EXPECT_EQ(field.padding, Padding::SpaceLeft);
        break;
    }
  }
  EXPECT_NE(amount_field(plan), 0);
}

// The bank and branch go in together, code then name, so that a branch is looked
// up within its bank.
TEST_P(DataPlan, PutsTheBankAndBranchAsOneGroup) {
  const auto plan = record_plan(GetParam(), RecordKind::Data);
  int group_start = 0;
  for (const PlannedField& planned : plan) {
    if (planned.put == FieldPut::BankCode && group_start == 0) group_start = planned.field;
  }
  ASSERT_NE(group_start, 0);
  const FieldPut expected[] = {FieldPut::BankCode, FieldPut::BankName, FieldPut::BankCode,
                               FieldPut::BankName};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(plan[group_start - 1 + i].put, expected[i]);
  int bank_fields = 0;
  for (const PlannedField& planned : plan) {
    bank_fields += planned.put == FieldPut::BankCode || planned.put == FieldPut::BankName ? 1 : 0;
  }
  EXPECT_EQ(bank_fields, 4);
}

INSTANTIATE_TEST_SUITE_P(TransferKinds, DataPlan,
                         ::testing::Values(TransferKind::Credit, TransferKind::Debit));

TEST(RecordPlan, OnlyTheDataRecordIsReadFromARow) {
  for (const TransferKind transfer : {TransferKind::Credit, TransferKind::Debit}) {
    EXPECT_TRUE(record_plan(transfer, RecordKind::Header).empty());
    EXPECT_TRUE(record_plan(transfer, RecordKind::Trailer).empty());
    EXPECT_TRUE(record_plan(transfer, RecordKind::End).empty());
  }
}

}  // namespace
}  // namespace tsubakuro
