#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>
#include <vector>

#include "core/text/result.h"

namespace tsubakuro {

// One bank or branch of the bank list. The views point into the list, which
// must outlive them.
struct BankListEntry {
  QStringView code;  // four digits for a bank, three for a branch
  QStringView kana;  // half-width katakana, as the bank file holds the name
  QStringView name;  // as the bank writes it (kanji, kana, letters)
  QStringView key;   // bank_name_key of the kana, taken once as the list loads
};

// The banks and branches of Japan as published by the zengin-code package and
// shipped in "banks.tsv" (made by scripts/update-bank-data.sh): the first line
// names the package version and the date of its data, then each bank's line is
// followed by its branches' lines, each the code, the kana and the name
// separated by tabs.
class BankList {
 public:
  // Reads a list file; fails when the file cannot be read or holds no bank.
  static Result<std::shared_ptr<const BankList>> read(const QString& path);
  // The same from the file's text.
  static Result<std::shared_ptr<const BankList>> parse(QString text);

  const QString& version() const { return version_; }
  // The date the package's data was taken; invalid when the file names none.
  QDate date() const { return date_; }
  // "2026年8月24日版（zengin-code 1.0.0-p20260824）", for the About window and --version.
  QString edition() const;
  int bank_count() const { return static_cast<int>(banks_.size()); }
  int branch_count() const { return static_cast<int>(branches_.size()); }

  // By exact code: four digits for a bank, three for a branch. Nothing when
  // the code is not in the list, including codes that are not all digits.
  std::optional<BankListEntry> bank(QStringView code) const;
  std::optional<BankListEntry> branch(QStringView bank_code, QStringView branch_code) const;

  // The bank, or the branch of a bank, whose kana has the bank_name_key `key`
  // (the first in code order); nothing when none has.
  std::optional<BankListEntry> bank_named(QStringView key) const;
  std::optional<BankListEntry> branch_named(QStringView bank_code, QStringView key) const;

  // The banks, or one bank's branches, whose code, kana or name begins with
  // `query`, in code order; an empty query gives them all. Digits match codes;
  // hiragana, full-width katakana and letters are matched as the kana a bank
  // file would hold them, so ぎんざ, ギンザ and ｷﾞﾝｻﾞ find the same branch;
  // anything matches the name, with full-width and half-width letters alike.
  // Spaces are ignored throughout. At most `limit` entries when it is above 0.
  QList<BankListEntry> find_banks(QStringView query, int limit = 0) const;
  QList<BankListEntry> find_branches(QStringView bank_code, QStringView query, int limit = 0) const;

 private:
  struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
  };
  struct Row {
    int code = 0;
    Span code_text;
    Span kana;
    Span name;
    // A run compares every row's names with these, and a search every entry's:
    // the normalisation behind a key is too slow to be done again each time.
    QString kana_key;
    QString name_key;
  };
  struct BankRow {
    Row row;
    qsizetype first_branch = 0;
    qsizetype branch_end = 0;
  };

  BankListEntry entry(const Row& row) const;
  const BankRow* find_bank(QStringView code) const;
  bool matches(const Row& row, QStringView code_prefix, QStringView key) const;

  QString text_;
  QString version_;
  QDate date_;
  std::vector<BankRow> banks_;
  std::vector<Row> branches_;
  // bank_name_key of each bank's kana, in the order of banks_: a bank is looked up
  // by name whenever a row's bank name is not its code's.
  std::vector<QString> bank_keys_;
};

// What two names are compared by: the name without spaces, hiragana as
// katakana, small kana as large, half-width as full-width with the voicing marks
// joined, letters in upper case and every long-vowel or dash mark as "-". A
// bank takes names with the same key for the same name.
QString bank_name_key(QStringView name);

// Where the shipped list is looked for, in order: beside the program, in the
// installation's share/tsubakuro folder, in the data folders of the system, and
// in the data/ folder of the source tree the program was built from.
QStringList bank_list_locations();

// The shipped list, read on first use from the first of bank_list_locations()
// that holds one; when there is none, or the first one found cannot be read, the
// failure names the file or the places looked in.
const Result<std::shared_ptr<const BankList>>& load_shipped_bank_list();
// The same, null when it failed: for windows that only offer the list's help.
std::shared_ptr<const BankList> shipped_bank_list();

}  // namespace tsubakuro
