#pragma once

#include <QStringView>
#include <array>

#include "core/records/bank_fields.h"
#include "core/records/record_assembler.h"
#include "core/settings/company_settings.h"
#include "core/settings/conversion_options.h"
#include "core/zengin/bank_list.h"

namespace tsubakuro {

constexpr int kMaxInputColumn = 30;

// Which input column feeds each data field 2 to 15 (0: none), and the highest of
// them, at least 1: the columns a row is split into.
struct ColumnMap {
  std::array<int, kBodyColumnCount> entries{};
  int max_column = 1;
};

ColumnMap prepare_column_map(const std::array<QString, kBodyColumnCount>& body_columns);

// Columns 1 to max_column of a row read as CSV (csv_row.h); column 0 and every
// column the row lacks are empty. The views point into `line`, or into `unescaped`
// for a field with doubled quotes. A row with a quote never closed is split at
// every comma instead, its quotes kept.
using RowColumns = std::array<QStringView, kMaxInputColumn + 1>;
RowColumns split_row(QStringView line, int max_column, QString& unescaped);

struct DataRecord {
  BuiltRecord record;
  // The amount as the record holds it, so the trailer agrees with the file.
  qint64 amount = 0;
};

// The data record (データ区分 "2") of one input line. With a bank list, the bank
// and branch are checked against it (through `memo` when given) and empty names
// filled from it. A run passes `unescaped` to keep split_row's buffer across rows.
DataRecord build_data_record(QStringView line, const ColumnMap& map, TransferKind transfer,
                             const ConversionOptions& options, const FieldChecker& checker,
                             const BankList* banks = nullptr, BankNameMemo* memo = nullptr,
                             QString* unescaped = nullptr);

}  // namespace tsubakuro
