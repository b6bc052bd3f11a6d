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
  settle();
  if (row < row_ || (row == row_ && column <= last_column_) || row >= kRowLimit ||
      column >= kColumnLimit)
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
  cell_start_ = buffer_.size();
  fields_before_ = fields_;
  const int commas = fields_ == 0 ? column : column - fields_ + 1;
  buffer_.append(commas, ',');
  field_start_ = buffer_.size();
  fields_ = column + 1;
  last_column_ = column;
  return &buffer_;
}

void SheetWriter::settle() {
  if (cell_start_ < 0) return;
  if (buffer_.size() == field_start_) {
    buffer_.truncate(cell_start_);
    fields_ = fields_before_;
  }
  widest_ = std::max(widest_, fields_);
  cell_start_ = -1;
}

void SheetWriter::keep_cell() {
  if (cell_start_ < 0) return;
  widest_ = std::max(widest_, fields_);
  cell_start_ = -1;
}

Result<void> SheetWriter::flush_if_full() {
  settle();
  if (buffer_.size() >= kFlushSize && !flush())
    return refusal(ReadRefusal::UnwritableTemporaryFile);
  return {};
}

Result<void> SheetWriter::finish(const QString& target, const QString& workbook,
                                 const std::function<bool()>& stop_requested) {
  const Failure unwritten = failure(unwritable_target_message(target, workbook));
  end_row();
  // The rows after the last filled one are not written; an empty sheet is one empty
  // line, as the suite writes it.
  std::size_t rows = fields_per_row_.size();
  while (rows > 0 && fields_per_row_[rows - 1] == 0) --rows;
  if (!flush() || !out_.flush() || !out_.seek(0)) return unwritten;
  SaveFile result(target);
  if (!result.open()) return unwritten;
  QByteArray chunk;
  QByteArray line;
  std::size_t index = 0;
  QByteArray pending;
  while (index < rows) {
    chunk = out_.read(kFlushSize);
    if (chunk.isEmpty()) break;
    qsizetype start = 0;
    while (index < rows) {
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
  if (rows == 0) line = "\n";
  if (!result.write(line) || out_.error() != QFileDevice::NoError) return unwritten;
  if (stop_requested && stop_requested()) {
    result.cancel();
    return cancelled();
  }
  if (!result.commit()) return unwritten;
  return {};
}

void SheetWriter::end_row() {
  settle();
  if (row_ < 0 || ended_row_ == row_) return;
  fields_per_row_.push_back(fields_);
  fields_sum_ += std::max(1, fields_);
  buffer_.append('\n');
  ended_row_ = row_;
  fields_ = 0;
  last_column_ = -1;
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
