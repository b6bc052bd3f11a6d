#pragma once

#include <QString>

#include "core/text/result.h"

namespace tsubakuro {

// The program's own settings live in "tsubakuro.ini" (INI, UTF-8) beside "tbk.ini",
// whose layout other tools still read and so never grows.
inline constexpr char kProgramSettingsFile[] = "tsubakuro.ini";

// What the banks' rules add to a conversion. Every rule is off unless the file
// turns it on, so a folder that has no "tsubakuro.ini" converts exactly as before.
struct BankRules {
  bool check_characters = false;  // names hold only the characters banks accept
  bool normalize_names = false;   // names are mended into those characters first
  bool check_codes = false;       // bank and branch codes checked against the bank list

  // Every rule on: what a new folder starts with.
  static BankRules all_on();
  bool any() const { return check_characters || normalize_names || check_codes; }
  bool operator==(const BankRules&) const = default;
};

// Reads the [bank_rules] group of "tsubakuro.ini" in the working folder; a missing
// file or key leaves that rule off. A file that is there but cannot be read (a
// folder, no permission to read, not text), a line that is no setting, or a rule
// whose value is none of true/false, on/off, yes/no, 1/0 (in any case) fails,
// naming the file and the key: a rule the user asked for must never fall off
// unseen.
Result<BankRules> load_bank_rules();

// Writes the group, keeping whatever else a readable file holds; a file that
// cannot be read is written anew. On failure the old file stays and the result
// says why.
Result<void> save_bank_rules(const BankRules& rules);

// A first start in an empty folder (no "tbk.ini" and no "tsubakuro.ini") writes
// "tsubakuro.ini" with every rule on, so new users get the banks' rules; folders
// that already hold a company's settings keep converting as they always have.
void prepare_program_settings_on_first_start();

}  // namespace tsubakuro
