#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>

#include "core/zengin/field_dictionary.h"
#include "core/zengin/record_kinds.h"

// Every line a run writes to its log is composed here, and the lines the program
// reads back are parsed here, so the two can never drift apart; so are the
// messages about the log file itself.
namespace tsubakuro {

QString log_uncreatable_message(const QString& file_name);
QString log_unopened_message(const QString& file_name);
QString log_unwritable_message(const QString& file_name);
QString log_unreadable_message(const QString& file_name, const QString& reason);

// The run's markers, each followed by log_timestamp().
QString log_title(const QString& company, const QString& company_title, TransferKind transfer);
QString log_start_marker();
QString log_end_marker();
QString log_cancel_marker();

// The transfer kind a log's first line (log_title) names; nothing when the line
// is no title.
std::optional<TransferKind> parse_log_title_kind(QStringView title);

// The date and time a marker line carries, when `line` is that marker followed
// by log_timestamp(); nothing otherwise.
std::optional<QDateTime> parse_marker_time(QStringView line, const QString& marker);

// A row too long to convert: it gets no record, only this line.
QString compose_long_row_error(qint64 record_number);

// The date and time of the log markers in the Japanese system formats,
// whatever the machine's locale: "yyyy/MM/dd H:mm:ss".
QString log_timestamp(const QDateTime& moment);

// A data record's number as the log shows it: the last six digits, zero-filled.
QString log_record_number(qint64 record_number);
// The same six characters appended to `out` as bytes, as encode_message gives them.
void append_log_record_number(qint64 record_number, QByteArray& out);

// A row whose columns are not those of its heading (or, without one, of most rows
// of its list): a separator where none belongs (an unquoted "1,000") moves every
// later value into the wrong field, and a lost one moves them back.
QString compose_column_count_error(qint64 record_number, qint64 columns, qint64 expected,
                                   bool expected_from_heading);

// A row whose quoted field never ends: it is read as its line alone, split at every
// comma, and the lines below are rows of their own.
QString compose_unclosed_quote_error(qint64 record_number);

// A run that wrote no data record: a bank file without payments is no success.
QString no_data_error();

// Which end of the list a line was skipped at.
enum class SkippedEnd { Heading, Footer };

// A line skipped as the heading or the footer that reads as a payment: the list
// may have neither, and its first or last payee would go unpaid in silence.
// ボディ：読み飛ばした最終行が支払いの行です（ﾌｼﾞﾀ ﾏｻﾙ 5,500円）。…
QString compose_skipped_payment_error(SkippedEnd end, QStringView payee, qint64 amount);

// The message of a failed field. data_kind is the Zengin code (1, 2 or 8);
// record_number counts data records and is used for data_kind 2 only;
// twenty_digit is the 20-digit option that built the record.
QString compose_field_error(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                            int data_kind, int field, qint64 record_number);

// The note of a name field mended into the banks' characters, numbered as its
// error would be: 補正：000012件目の[9]預金者名「ﾔﾏﾀﾞ ﾊﾅｺ」←「やまだ　はなこ」.
// Not an error: the run goes on as if the list had held the mended text.
QString compose_field_correction(const FieldTable& field_names, TransferKind transfer,
                                 bool twenty_digit, int data_kind, int field, qint64 record_number,
                                 QStringView corrected, QStringView original);
inline constexpr char16_t kCorrectionPrefix[] = u"補正：";

// The warning of a bank or branch name that is not the bank list's kana for its
// code, numbered as its error would be:
// 注意：000003件目の[3]振込銀行名「ﾐﾅﾄｷﾞﾝｺｳ」は銀行一覧では「ﾐｽﾞﾎ」です。
// Not an error: the bank may know the name under another spelling.
QString compose_name_difference(const FieldTable& field_names, TransferKind transfer,
                                bool twenty_digit, int data_kind, int field, qint64 record_number,
                                QStringView written, QStringView listed);
inline constexpr char16_t kWarningPrefix[] = u"注意：";

// A name longer than its field, with any of the banks' rules on, as the field
// holds it: 注意：000012件目の[9]預金者名を30桁に切り詰めました「ﾐﾄﾞﾘﾉ ｼﾖｳｶｲ」.
QString compose_name_cut(const FieldTable& field_names, TransferKind transfer, bool twenty_digit,
                         int data_kind, int field, qint64 record_number, int width,
                         QStringView written);

// An empty name the bank list's kana was not filled into, for it fails a check in
// force (`reason`):
// 注意：000003件目の[3]振込銀行名に銀行一覧の「ﾐﾂﾋﾞｼﾕ-ｴﾌｼﾞｴｲ」を入れませんでした（カナテーブルにない文字「-」）。
QString compose_name_not_filled(const FieldTable& field_names, TransferKind transfer,
                                bool twenty_digit, int data_kind, int field, qint64 record_number,
                                QStringView listed, QStringView reason);

// A payee's name in a 給与・賞与 file (種別 11, 12) with a Latin letter or a symbol,
// which some banks refuse there:
// 注意：000003件目の[9]預金者名に英字・記号があります。給与・賞与振込では受け付けない銀行があります。
QString compose_payroll_name_warning(const FieldTable& field_names, TransferKind transfer,
                                     bool twenty_digit, int field, qint64 record_number);

// The company's lock file held no live conversion and was taken over; `what` says
// what it was ("空", "終了したプロセス 1234").
QString compose_lock_taken_over(const QString& path, const QString& what);
// The workbook's formulas call a function whose value is the day's (TODAY): the
// office suite computed them as the conversion ran, so the amounts are that day's.
QString compose_volatile_function_note(const QString& function);

// A name field the last run mended into the banks' characters, as its log tells it.
struct LoggedCorrection {
  bool header = false;
  qint64 record_number = 0;  // of a data record, as the log counts it
  int field = 0;             // as the log numbers it
  QString corrected;
  QString original;
};

// Reads one line of the log; nothing when it is not a correction note.
std::optional<LoggedCorrection> parse_logged_correction(QStringView message);

}  // namespace tsubakuro
