#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

#include "core/settings/company_settings.h"
#include "core/text/result.h"
#include "core/zengin/debit_results.h"
#include "core/zengin/field_dictionary.h"

namespace tsubakuro {

// The records of a returned 振替 file that were not debited, as a payment list
// (CP932, CR LF) that converts again as next month's: in the company's 振替 columns,
// or in a fixed layout of its own when there is no company to follow.
class FailedDebitsCsv {
 public:
  // The columns the company's 振替 section reads (a column that feeds two fields
  // takes the first of them), with a heading line where it skips rows and a total
  // line where it skips a footer. A section that maps no column gives the fixed
  // layout.
  static FailedDebitsCsv for_company(const TransferSettings& debit, bool twenty_digit,
                                     const FieldTable& field_names);
  // 引落銀行番号,引落銀行名,…,顧客番号,振替結果コード,振替結果.
  static FailedDebitsCsv fixed(bool twenty_digit);

  bool is_fixed() const { return fixed_; }
  // The lines before the records: empty for a company that skips none.
  QByteArray heading() const;
  // One record's line. The 振替結果コード goes only into the fixed layout's own
  // columns: the list is of debits still to be made, and a company's column for it
  // takes no code but 0.
  QByteArray row(QByteArrayView record) const;
  // The total line a company skips as its footer, or nothing.
  QByteArray footer(const DebitFigures& total) const;

 private:
  enum class Source {
    None,      // a column no field reads
    Field,     // a field's text, without the blanks its padding adds
    Amount,    // the amount without its leading zeros
    Customer,  // field 12, and 13 with it under the 20-digit option
    Code,      // the 振替結果コード
    Meaning,   // what the code means
  };
  struct Column {
    Source source = Source::None;
    int field = 0;
    QString heading;
  };

  std::vector<Column> columns_;
  int heading_rows_ = 0;
  bool footer_ = false;
  bool fixed_ = false;
  bool twenty_digit_ = false;
};

// Writes the data records of the bank file at `bank_file` (records of
// `record_length` bytes) that were not debited to `csv_path`, whole or not at all,
// and gives their count. A list onto the bank file itself is refused.
Result<qint64> write_failed_debits(const QString& bank_file, int record_length,
                                   const FailedDebitsCsv& layout, const QString& csv_path);

}  // namespace tsubakuro
