#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringView>
#include <memory>
#include <optional>
#include <vector>

#include "core/text/result.h"
#include "core/zengin/bank_list.h"
#include "core/zengin/record_kinds.h"
#include "core/zengin/zengin_record_reader.h"

namespace tsubakuro {

// What a bank file is, told by its own bytes rather than by the settings that
// made it: a list may be printed of a file another company's settings wrote,
// or one that came back from the bank.
struct BankFileShape {
  TransferKind transfer = TransferKind::Credit;
  QString kind_code;  // the header's 種別コード: 21, 11, 12 or 91
  int record_length = kLogicalRecordLength;
  bool crlf = false;  // each record ends in CR LF
};

// The record length and line ends as detect_record_length finds them. Fails,
// with the reason, for anything that is not a bank file of a kind the program
// writes.
Result<BankFileShape> detect_bank_file_shape(const QString& path);

// 総合振込一覧表, 給与振込一覧表, 賞与振込一覧表 or 口座振替依頼一覧表; empty for
// another code.
QString transfer_list_title(QStringView kind_code);

// 普通, 当座, 貯蓄 or その他 for a 預金種目; any other code as it stands.
QString account_kind_word(QStringView code);

// A bank and branch as the list shows them: the codes, and the names the bank
// list gives them, or the file's kana when the code is not in the list.
struct ListedBank {
  QString bank_code;
  QString bank_name;
  QString branch_code;
  QString branch_name;
};

struct TransferListHeader {
  QString company_code;  // 委託者コード
  QString company_name;  // 委託者名
  ListedBank bank;       // 取引銀行・支店
  QString account_kind;  // as account_kind_word gives it
  QString account_number;
  QString date_field;          // 振込指定日 or 振替指定日, MMDD as the header holds it
  std::optional<QDate> date;   // with its year: the next such day from the conversion
  QString bank_closed_reason;  // empty on a business day
};

struct TransferListLine {
  qint64 number = 0;  // from 1, in the order of the file
  ListedBank bank;
  QString account_kind;
  QString account_number;
  QString payee;  // 受取人名 or 預金者名, as the bank file holds it
  // Nothing when the field is not a number (a run that logged the row's error
  // writes what the list held); amount_text then shows what the file holds.
  std::optional<qint64> amount;
  QString amount_text;
  QString customer_number;
  // The 振替結果コード of a returned 振替 file; null when the file carries none.
  QChar result_code;
};

struct ResultTotal {
  QChar code;
  qint64 count = 0;
  qint64 amount = 0;
};

struct TransferListOptions {
  // Whether fields 12 and 13 of a data record hold one 20-digit customer
  // number. Unset: so when some record's field 13 holds a digit other than 0.
  std::optional<bool> twenty_digit;
  // The day the file was converted, from which the header's month and day is
  // taken to the next such date. Unset: the day the file was last written.
  std::optional<QDate> converted_on;
};

// 振込・振替一覧表: the header, the data records one line each and the totals of
// a bank file. Opening reads the file through once to count and add up the data
// records; lines are read again when asked for, so a long file costs no more
// memory than a short one. The file stays open while the list lives.
class TransferList {
 public:
  static Result<std::unique_ptr<TransferList>> open(const QString& path,
                                                    const TransferListOptions& options = {});

  const BankFileShape& shape() const { return shape_; }
  QString title() const { return transfer_list_title(shape_.kind_code); }
  const TransferListHeader& header() const { return header_; }
  bool twenty_digit() const { return twenty_digit_; }

  qint64 line_count() const { return line_count_; }
  qint64 amount_total() const { return amount_total_; }
  // Lines whose amount is not a number, left out of amount_total().
  qint64 unreadable_amounts() const { return unreadable_amounts_; }
  // Line `number`, counted from 1; fails when the file changed since it was opened.
  Result<TransferListLine> line(qint64 number);

  // The trailer's 合計件数 and 合計金額: nothing when the file has no trailer or
  // the field is not a number.
  std::optional<qint64> trailer_count() const { return trailer_count_; }
  std::optional<qint64> trailer_amount() const { return trailer_amount_; }
  // Both of the trailer's figures are the lines' count and total, and every
  // line's amount is a number.
  bool totals_agree() const;

  // A 振替 file the bank returned: its data records carry 振替結果コード.
  bool carries_results() const { return carries_results_; }
  // Count and amount of each result code the lines hold, in code order.
  const std::vector<ResultTotal>& result_totals() const { return result_totals_; }

 private:
  TransferList() = default;
  Result<void> read_all(const TransferListOptions& options, QDate converted_on);
  ListedBank listed_bank(const QStringList& pieces, int bank_field) const;

  QString path_;
  ZenginRecordReader reader_;
  BankFileShape shape_;
  TransferListHeader header_;
  std::shared_ptr<const BankList> banks_ = shipped_bank_list();
  bool twenty_digit_ = false;
  qint64 line_count_ = 0;
  qint64 amount_total_ = 0;
  qint64 unreadable_amounts_ = 0;
  std::optional<qint64> trailer_count_;
  std::optional<qint64> trailer_amount_;
  bool carries_results_ = false;
  std::vector<ResultTotal> result_totals_;
};

}  // namespace tsubakuro
