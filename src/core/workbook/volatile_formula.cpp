#include "core/workbook/volatile_formula.h"

#include <array>
#include <cctype>
#include <string>

namespace tsubakuro {
namespace {

constexpr std::array<std::string_view, 9> kVolatileFunctions = {
    "TODAY", "NOW", "RAND", "RANDBETWEEN", "RANDARRAY", "OFFSET", "INDIRECT", "CELL", "INFO"};

bool name_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_';
}

}  // namespace

std::optional<QString> volatile_function_in(std::string_view formula) {
  std::size_t i = 0;
  std::string name;
  while (i < formula.size()) {
    const char c = formula[i];
    if (c == '"' || c == '\'') {
      // Quoted text or a quoted sheet name; a doubled quote stays inside.
      for (++i; i < formula.size(); ++i) {
        if (formula[i] != c) continue;
        if (i + 1 < formula.size() && formula[i + 1] == c) {
          ++i;
          continue;
        }
        break;
      }
      ++i;
      continue;
    }
    if (!name_char(c)) {
      ++i;
      continue;
    }
    const std::size_t from = i;
    while (i < formula.size() && name_char(formula[i])) ++i;
    std::size_t after = i;
    while (after < formula.size() && formula[after] == ' ') ++after;
    if (after == formula.size() || formula[after] != '(') continue;
    // A prefixed name ("_xlfn.RANDARRAY", "of:" is no part of a name) by its last part.
    std::string_view word = formula.substr(from, i - from);
    if (const std::size_t dot = word.rfind('.'); dot != std::string_view::npos)
      word = word.substr(dot + 1);
    name.assign(word);
    for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    for (const std::string_view function : kVolatileFunctions) {
      if (name == function) return QString::fromLatin1(function.data(), function.size());
    }
  }
  return std::nullopt;
}

}  // namespace tsubakuro
