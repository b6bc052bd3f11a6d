#include "core/log/conversion_log.h"

#include "core/log/log_lines.h"

#include "core/text/cp932.h"

namespace tsubakuro {

ConversionLog::ConversionLog(QString file_name) : file_name_(std::move(file_name)) {}

ConversionLog::~ConversionLog() = default;

bool ConversionLog::reset_log() {
  file_.emplace(file_name_);
  if (!file_->open()) {
    file_.reset();
    error_ = QStringLiteral("ログファイル「%1」を作成できません。").arg(file_name_);
    return false;
  }
  return true;
}

bool ConversionLog::commit() {
  const bool committed = file_ && file_->commit();
  file_.reset();
  if (committed) return true;
  error_ = QStringLiteral("ログファイル「%1」に書き込めません。").arg(file_name_);
  return false;
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

bool ConversionLog::append_log(QStringView message) {
  return append_line([message](QByteArray& out) { encode_message(message, out); });
}

bool ConversionLog::append_encoded(QByteArrayView message) {
  return append_line([message](QByteArray& out) { out.append(message); });
}

template <typename Encode>
bool ConversionLog::append_line(Encode&& encode) {
  if (!file_) {
    error_ = QStringLiteral("ログファイル「%1」を開けません。").arg(file_name_);
    return false;
  }
  const bool written = file_
                           ->write_with([&encode](QByteArray& out) {
                             out.append('"');
                             encode(out);
                             out.append("\"\r\n", 3);
                           })
                           .ok();
  if (written) return true;
  error_ = QStringLiteral("ログファイル「%1」に書き込めません。").arg(file_name_);
  return false;
}

bool ConversionLog::flush() {
  if (file_ && file_->flush()) return true;
  error_ = QStringLiteral("ログファイル「%1」に書き込めません。").arg(file_name_);
  return false;
}

bool report_field_error(ConversionLog& log, const FieldTable& field_names, TransferKind transfer,
                        bool twenty_digit, int data_kind, int field, qint64 record_number) {
  return log.append_log(
      compose_field_error(field_names, transfer, twenty_digit, data_kind, field, record_number));
}

}  // namespace tsubakuro
