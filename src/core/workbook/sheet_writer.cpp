#include "core/workbook/sheet_writer.h"

#include <algorithm>

#include "core/files/save_file.h"
#include "core/workbook/read_context.h"
#include "core/workbook/workbook_messages.h"

namespace tsubakuro {
namespace {

constexpr qsizetype kFlushSize = 256 * 1024;

}  // namespace

Result<QByteArray*> SheetWriter::cell(qint64 row, int column) {
  if (row < row_ || (row == row_ && column < fields_) || row >= kRowLimit || column >= kColumnLimit)
    return refusal(ReadRefusal::CellsOutOfOrder);
  if (row > row_) {
    end_row();
    while (row_ + 1 < row) {
      ++row_;
      fields_per_row_.push_back(0);
      ++fields_sum_;
      buffer_.append('\n');
    }
    row_ = row;
  }
  const int commas = fields_ == 0 ? column : column - fields_ + 1;
  buffer_.append(commas, ',');
  fields_ = column + 1;
  widest_ = std::max(widest_, fields_);
  return &buffer_;
}

Result<void> SheetWriter::flush_if_full() {
  if (buffer_.size() >= kFlushSize && !flush())
    return refusal(ReadRefusal::UnwritableTemporaryFile);
  return {};
}

Result<void> SheetWriter::finish(const QString& target, const QString& workbook,
                                 const std::function<bool()>& stop_requested) {
  const Failure unwritten = failure(unwritable_target_message(target, workbook));
  // An empty sheet is one empty line, as the suite writes it.
  if (row_ < 0) static_cast<void>(cell(0, 0));
  end_row();
  if (!flush() || !out_.flush() || !out_.seek(0)) return unwritten;
  SaveFile result(target);
  if (!result.open()) return unwritten;
  QByteArray chunk;
  QByteArray line;
  std::size_t index = 0;
  QByteArray pending;
  for (;;) {
    chunk = out_.read(kFlushSize);
    if (chunk.isEmpty()) break;
    qsizetype start = 0;
    for (;;) {
      const qsizetype end = chunk.indexOf('\n', start);
      if (end < 0) {
        pending.append(chunk.constData() + start, chunk.size() - start);
        break;
      }
      line.append(pending);
      pending.clear();
      line.append(chunk.constData() + start, end - start);
      const int fields = std::max(1, fields_per_row_[index++]);
      line.append(widest_ - fields, ',');
      line.append('\n');
      start = end + 1;
      if (line.size() >= kFlushSize) {
        if (!result.write(line)) return unwritten;
        line.clear();
      }
    }
  }
  if (!result.write(line) || out_.error() != QFileDevice::NoError) return unwritten;
  if (stop_requested && stop_requested()) {
    result.cancel();
    return cancelled();
  }
  if (!result.commit()) return unwritten;
  return {};
}

void SheetWriter::end_row() {
  if (row_ < 0 || ended_row_ == row_) return;
  fields_per_row_.push_back(fields_);
  fields_sum_ += std::max(1, fields_);
  buffer_.append('\n');
  ended_row_ = row_;
  fields_ = 0;
}

qint64 SheetWriter::finished_size() const {
  const bool open_row = row_ >= 0 && ended_row_ != row_;
  const qint64 rows = qint64(fields_per_row_.size()) + (open_row ? 1 : 0);
  const qint64 fields = fields_sum_ + (open_row ? std::max(1, fields_) : 0);
  return written_ + buffer_.size() + (open_row ? 1 : 0) + rows * widest_ - fields;
}

bool SheetWriter::flush() {
  written_ += buffer_.size();
  const bool written = out_.write(buffer_) == buffer_.size();
  buffer_.clear();
  return written;
}

}  // namespace tsubakuro
