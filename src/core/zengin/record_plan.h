#pragma once

#include <array>
#include <span>
#include <string_view>

#include "core/zengin/record_kinds.h"

namespace tsubakuro {

// How a planned field takes its value. Every kind but Code, Text, TransferDate and
// BankFills is checked by the field's working kind (a name only while the name check
// is on).
enum class FieldPut {
  Fixed,     // the plan's text
  Checked,   // padded as its layout pads
  Digits,    // zero-right
  Amount,    // zero-right, and failing on anything but digits and thousands
             // separators: the bank moves what the field says, so a sign or a
             // fraction is refused, not rounded
  BankCode,  // Digits; a bank or branch, looked up in the bank list where there is one
  BankName,  // Name; filled from and compared with the bank list where there is one
  Name,      // space-left
  Code,      // space-left, passing only as one of the plan's codes
  Customer,  // Digits; under the twenty-digit option, one number over this field and
             // the next, the two widths together
  Text,      // space-left, unchecked
  // Checked; the code names the file's character set, so under the banks' character
  // check only the plan's code, the one of the characters written, passes.
  CodeClass,
  // The transfer date as stored (MMDD), passing only as a day its month has (the
  // year is not known here, so 29 February passes).
  TransferDate,
  Total,      // zero-right, checked; failing when the total is negative or too large
  BankFills,  // what the bank writes once it has run the transfers, unchecked
};

// What a value too long for its field may lose.
enum class Cut {
  Silent,      // anything: a name or a memo keeps its start
  KeepsValue,  // only what the padding adds (leading zeros, trailing blanks): a number
               // or a code cut to its width is another one, and fails
};

inline constexpr int kNoColumn = -1;

// One field of a record as the builders put it.
struct PlannedField {
  int field;  // its number, from 1
  // Where its value is read from, or kNoColumn: the body column (ColumnMap entry)
  // of a data record, the header value of a header, the total of a trailer.
  int column;
  FieldPut put;
  bool trim_leading;  // whether the value loses its leading blanks first
  Cut cut;
  // Fixed: its text. Code, CodeClass: the codes that pass, without their trailing
  // blanks ("" is the blank code).
  std::span<const std::string_view> texts = {};
  // Written in place of the column when the debit data-zero option is on.
  std::string_view debit_data_zero_text = {};
  // Whether the field must hold something (an Amount: a sum above zero), whatever
  // its working kind says: padding would turn an empty account into zeros and an
  // empty amount into a payment of 0 yen, which the bank takes without a word.
  bool required = false;
};

namespace data_plan_detail {

using enum FieldPut;
using enum Cut;

inline constexpr std::string_view kDataKind[] = {"2"};
inline constexpr std::string_view kBlankOnly[] = {""};
// 預金種目: 普通, 当座, 貯蓄 and その他 in a 振込 record; a 振替 draws only from
// the accounts its own set names.
inline constexpr std::string_view kCreditAccountTypes[] = {"1", "2", "4", "9"};
inline constexpr std::string_view kDebitAccountTypes[] = {"1", "2", "9"};
inline constexpr std::string_view kNewCodes[] = {"0", "1", "2", ""};
inline constexpr std::string_view kCreditDesignations[] = {"7", "8", ""};
inline constexpr std::string_view kDebitResults[] = {"0", ""};
inline constexpr bool kRequired = true;

// Fields 2 to 15 are read from body columns 0 to 13; the transfer kinds differ only
// in the account types, the codes of field 14 and the option that writes it.
constexpr std::array<PlannedField, 15> data_plan(std::span<const std::string_view> account_types,
                                                 std::span<const std::string_view> field14_codes,
                                                 std::string_view field14_option_text) {
  return {{
      {1, kNoColumn, Fixed, false, KeepsValue, kDataKind},
      {2, 0, BankCode, true, KeepsValue, {}, {}, kRequired},
      {3, 1, BankName, false, Silent},
      {4, 2, BankCode, true, KeepsValue, {}, {}, kRequired},
      {5, 3, BankName, false, Silent},
      {6, 4, Code, true, KeepsValue, kBlankOnly},  // 手形交換所番号: left to the bank
      {7, 5, Code, true, KeepsValue, account_types},
      {8, 6, Digits, true, KeepsValue, {}, {}, kRequired},
      {9, 7, Name, false, Silent, {}, {}, kRequired},
      {10, 8, Amount, true, KeepsValue, {}, {}, kRequired},
      {11, 9, Code, true, KeepsValue, kNewCodes},
      {12, 10, Customer, true, KeepsValue},
      {13, 11, Digits, true, KeepsValue},
      {14, 12, Code, false, KeepsValue, field14_codes, field14_option_text},
      {15, 13, Text, false, Silent},
  }};
}

}  // namespace data_plan_detail

// The data record's plans. Constants, so the quick path's walk is laid out field by
// field at compile time.
inline constexpr auto kDataCreditPlan = data_plan_detail::data_plan(
    data_plan_detail::kCreditAccountTypes, data_plan_detail::kCreditDesignations, {});
// The option writes its zero whatever the column holds.
inline constexpr auto kDataDebitPlan = data_plan_detail::data_plan(
    data_plan_detail::kDebitAccountTypes, data_plan_detail::kDebitResults, "0");

namespace header_plan_detail {

using enum FieldPut;
using enum Cut;

inline constexpr std::string_view kHeaderKind[] = {"1"};
inline constexpr std::string_view kCreditKindCodes[] = {"21", "11", "12"};
inline constexpr std::string_view kDebitKindCodes[] = {"91"};
inline constexpr std::string_view kShiftJisCodeClass[] = {"0"};
inline constexpr std::string_view kAccountTypes[] = {"1", "2"};

// Fields 2 to 13 are read from header values 0 to 11, none of them trimmed; the
// transfer kinds differ only in their 種別コード.
constexpr std::array<PlannedField, 13> header_plan(std::span<const std::string_view> kind_codes) {
  return {{
      {1, kNoColumn, Fixed, false, KeepsValue, kHeaderKind},
      {2, 0, Code, false, KeepsValue, kind_codes},
      {3, 1, CodeClass, false, KeepsValue, kShiftJisCodeClass},
      {4, 2, Checked, false, KeepsValue},
      {5, 3, Name, false, Silent},
      {6, 4, TransferDate, false, KeepsValue},
      {7, 5, BankCode, false, KeepsValue},
      {8, 6, BankName, false, Silent},
      {9, 7, BankCode, false, KeepsValue},
      {10, 8, BankName, false, Silent},
      {11, 9, Code, false, KeepsValue, kAccountTypes},
      {12, 10, Digits, false, KeepsValue},
      {13, 11, Text, false, Silent},
  }};
}

}  // namespace header_plan_detail

inline constexpr auto kHeaderCreditPlan =
    header_plan_detail::header_plan(header_plan_detail::kCreditKindCodes);
inline constexpr auto kHeaderDebitPlan =
    header_plan_detail::header_plan(header_plan_detail::kDebitKindCodes);

// The totals a trailer's Total field is read from.
inline constexpr int kTrailerCount = 0;
inline constexpr int kTrailerAmount = 1;

namespace trailer_plan_detail {

using enum FieldPut;
using enum Cut;

inline constexpr std::string_view kTrailerKind[] = {"8"};

inline constexpr std::array<PlannedField, 4> kCredit = {{
    {1, kNoColumn, Fixed, false, KeepsValue, kTrailerKind},
    {2, kTrailerCount, Total, false, KeepsValue},
    {3, kTrailerAmount, Total, false, KeepsValue},
    {4, kNoColumn, Text, false, Silent},
}};

// A debit file comes back from the bank with the results of its transfers.
inline constexpr std::array<PlannedField, 8> kDebit = {{
    {1, kNoColumn, Fixed, false, KeepsValue, kTrailerKind},
    {2, kTrailerCount, Total, false, KeepsValue},
    {3, kTrailerAmount, Total, false, KeepsValue},
    {4, kNoColumn, BankFills, false, Silent},
    {5, kNoColumn, BankFills, false, Silent},
    {6, kNoColumn, BankFills, false, Silent},
    {7, kNoColumn, BankFills, false, Silent},
    {8, kNoColumn, Text, false, Silent},
}};

}  // namespace trailer_plan_detail

// The fields a record reads from a row of the payment list, in order: only the
// data record's. The others are built from the settings and the totals, and give
// an empty span here; their plans are header_plan and trailer_plan.
std::span<const PlannedField> record_plan(TransferKind transfer, RecordKind record);

// The header record's fields, in order, read from the kind's header values.
std::span<const PlannedField> header_plan(TransferKind transfer);
// The trailer record's fields, in order, read from the run's totals.
std::span<const PlannedField> trailer_plan(TransferKind transfer);

// The number of the plan's Amount field (0 if it has none).
int amount_field(std::span<const PlannedField> plan);

}  // namespace tsubakuro
