#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/zengin/record_layout.h"
#include "core/zengin/record_plan.h"

namespace tsubakuro {
namespace {

// The builders walk a plan beside its layout and trust it: a field missing or out
// of order, a code wider than its field or a split without its second field would
// shift every later byte of the record.
void expect_follows_layout(std::span<const PlannedField> plan,
                           std::span<const FieldLayout> layout) {
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
      case FieldPut::CodeClass:
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
      case FieldPut::Text:
        // A field that reads nothing is only blanks, whatever its padding.
        if (planned.column == kNoColumn) {
          EXPECT_NE(field.padding, Padding::ZeroRight);
          break;
        }
        [[fallthrough]];
      case FieldPut::BankName:
      case FieldPut::Name:
        EXPECT_EQ(field.padding, Padding::SpaceLeft);
        break;
      case FieldPut::Checked:
        EXPECT_NE(field.padding, Padding::Fixed);
        break;
      case FieldPut::TransferDate:
        EXPECT_EQ(field.width, 4);  // MMDD
        break;
      case FieldPut::Total:
        EXPECT_EQ(field.padding, Padding::ZeroRight);
        EXPECT_NE(planned.column, kNoColumn);
        break;
      case FieldPut::BankFills:
        EXPECT_EQ(field.padding, Padding::Fixed);
        EXPECT_EQ(planned.column, kNoColumn);
        break;
    }
  }
}

// The bank and branch go in together, code then name, so that a branch is looked
// up within its bank.
void expect_one_bank_group(std::span<const PlannedField> plan) {
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

class DataPlan : public ::testing::TestWithParam<TransferKind> {};

TEST_P(DataPlan, FollowsItsLayoutFieldByField) {
  const auto plan = record_plan(GetParam(), RecordKind::Data);
  expect_follows_layout(plan, record_layout(GetParam(), RecordKind::Data));
  EXPECT_NE(amount_field(plan), 0);
}

TEST_P(DataPlan, PutsTheBankAndBranchAsOneGroup) {
  expect_one_bank_group(record_plan(GetParam(), RecordKind::Data));
}

INSTANTIATE_TEST_SUITE_P(TransferKinds, DataPlan,
                         ::testing::Values(TransferKind::Credit, TransferKind::Debit));

class HeaderPlan : public ::testing::TestWithParam<TransferKind> {};

TEST_P(HeaderPlan, FollowsItsLayoutFieldByField) {
  const auto plan = header_plan(GetParam());
  expect_follows_layout(plan, record_layout(GetParam(), RecordKind::Header));
  EXPECT_EQ(amount_field(plan), 0);
}

TEST_P(HeaderPlan, PutsTheBankAndBranchAsOneGroup) {
  expect_one_bank_group(header_plan(GetParam()));
}

// The header values are stored by position (field n is value n - 2): every field
// after データ区分 reads its own value, in order, or the settings' values land in
// the wrong fields.
TEST_P(HeaderPlan, ReadsEachHeaderValueInFieldOrder) {
  const auto plan = header_plan(GetParam());
  ASSERT_FALSE(plan.empty());
  EXPECT_EQ(plan.front().column, kNoColumn);
  for (std::size_t i = 1; i < plan.size(); ++i) {
    SCOPED_TRACE(plan[i].field);
    EXPECT_EQ(plan[i].column, static_cast<int>(i) - 1);
    EXPECT_FALSE(plan[i].trim_leading);
  }
}

INSTANTIATE_TEST_SUITE_P(TransferKinds, HeaderPlan,
                         ::testing::Values(TransferKind::Credit, TransferKind::Debit));

// A credit header must never pass as a debit one: the bank would run the file as
// the other kind of transfer.
TEST(HeaderPlans, TheKindsShareNoKindCode) {
  const PlannedField& credit = header_plan(TransferKind::Credit)[1];
  const PlannedField& debit = header_plan(TransferKind::Debit)[1];
  ASSERT_EQ(credit.put, FieldPut::Code);
  ASSERT_EQ(debit.put, FieldPut::Code);
  for (const std::string_view code : credit.texts)
    EXPECT_EQ(std::ranges::find(debit.texts, code), debit.texts.end()) << code;
}

class TrailerPlan : public ::testing::TestWithParam<TransferKind> {};

// Each total goes in once, the count before the amount, as the bank adds them up.
TEST_P(TrailerPlan, FollowsItsLayoutAndPutsEachTotalOnce) {
  const auto plan = trailer_plan(GetParam());
  expect_follows_layout(plan, record_layout(GetParam(), RecordKind::Trailer));
  std::vector<int> totals;
  for (const PlannedField& planned : plan) {
    if (planned.put == FieldPut::Total) totals.push_back(planned.column);
  }
  EXPECT_EQ(totals, (std::vector<int>{kTrailerCount, kTrailerAmount}));
}

INSTANTIATE_TEST_SUITE_P(TransferKinds, TrailerPlan,
                         ::testing::Values(TransferKind::Credit, TransferKind::Debit));

// Only a debit file comes back with results for the bank to fill.
TEST(TrailerPlans, OnlyADebitTrailerLeavesFieldsToTheBank) {
  const auto bank_fills = [](TransferKind transfer) {
    return std::ranges::count(trailer_plan(transfer), FieldPut::BankFills, &PlannedField::put);
  };
  EXPECT_EQ(bank_fills(TransferKind::Credit), 0);
  EXPECT_EQ(bank_fills(TransferKind::Debit), 4);
}

TEST(RecordPlan, OnlyTheDataRecordIsReadFromARow) {
  for (const TransferKind transfer : {TransferKind::Credit, TransferKind::Debit}) {
    EXPECT_TRUE(record_plan(transfer, RecordKind::Header).empty());
    EXPECT_TRUE(record_plan(transfer, RecordKind::Trailer).empty());
    EXPECT_TRUE(record_plan(transfer, RecordKind::End).empty());
  }
}

}  // namespace
}  // namespace tsubakuro
