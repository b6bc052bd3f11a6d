#pragma once

#include "core/records/record_assembler.h"
#include "core/settings/conversion_options.h"

namespace tsubakuro {

// The largest totals the trailer's 6-digit count and 12-digit amount can hold.
constexpr qint64 kMaxTrailerCount = 999'999;
constexpr qint64 kMaxTrailerAmount = 999'999'999'999;

// The trailer record (データ区分 "8") from the run's totals. A count or amount the
// field cannot hold (too large, or a negative amount) fails its field whatever
// its working kind: the bank must never receive a silently cut total.
BuiltRecord build_trailer_record(qint64 row_count, qint64 amount_total, TransferKind transfer,
                                 const ConversionOptions& options, const FieldChecker& checker);

// The end record (データ区分 "9"): never checked.
QByteArray build_end_record();

}  // namespace tsubakuro
