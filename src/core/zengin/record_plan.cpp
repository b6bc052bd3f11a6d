#include "core/zengin/record_plan.h"

#include <array>

namespace tsubakuro {
namespace {

using enum FieldPut;
using enum Cut;

constexpr std::string_view kDataKind[] = {"2"};
constexpr std::string_view kBlankOnly[] = {""};
constexpr std::string_view kAccountTypes[] = {"1", "2", "9"};
constexpr std::string_view kNewCodes[] = {"0", "1", "2", ""};
constexpr std::string_view kCreditDesignations[] = {"7", "8", ""};
constexpr std::string_view kDebitResults[] = {"0", ""};

// Fields 2 to 15 are read from body columns 0 to 13; the transfer kinds differ only
// in the codes of field 14 and the option that writes it.
constexpr std::array<PlannedField, 15> data_plan(std::span<const std::string_view> field14_codes,
                                                 std::string_view field14_option_text) {
  return {{
      {1, kNoColumn, Fixed, false, KeepsValue, kDataKind},
      {2, 0, BankCode, true, KeepsValue},
      {3, 1, BankName, false, Silent},
      {4, 2, BankCode, true, KeepsValue},
      {5, 3, BankName, false, Silent},
      {6, 4, Code, true, KeepsValue, kBlankOnly},  // 手形交換所番号: left to the bank
      {7, 5, Code, true, KeepsValue, kAccountTypes},
      {8, 6, Digits, true, KeepsValue},
      {9, 7, Name, false, Silent},
      {10, 8, Amount, true, KeepsValue},
      {11, 9, Code, true, KeepsValue, kNewCodes},
      {12, 10, Customer, true, KeepsValue},
      {13, 11, Digits, true, KeepsValue},
      {14, 12, Code, false, KeepsValue, field14_codes, field14_option_text},
      {15, 13, Text, false, Silent},
  }};
}

constexpr auto kDataCredit = data_plan(kCreditDesignations, {});
// The option writes its zero whatever the column holds.
constexpr auto kDataDebit = data_plan(kDebitResults, "0");

}  // namespace

std::span<const PlannedField> record_plan(TransferKind transfer, RecordKind record) {
  if (record != RecordKind::Data) return {};
  return transfer == TransferKind::Debit ? std::span<const PlannedField>(kDataDebit) : kDataCredit;
}

int amount_field(std::span<const PlannedField> plan) {
  for (const PlannedField& field : plan) {
    if (field.put == FieldPut::Amount) return field.field;
  }
  return 0;
}

}  // namespace tsubakuro
