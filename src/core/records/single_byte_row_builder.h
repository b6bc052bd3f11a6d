#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QVarLengthArray>
#include <array>

#include "core/records/data_record.h"

namespace tsubakuro {

// The data record of a line, built straight from its CP932 bytes. Nearly every
// payment row is ASCII and half-width katakana, characters of one byte each, so
// widths, cuts and checks can be taken on the bytes, and the record holds the
// very bytes the line held: nothing is decoded, encoded again or allocated. A name
// with other characters (a full-width name is the common mistake) is decoded and
// fitted on its own.
//
// It gives the record and failed fields build_data_record would give, or declines
// and leaves the line to it: a line holding a quote, a code or number holding any
// other byte, and any line of which the build would say more than which fields
// failed. With the banks' rules on, that is a name the rules would mend, refuse,
// warn of or cut: the quick build takes only names of the characters both builds
// agree need no word (no letters or symbols, which payroll files must not hold),
// whole in their fields. Bank and branch fields are built once for each distinct
// four values by the general build itself, and taken only when it said nothing.
class SingleByteRowBuilder {
 public:
  struct Row {
    std::array<char, kLogicalRecordLength> bytes;
    quint32 failed_fields = 0;  // bit n set: field n failed
    qint64 amount = 0;          // as the record holds it
    qsizetype characters = 0;   // the line's, as decode_cp932 counts them
    qint64 columns = 0;         // the line's, as column_count counts them
    // Names the rules mended, as the general build notes them, in field order.
    QVarLengthArray<FieldCorrection, 2> corrections;
  };

  // `memo` serves the bank list's checks, as it serves build_data_record's.
  SingleByteRowBuilder(const ColumnMap& map, TransferKind transfer,
                       const ConversionOptions& options, const FieldChecker& checker,
                       const BankList* banks, BankNameMemo* memo = nullptr);

  // False when the line must go to build_data_record; `row` is then unspecified.
  bool build(QByteArrayView line, Row& row) const;

  static bool is_single_byte_text(QByteArrayView text);

 private:
  template <bool>
  friend class SingleByteRecordWriter;

  // Whether the name of `field` is one the general build writes as given and says
  // nothing of.
  bool plain_name(int field, QByteArrayView value) const;
  // The bank, bank name, branch and branch name fields as the general build writes
  // them, when it says nothing of them; empty otherwise.
  QByteArrayView listed_bank_fields(const std::array<QByteArrayView, 4>& values) const;
  // A name the rules mend and say nothing else of (a full-width or hiragana payee),
  // as the general build puts it in `field`: its bytes and its correction. Empty
  // bytes when the build says more of it.
  struct MendedName {
    QByteArray bytes;
    FieldCorrection correction;
  };
  const MendedName& mended_name(int field, QByteArrayView value) const;

  ColumnMap map_;
  const FieldChecker* checker_;
  TransferKind transfer_;
  bool twenty_digit_;
  bool debit_data_zero_;
  bool check_names_;
  bool usable_ = true;
  BankRules rules_;
  const BankList* banks_;
  BankNameMemo* memo_;
  // Under the rules, whether each byte may stand in a name, and whether a voicing
  // mark (0: ﾞ, 1: ﾟ) may follow each byte.
  std::array<bool, 256> plain_name_byte_{};
  std::array<std::array<bool, 256>, 2> mark_follows_{};
  int first_bank_field_ = 0;
  int bank_fields_start_ = 0;  // the offset of the first of them in the record
  int bank_fields_width_ = 0;
  // The four values (joined by tabs) and the bytes listed_bank_fields gives for
  // them; forgotten when it grows too large.
  mutable QHash<QByteArray, QByteArray> listed_bank_fields_;
  // Names mended, keyed by the field's number and the value; forgotten when it
  // grows too large. Payees repeat from row to row and month to month.
  mutable QHash<QByteArray, MendedName> mended_names_;
  quint32 code_columns_ = 0;  // bit i: body column i is read into a code or a number
  int amount_field_ = 0;
  int amount_start_ = 0;  // the offset of 金額 in the record
  std::array<int, 32> widths_{};
  // Whether each byte, as one character, passes the field check of each field.
  std::array<std::array<bool, 256>, 32> passes_{};
};

}  // namespace tsubakuro
