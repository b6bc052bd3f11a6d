#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "core/text/result.h"

namespace tsubakuro {

// A 振替 file the bank returns after the debits: each data record carries its
// 振替結果コード and the trailer the bank's own count of what was and was not
// debited. These read them back.

struct DebitFigures {
  qint64 count = 0;
  qint64 amount = 0;

  bool operator==(const DebitFigures&) const = default;
};

// The number of the data record's field that holds the 振替結果コード.
int debit_result_field();
// The byte a data record (120 bytes) holds as its 振替結果コード, or 0 for a record
// too short to hold one.
char debit_result_code(QByteArrayView record);
// Only 0 says the account was debited: a blank or unknown code is no proof of it.
inline bool is_debited(char code) { return code == '0'; }
// The amount the bank reads from a data record's 引落金額: its leading digits.
qint64 debit_record_amount(QByteArrayView record);
// The code as the record shows it, for its meaning (debit_result.h).
QChar debit_result_character(char code);

// The records of a returned file, taken one data record at a time in the order of the file.
class DebitResultTally {
 public:
  struct Reason {
    char code;
    DebitFigures figures;
  };

  // A data record's 120 bytes.
  void add(QByteArrayView record);

  DebitFigures records() const;
  DebitFigures debited() const { return debited_; }
  DebitFigures not_debited() const;
  // The records not debited by their code, in the order of the codes.
  std::vector<Reason> reasons() const;
  // Whether some record holds a code other than blank or 0: only a bank writes one.
  bool has_failure_codes() const;

 private:
  DebitFigures debited_;
  std::array<DebitFigures, 256> by_code_{};
};

// The trailer's figures; a field that holds anything but digits gives none.
struct DebitTrailer {
  std::optional<DebitFigures> records;      // 合計件数, 合計金額
  std::optional<DebitFigures> debited;      // 振替済件数, 振替済金額
  std::optional<DebitFigures> not_debited;  // 振替不能件数, 振替不能金額

  // Whether the bank filled in its figures: a file as converted leaves them blank,
  // or zero under the trailer's zero option.
  bool carries_results() const;
};

DebitTrailer read_debit_trailer(QByteArrayView record);

// One message for each of the trailer's figures that the data records do not bear
// out; none when they agree.
QStringList debit_trailer_disagreements(const DebitResultTally& tally, const DebitTrailer& trailer);

// "振替済 n件 ¥…、振替不能 n件 ¥…（資金不足 n件 ¥…、…）".
QString debit_result_summary(const DebitResultTally& tally);

// What a returned 振替 file says.
struct DebitResults {
  int record_length = 0;
  DebitResultTally tally;
  DebitTrailer trailer;
  QStringList disagreements;

  bool returned() const { return tally.has_failure_codes() || trailer.carries_results(); }
  // Every record debited, as the trailer says too.
  bool all_debited() const { return tally.not_debited().count == 0 && disagreements.isEmpty(); }
};

// Reads the bank file at `path`, its record length detected (detect_record_length),
// then one header, data records, a trailer and the end record. Fails for a file that
// cannot be read, is no bank file, or is a 振込 file; a 振替 file the bank has not
// returned reads, and says so through returned().
Result<DebitResults> read_debit_results(const QString& path);

}  // namespace tsubakuro
