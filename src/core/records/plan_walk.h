#pragma once

#include <array>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>

#include "core/records/data_record.h"
#include "core/zengin/padding.h"
#include "core/zengin/record_layout.h"
#include "core/zengin/record_plan.h"

namespace tsubakuro {

// A plan's text (a Fixed field's, one of its codes) as a field's value.
inline QString fixed_text(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

template <FieldText View>
bool only_digits(View text) {
  return std::ranges::all_of(text,
                             [](auto c) { return code_unit(c) >= u'0' && code_unit(c) <= u'9'; });
}

// An amount written with thousands separators, "1,320,000", as its digits in
// `room`; any other text as it is. Only groups of three after a first group of one
// to three digits are separators: any other comma leaves a text that fails as an
// amount, as "1,0" must never pay 10.
template <FieldText View, typename Unit>
View without_thousands_separators(View value, std::span<Unit> room) {
  const qsizetype size = value.size();
  qsizetype first_comma = 0;
  while (first_comma < size && code_unit(value[first_comma]) != u',') ++first_comma;
  if (first_comma == 0 || first_comma == size || first_comma > 3 ||
      size > static_cast<qsizetype>(room.size()) || (size - first_comma) % 4 != 0)
    return value;
  qsizetype digits = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t c = code_unit(value[i]);
    const bool separator_place = i >= first_comma && (i - first_comma) % 4 == 0;
    if (separator_place ? c != u',' : (c < u'0' || c > u'9')) return value;
    if (!separator_place) room[digits++] = value[i];
  }
  return View(room.data(), digits);
}

// Whether `value`, without its trailing blanks, is one of `codes`. With a cut that
// keeps the value, that is what its space-left field holds. Forced inline: in the
// quick path's laid-out walk the compiler would call it for each code of a row.
template <FieldText View>
[[gnu::always_inline]] inline bool is_listed_code(View value,
                                                  std::span<const std::string_view> codes) {
  const View code = trim_trailing_spaces(value);
  for (const std::string_view listed : codes) {
    if (code.size() == static_cast<qsizetype>(listed.size()) &&
        std::equal(listed.begin(), listed.end(), code.begin(),
                   [](char l, auto c) { return code_unit(l) == code_unit(c); }))
      return true;
  }
  return false;
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

// Walks a record's plan through `record`, a writer of the record's fields in
// order, taking each field's value from `columns` through `map`. The writers
// (decoded text into a RecordAssembler, one-byte characters straight into the
// record) share this shape:
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
// The plan is a template argument and the writer a template parameter: the quick
// path runs this for every row, and gets straight-line code with no virtual call.
template <typename Writer, FieldText View>
class PlanWalk {
 public:
  using Columns = std::array<View, kMaxInputColumn + 1>;

  PlanWalk(Writer& record, std::span<const FieldLayout> layout, const Columns& columns,
           const ColumnMap& map, PlanOptions options)
      : record_(record), layout_(layout), columns_(columns), map_(map), options_(options) {}

  template <const auto& Plan>
  void put_all() {
    put_each<Plan>(std::make_index_sequence<Plan.size()>());
  }

 private:
  template <const auto& Plan, std::size_t... I>
  void put_each(std::index_sequence<I...>) {
    (put<Plan, I>(), ...);
  }

  static constexpr bool is_bank(FieldPut put) {
    return put == FieldPut::BankCode || put == FieldPut::BankName;
  }

  View value_of(const PlannedField& planned) const {
    if (planned.column == kNoColumn) return View();
    const View value = columns_[map_.entries[planned.column]];
    return planned.trim_leading ? trim_leading_spaces(value) : value;
  }

  void check_cut(const PlannedField& planned, View value) {
    if (planned.cut == Cut::Silent) return;
    const FieldLayout& layout = layout_[planned.field - 1];
    const bool kept = layout.padding == Padding::ZeroRight
                          ? zero_right_keeps_value(value, layout.width)
                          : space_left_keeps_value(value, layout.width);
    if (!kept) record_.fail(planned.field);
  }

  // Whatever the field's kind lets through: a kind the user blanked turns the
  // character check off, never the need for a value.
  void check_required(const PlannedField& planned, View value) {
    if (!planned.required) return;
    const View held = trim_trailing_spaces(trim_leading_spaces(value));
    if (held.isEmpty() || (planned.put == FieldPut::Amount && consists_of(held, '0')))
      record_.fail(planned.field);
  }

  template <const auto& Plan, std::size_t I>
  void put() {
    constexpr const PlannedField& planned = Plan[I];
    if constexpr (I > 0 && Plan[I - 1].put == FieldPut::Customer) {
      if (options_.twenty_digit) return;  // written with the field before
    }
    if constexpr (Writer::kLooksUpBanks && is_bank(planned.put)) {
      // Bank, bank name, branch, branch name go in together: a branch is looked up
      // within its bank.
      if constexpr (I == 0 || !is_bank(Plan[I - 1].put)) {
        record_.put_bank_fields({value_of(Plan[I]), value_of(Plan[I + 1]), value_of(Plan[I + 2]),
                                 value_of(Plan[I + 3])});
        for (std::size_t i = I; i < I + 4; ++i) {
          check_cut(Plan[i], value_of(Plan[i]));
          check_required(Plan[i], value_of(Plan[i]));
        }
      }
      return;
    }
    const View value = value_of(planned);
    check_required(planned, value);
    if constexpr (planned.put == FieldPut::Fixed) {
      record_.put_fixed(planned.texts.front(), true);
    } else if constexpr (planned.put == FieldPut::Amount) {
      using Unit = std::remove_cvref_t<decltype(*value.data())>;
      Unit room[kLogicalRecordLength];
      const View digits = without_thousands_separators(value, std::span<Unit>(room));
      record_.put_digits(digits);
      if (!only_digits(digits)) record_.fail(planned.field);
      check_cut(planned, digits);
      return;
    } else if constexpr (planned.put == FieldPut::Digits || planned.put == FieldPut::BankCode) {
      record_.put_digits(value);
    } else if constexpr (planned.put == FieldPut::BankName || planned.put == FieldPut::Name) {
      record_.put_name(value);
    } else if constexpr (planned.put == FieldPut::Code) {
      if constexpr (!planned.debit_data_zero_text.empty()) {
        if (options_.debit_data_zero) {
          // One of the codes, and whole whatever the column holds.
          record_.put_fixed(planned.debit_data_zero_text, false);
          return;
        }
      }
      record_.put_code(value);
      if (!is_listed_code(value, planned.texts)) record_.fail(planned.field);
    } else if constexpr (planned.put == FieldPut::Customer) {
      if (options_.twenty_digit) {
        put_split_number(planned, value);
        return;
      }
      record_.put_digits(value);
    } else if constexpr (planned.put == FieldPut::Text) {
      record_.put_text(value);
    }
    check_cut(planned, value);
  }

  // One number over `planned` and the field after it, the two widths together.
  void put_split_number(const PlannedField& planned, View value) {
    const int first = record_.width(planned.field);
    const int width = first + record_.width(planned.field + 1);
    std::remove_cvref_t<decltype(*value.data())> room[kLogicalRecordLength];
    const View number = zero_right_into(value, width, room);
    record_.put_checked(number.first(first));
    if (!zero_right_keeps_value(value, width)) record_.fail(planned.field);
    record_.put_checked(number.last(width - first));
  }

  Writer& record_;
  std::span<const FieldLayout> layout_;
  const Columns& columns_;
  const ColumnMap& map_;
  const PlanOptions options_;
};

// Puts the data record's fields 1 to 15 of a row through `record`.
template <typename Writer, FieldText View>
void put_data_fields(Writer& record, TransferKind transfer,
                     const std::array<View, kMaxInputColumn + 1>& columns, const ColumnMap& map,
                     PlanOptions options) {
  PlanWalk<Writer, View> walk(record, record_layout(transfer, RecordKind::Data), columns, map,
                              options);
  if (transfer == TransferKind::Debit)
    walk.template put_all<kDataDebitPlan>();
  else
    walk.template put_all<kDataCreditPlan>();
}

}  // namespace tsubakuro
