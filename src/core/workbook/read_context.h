#pragma once

#include <functional>
#include <optional>

#include "core/text/result.h"
#include "core/workbook/sheet_text.h"
#include "core/workbook/workbook_messages.h"

namespace tsubakuro {

// A reason the reader gives up on a workbook: the office suite may still read it.
inline Failure refusal(const QString& reason) {
  return failure(reason, Failure::Kind::Unsupported);
}
inline Failure refusal(ReadRefusal reason) { return refusal(read_refusal_reason(reason)); }

// What both readers are given for one read.
class ReadContext {
 public:
  ReadContext(const QString& workbook, std::optional<SheetLocale> locale,
              const std::function<bool()>& stop_requested)
      : workbook_(workbook), locale_(locale), stop_requested_(stop_requested) {}

  // A workbook whose formulas' results were never saved: a value read from it
  // is not what the spreadsheet shows (XlsxWriter saves every formula as 0 and
  // asks for a recalculation on opening). Neither reader may guess the results,
  // so this is final on both routes.
  Failure results_missing() const { return failure(formula_results_missing_message(workbook_)); }

  // The order dates are written in, needed only by a sheet that has dates.
  Result<SheetLocale> locale() const {
    if (!locale_) return refusal(ReadRefusal::UnknownDateOrder);
    return *locale_;
  }
  // Asked every few thousand rows.
  bool stop_requested_at(qint64 row) const {
    return (row & 0xFFF) == 0 && stop_requested_ && stop_requested_();
  }

 private:
  const QString& workbook_;
  std::optional<SheetLocale> locale_;
  const std::function<bool()>& stop_requested_;
};

}  // namespace tsubakuro
