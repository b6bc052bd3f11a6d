#include "core/zengin/zengin_record_reader.h"

#include <limits>
#include <optional>

#include "core/text/cp932.h"
#include "core/zengin/record_layout.h"

namespace tsubakuro {

qint64 zengin_record_count(qint64 file_size, int record_length) {
  if (file_size <= 0 || record_length <= 0) return 0;
  const qint64 whole = file_size / record_length;
  const qint64 twice_rest = 2 * (file_size % record_length);
  if (twice_rest > record_length || (twice_rest == record_length && whole % 2 == 1))
    return whole + 1;
  return whole;
}

QStringList cut_record(QByteArrayView record, std::span<const FieldLayout> layout) {
  QStringList pieces;
  pieces.reserve(static_cast<qsizetype>(layout.size()));
  qsizetype start = 0;
  for (const FieldLayout& field : layout) {
    const qsizetype from = qMin(start, record.size());
    const qsizetype width = qMin<qsizetype>(field.width, record.size() - from);
    pieces.append(decode_cp932(record.sliced(from, width)));
    start += field.width;
  }
  return pieces;
}

Result<DetectedRecordLength> detect_record_length(QIODevice& file) {
  const qint64 size = file.size();
  const auto byte_at = [&file, size](qint64 offset) -> char {
    char byte = '\0';
    if (offset < 0 || offset >= size || !file.seek(offset) || !file.getChar(&byte)) return '\0';
    return byte;
  };
  std::optional<DetectedRecordLength> found;
  for (const int length : kRecordLengths) {
    const qint64 count = zengin_record_count(size, length);
    if (count < 3) continue;
    const char second = byte_at(length);
    if (byte_at(0) != '1' || (second != '2' && second != '8') ||
        byte_at((count - 1) * length) != '9')
      continue;
    if (found) {
      found->unambiguous = false;
      break;
    }
    found = DetectedRecordLength{
        .record_length = length,
        .crlf = byte_at(length - 2) == '\r' && byte_at(length - 1) == '\n',
    };
  }
  if (!found)
    return failure(
        QStringLiteral("レコードの長さがわかりません（120・122・128・130・256・258 バイトの"
                       "どれでもないか、ヘッダで始まりエンドレコードで終わっていません）。"));
  return *found;
}

Result<void> ZenginRecordReader::open(const QString& path, int record_length) {
  close();
  file_.setFileName(path);
  if (!file_.open(QIODevice::ReadOnly))
    return failure(QStringLiteral("銀行ファイル「%1」を開けません。").arg(path));
  // A length the program does not write counts as 120, as it does for the run;
  // a length of 0 would otherwise divide every read by zero.
  record_length_ = effective_record_length(record_length);
  record_count_ = zengin_record_count(file_.size(), record_length_);
  return {};
}

void ZenginRecordReader::close() {
  file_.close();
  record_count_ = 0;
}

RecordRead ZenginRecordReader::read(qint64 number) {
  RecordRead result;
  if (number < 1 || !file_.isOpen()) return result;
  if (number - 1 > std::numeric_limits<qint64>::max() / record_length_) {
    result.status = RecordRead::Status::PastEnd;
    return result;
  }
  if (!file_.seek((number - 1) * record_length_)) return result;
  result.bytes = file_.read(kLogicalRecordLength);
  result.status = result.bytes.size() == kLogicalRecordLength ? RecordRead::Status::Read
                                                              : RecordRead::Status::PastEnd;
  if (!result.ok()) result.bytes.clear();
  return result;
}

}  // namespace tsubakuro
