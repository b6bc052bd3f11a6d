#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "core/files/save_file.h"
#include "core/text/result.h"
#include "core/zengin/field_dictionary.h"
#include "core/zengin/record_kinds.h"

namespace tsubakuro {

// The error log of a company's last run, "<company>.log" in the working folder:
// one message per line in the write notation, CP932, CR LF. A run's log is
// written beside the old one, in large writes, and takes the old one's place only
// when commit() is called, together with the bank file it describes: a run that
// is killed or fails leaves the previous run's log as it was.
class ConversionLog {
 public:
  explicit ConversionLog(QString file_name);
  // Without commit(), the new log is thrown away.
  ~ConversionLog();

  // Starts a new, empty log.
  Result<void> reset_log();
  // Appends `"message"` CR LF. A line may wait in memory, so a full disk may only
  // show at a later line or at flush().
  Result<void> append_log(QStringView message);
  // The same for a message already in the bytes encode_message gives: a run that
  // logs one message for many rows encodes its fixed parts once.
  Result<void> append_encoded(QByteArrayView message);
  // Appends the log's bytes for `message`: CP932, a character it cannot hold as
  // "?" (each half of a surrogate pair on its own).
  static void encode_message(QStringView message, QByteArray& out);
  // Writes the lines that wait. A run flushes before it replaces the bank file, so
  // that a log that cannot be written never leaves a new bank file beside the old log.
  Result<void> flush();
  // Makes the new log whole on the disk and links it as `name`, to be renamed into
  // place beside its bank file (SaveFile::link_as); the log is then done.
  Result<void> link_as(const QString& name);
  // Puts the new log in the old one's place; on failure the old log stays.
  Result<void> commit();

  const QString& file_name() const { return file_name_; }

 private:
  QString file_name_;
  template <typename Encode>
  Result<void> append_line(Encode&& encode);

  std::optional<SaveFile> file_;  // open from reset_log until commit
};

// Composes the message of a failed field and appends it to the log.
Result<void> report_field_error(ConversionLog& log, const FieldTable& field_names,
                                TransferKind transfer, bool twenty_digit, int data_kind, int field,
                                qint64 record_number);

}  // namespace tsubakuro
