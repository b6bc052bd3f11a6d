#pragma once

#include <functional>
#include <optional>

#include "core/text/result.h"
#include "core/workbook/sheet_text.h"
#include "core/workbook/workbook_messages.h"

namespace tsubakuro {

// The most "tbk.tmp" may hold: far more than any bank file's records, far less
// than a sheet that claims its last cell is used.
inline constexpr qint64 kTextFileLimit = qint64(512) << 20;

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

  // Damage, or a size no payment list has: final on both routes, as the suite
  // must not be handed what the reader found broken.
  Failure damaged(const QString& reason) const {
    return failure(damaged_workbook_message(workbook_, reason));
  }
  Failure damaged(ReadRefusal reason) const { return damaged(read_refusal_reason(reason)); }

  // A formula whose value changes with the day it is computed: its saved result
  // is the day it was saved, so the suite must compute it. The first one found is
  // kept for the run's log.
  Failure computed_on_the_day(const QString& function) {
    if (!volatile_function_) volatile_function_ = function;
    return refusal(volatile_function_reason(function));
  }
  const std::optional<QString>& volatile_function() const { return volatile_function_; }

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
  std::optional<QString> volatile_function_;
};

}  // namespace tsubakuro
