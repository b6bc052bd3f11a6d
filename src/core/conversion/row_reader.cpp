#include "core/conversion/row_reader.h"

#include "core/records/csv_row.h"

namespace tsubakuro {

RowReader::RowReader(QIODevice& device) : reader_(device) {}

bool RowReader::at_end() { return pending_.empty() && reader_.at_end(); }

bool RowReader::read_line(QByteArray& bytes, Line& line) {
  if (!reader_.read_line(bytes)) return false;
  line.terminator = reader_.terminator();
  line.start = offset_;
  line.length = reader_.line_bytes();
  line.too_long = reader_.too_long();
  offset_ += line.length + line.terminator.size();
  return true;
}

bool RowReader::hold(std::size_t count) {
  while (pending_.size() < count) {
    Line line;
    if (!read_line(line.bytes, line)) return false;
    pending_.push_back(std::move(line));
  }
  return true;
}

bool RowReader::read_row(QByteArray& row) {
  unclosed_ = false;
  Line first;
  if (pending_.empty()) {
    // Nearly every row: read straight into the caller's buffer, whose room serves
    // row after row.
    if (!read_line(row, first)) return false;
  } else {
    first = std::move(pending_.front());
    pending_.pop_front();
    row = std::move(first.bytes);
  }
  ++number_;
  too_long_ = first.too_long;
  row_bytes_ = first.length;
  if (too_long_ || !ends_in_quote(QByteArrayView(row), false)) return true;

  // Held line i is line number_ + 1 + i.
  open_until_ = std::max(open_until_, number_);
  std::size_t next = static_cast<std::size_t>(open_until_ - number_);
  for (;;) {
    if (!hold(next + 1)) break;
    const Line& line = pending_[next];
    if (line.too_long || line.start + line.length - first.start > LineReader::kMaxLineBytes) break;
    if (ends_in_quote(QByteArrayView(line.bytes), true)) {
      ++open_until_;
      ++next;
      continue;
    }
    row.append(first.terminator);
    for (std::size_t i = 0; i <= next; ++i) {
      row.append(pending_[i].bytes);
      if (i < next) row.append(pending_[i].terminator);
    }
    row_bytes_ = line.start + line.length - first.start;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(next + 1));
    number_ += static_cast<qint64>(next + 1);
    open_until_ = number_;
    return true;
  }
  unclosed_ = true;
  return true;
}

}  // namespace tsubakuro
