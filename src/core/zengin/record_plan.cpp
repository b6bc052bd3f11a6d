#include "core/zengin/record_plan.h"

namespace tsubakuro {

std::span<const PlannedField> record_plan(TransferKind transfer, RecordKind record) {
  if (record != RecordKind::Data) return {};
  return transfer == TransferKind::Debit ? std::span<const PlannedField>(kDataDebitPlan)
                                         : kDataCreditPlan;
}

std::span<const PlannedField> header_plan(TransferKind transfer) {
  return transfer == TransferKind::Debit ? std::span<const PlannedField>(kHeaderDebitPlan)
                                         : kHeaderCreditPlan;
}

std::span<const PlannedField> trailer_plan(TransferKind transfer) {
  return transfer == TransferKind::Debit
             ? std::span<const PlannedField>(trailer_plan_detail::kDebit)
             : trailer_plan_detail::kCredit;
}

int amount_field(std::span<const PlannedField> plan) {
  for (const PlannedField& field : plan) {
    if (field.put == FieldPut::Amount) return field.field;
  }
  return 0;
}

}  // namespace tsubakuro
