#pragma once

#include <QByteArrayView>
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
// other byte, or options under which the build mends names or gives reasons (the
// banks' name rules, a bank list).
class SingleByteRowBuilder {
 public:
  struct Row {
    std::array<char, kLogicalRecordLength> bytes;
    quint32 failed_fields = 0;  // bit n set: field n failed
    qint64 amount = 0;          // as the record holds it
    qsizetype characters = 0;   // the line's, as decode_cp932 counts them
    qint64 columns = 0;         // the line's, as column_count counts them
  };

  SingleByteRowBuilder(const ColumnMap& map, TransferKind transfer,
                       const ConversionOptions& options, const FieldChecker& checker,
                       const BankList* banks);

  // False when the line must go to build_data_record; `row` is then unspecified.
  bool build(QByteArrayView line, Row& row) const;

  static bool is_single_byte_text(QByteArrayView text);

 private:
  friend class SingleByteRecordWriter;

  ColumnMap map_;
  const FieldChecker* checker_;
  TransferKind transfer_;
  bool twenty_digit_;
  bool debit_data_zero_;
  bool check_names_;
  bool usable_;
  quint32 code_columns_ = 0;  // bit i: body column i is read into a code or a number
  int amount_field_ = 0;
  int amount_start_ = 0;  // the offset of 金額 in the record
  std::array<int, 32> widths_{};
  // Whether each byte, as one character, passes the field check of each field.
  std::array<std::array<bool, 256>, 32> passes_{};
};

}  // namespace tsubakuro
