#pragma once

#include <array>

#include "core/records/record_assembler.h"
#include "core/settings/company_settings.h"
#include "core/settings/conversion_options.h"
#include "core/zengin/bank_list.h"

namespace tsubakuro {

// The header record (データ区分 "1") from the kind's header values, each put
// where and as its plan (header_plan) says.
BuiltRecord build_header_record(const std::array<QString, kHeaderValueCount>& header_values,
                                TransferKind transfer, const ConversionOptions& options,
                                const FieldChecker& checker, const BankList* banks = nullptr);

}  // namespace tsubakuro
