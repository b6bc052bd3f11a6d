#pragma once

#include <QString>
#include <optional>
#include <string_view>

namespace tsubakuro {

// The first function in a formula whose value depends on the moment it is computed
// (TODAY, NOW, RAND...) or on what a saved result cannot show (OFFSET, INDIRECT,
// CELL, INFO), in capitals; function names inside quoted text do not count.
std::optional<QString> volatile_function_in(std::string_view formula);

}  // namespace tsubakuro
