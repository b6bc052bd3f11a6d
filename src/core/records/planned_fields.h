#pragma once

#include <array>
#include <span>
#include <string_view>
#include <type_traits>

#include "core/records/data_record.h"
#include "core/zengin/padding.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/record_plan.h"

namespace tsubakuro {

// Quotes are not interpreted beyond stripping a pair around a whole column: a
// comma inside quotes still separates columns, as the payment lists have always
// been read.
template <FieldText View>
View unquoted(View column) {
  if (column.size() >= 2 && code_unit(column.front()) == u'"' && code_unit(column.back()) == u'"')
    return column.sliced(1, column.size() - 2);
  return column;
}

template <FieldText View>
bool only_digits(View text) {
  return std::ranges::all_of(text,
                             [](auto c) { return code_unit(c) >= u'0' && code_unit(c) <= u'9'; });
}

// Whether `value`, without its trailing blanks, is one of `codes`. With a cut that
// keeps the value, that is what its space-left field holds.
template <FieldText View>
bool is_listed_code(View value, std::span<const std::string_view> codes) {
  const View code = trim_trailing_spaces(value);
  return std::ranges::any_of(codes, [code](std::string_view listed) {
    return std::ranges::equal(code, listed,
                              [](auto c, char l) { return code_unit(c) == code_unit(l); });
  });
}

// The amount the bank reads from a zero-right field: its digits as written (a field
// that is not all digits has failed, and counts its leading digits).
inline qint64 written_digits(const char* field, int width) {
  qint64 value = 0;
  for (int i = 0; i < width && field[i] >= '0' && field[i] <= '9'; ++i)
    value = value * 10 + (field[i] - '0');
  return value;
}

// The options of a run that change what the plan's puts write.
struct PlanOptions {
  bool twenty_digit = false;
  bool debit_data_zero = false;
};

// Walks `plan` through `record`, a writer of the record's fields in order, taking
// each field's value from `columns` through `map`. The writers (decoded text into a
// RecordAssembler, one-byte characters straight into the record) share this shape:
//   int width(int field) const;
//   void put_fixed(std::string_view text, bool checked);
//   void put_checked(View text);  // as given, checked by the field's kind
//   void put_digits(View value);  // zero-right, checked
//   void put_name(View value);    // space-left, checked unless names go unchecked
//   void put_code(View value);    // space-left
//   void put_text(View value);    // space-left
//   void fail(int field);
//   static constexpr bool kLooksUpBanks;  // and, when true:
//   void put_bank_fields(const std::array<View, 4>& values);
// Templates, not virtual calls: the quick path runs this for every row.
template <typename Writer, FieldText View>
void put_planned_fields(Writer& record, std::span<const PlannedField> plan,
                        std::span<const FieldLayout> layout,
                        const std::array<View, kMaxInputColumn + 1>& columns, const ColumnMap& map,
                        PlanOptions options) {
  const auto value_of = [&](const PlannedField& planned) {
    if (planned.column == kNoColumn) return View();
    const View value = columns[map.entries[planned.column]];
    return planned.trim_leading ? trim_leading_spaces(value) : value;
  };
  const auto check_cut = [&](const PlannedField& planned, View value) {
    if (planned.cut == Cut::Silent) return;
    const int width = layout[planned.field - 1].width;
    const bool kept = layout[planned.field - 1].padding == Padding::ZeroRight
                          ? zero_right_keeps_value(value, width)
                          : space_left_keeps_value(value, width);
    if (!kept) record.fail(planned.field);
  };

  for (std::size_t i = 0; i < plan.size(); ++i) {
    const PlannedField& planned = plan[i];
    const View value = value_of(planned);
    if constexpr (Writer::kLooksUpBanks) {
      // Bank, bank name, branch, branch name go in together: a branch is looked up
      // within its bank.
      if (planned.put == FieldPut::BankCode) {
        const std::span<const PlannedField> four = plan.subspan(i, 4);
        record.put_bank_fields({value, value_of(four[1]), value_of(four[2]), value_of(four[3])});
        for (const PlannedField& bank_field : four) check_cut(bank_field, value_of(bank_field));
        i += 3;
        continue;
      }
    }
    switch (planned.put) {
      case FieldPut::Fixed:
        record.put_fixed(planned.texts.front(), true);
        break;
      case FieldPut::Amount:
        if (!only_digits(value)) record.fail(planned.field);
        [[fallthrough]];
      case FieldPut::Digits:
      case FieldPut::BankCode:
        record.put_digits(value);
        break;
      case FieldPut::BankName:
      case FieldPut::Name:
        record.put_name(value);
        break;
      case FieldPut::Code:
        if (options.debit_data_zero && !planned.debit_data_zero_text.empty()) {
          record.put_fixed(planned.debit_data_zero_text, false);
          continue;  // one of the codes, and whole whatever the column holds
        }
        record.put_code(value);
        if (!is_listed_code(value, planned.texts)) record.fail(planned.field);
        break;
      case FieldPut::Customer: {
        if (!options.twenty_digit) {
          record.put_digits(value);
          break;
        }
        const int width = record.width(planned.field) + record.width(planned.field + 1);
        std::remove_cvref_t<decltype(*value.data())> room[kLogicalRecordLength];
        const View customer = zero_right_into(value, width, room);
        record.put_checked(customer.first(record.width(planned.field)));
        if (!zero_right_keeps_value(value, width)) record.fail(planned.field);
        record.put_checked(customer.last(record.width(planned.field + 1)));
        ++i;
        continue;
      }
      case FieldPut::Text:
        record.put_text(value);
        break;
    }
    check_cut(planned, value);
  }
}

}  // namespace tsubakuro
