#pragma once

#include <QString>
#include <optional>

#include "core/text/result.h"

namespace tsubakuro::testing {

// How an operation ended, for one expectation that prints it when it ended
// otherwise: no kind after success, else the kind of its failure.
inline std::optional<Failure::Kind> failure_kind(const Result<void>& result) {
  if (result) return std::nullopt;
  return result.kind();
}

}  // namespace tsubakuro::testing
