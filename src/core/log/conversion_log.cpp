#include "core/log/conversion_log.h"

#include "core/log/log_messages.h"

#include "core/text/cp932.h"

namespace tsubakuro {

ConversionLog::ConversionLog(QString file_name) : file_name_(std::move(file_name)) {}

ConversionLog::~ConversionLog() = default;

Result<void> ConversionLog::reset_log() {
  file_.emplace(file_name_);
  if (!file_->open()) {
    file_.reset();
    return failure(log_uncreatable_message(file_name_));
  }
  return {};
}

Result<void> ConversionLog::commit() {
  const bool committed = file_ && file_->commit();
  file_.reset();
  if (committed) return {};
  return failure(log_unwritable_message(file_name_));
}

void ConversionLog::encode_message(QStringView message, QByteArray& out) {
  const qsizetype start = out.size();
  out.resize(start + 2 * message.size());
  char* end = out.data() + start;
  for (const QChar character : message) {
    const int count = encode_cp932_unit(character.unicode(), end);
    if (count == 0) {
      *end++ = '?';
    } else {
      end += count;
    }
  }
  out.truncate(end - out.constData());
}

Result<void> ConversionLog::append_log(QStringView message) {
  return append_line([message](QByteArray& out) { encode_message(message, out); });
}

Result<void> ConversionLog::append_encoded(QByteArrayView message) {
  return append_line([message](QByteArray& out) { out.append(message); });
}

template <typename Encode>
Result<void> ConversionLog::append_line(Encode&& encode) {
  if (!file_) return failure(log_unopened_message(file_name_));
  const Result<void> written = file_->write_with([&encode](QByteArray& out) {
    out.append('"');
    encode(out);
    out.append("\"\r\n", 3);
  });
  // The log names itself as a log, whatever the save recipe would call it.
  if (written) return {};
  return failure(log_unwritable_message(file_name_));
}

Result<void> ConversionLog::flush() {
  if (file_ && file_->flush()) return {};
  return failure(log_unwritable_message(file_name_));
}

Result<void> ConversionLog::link_as(const QString& name) {
  const bool linked = file_ && file_->link_as(name);
  file_.reset();
  if (linked) return {};
  return failure(log_unwritable_message(file_name_));
}

Result<void> report_field_error(ConversionLog& log, const FieldTable& field_names,
                                TransferKind transfer, bool twenty_digit, int data_kind, int field,
                                qint64 record_number) {
  return log.append_log(
      compose_field_error(field_names, transfer, twenty_digit, data_kind, field, record_number));
}

}  // namespace tsubakuro
