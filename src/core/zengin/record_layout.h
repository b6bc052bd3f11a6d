#pragma once

#include <span>

#include "core/zengin/record_kinds.h"

namespace tsubakuro {

// The number the field check takes for a record kind (1 header, 2 data, 3 trailer).
int check_part_number(RecordKind kind);
// The Zengin data-kind code that begins the record and numbers it in log
// messages (1, 2, 8, 9).
int data_kind_code(RecordKind kind);

enum class Padding { ZeroRight, SpaceLeft, Fixed };

struct FieldLayout {
  const char16_t* name;  // built-in name, the field dictionary's entry
  int width;             // in characters, each one byte once checked
  char kind;             // 'N' numeric, 'C' character
  Padding padding;
};

// One table per transfer kind and record kind, in field order (field n is
// element n - 1). Positions follow from the widths: see field_start.
std::span<const FieldLayout> record_layout(TransferKind transfer, RecordKind record);

// 1-based start position of field `number` (1-based) within the 120-character record.
int field_start(TransferKind transfer, RecordKind record, int number);

}  // namespace tsubakuro
