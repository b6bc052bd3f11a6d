#include "core/conversion/line_reader.h"

#include <cstring>

namespace tsubakuro {
namespace {

constexpr qsizetype kChunkSize = 64 * 1024;

}  // namespace

LineReader::LineReader(QIODevice& device) : device_(device) {}

bool LineReader::fill() {
  if (exhausted_) return false;
  buffer_.remove(0, position_);
  position_ = 0;
  const qsizetype kept = buffer_.size();
  buffer_.resize(kept + kChunkSize);
  const qint64 got = device_.read(buffer_.data() + kept, kChunkSize);
  buffer_.resize(kept + std::max<qint64>(got, 0));
  if (got <= 0) {
    exhausted_ = true;
    failed_ = got < 0;
    return false;
  }
  return true;
}

qsizetype LineReader::find_terminator(qsizetype from) const {
  const char* data = buffer_.constData();
  const qsizetype size = buffer_.size();
  qsizetype i = from;
  // Eight bytes at a time, looking closer only at a word that holds CR or LF:
  // every line of a list passes here twice.
  constexpr quint64 kOnes = 0x0101010101010101;
  constexpr quint64 kHighs = 0x8080808080808080;
  const auto has_zero_byte = [](quint64 word) { return (word - kOnes) & ~word & kHighs; };
  for (; i + 8 <= size; i += 8) {
    quint64 word;
    std::memcpy(&word, data + i, 8);
    if (has_zero_byte(word ^ (kOnes * '\r')) | has_zero_byte(word ^ (kOnes * '\n'))) break;
  }
  for (; i < size; ++i) {
    if (data[i] == '\r' || data[i] == '\n') return i;
  }
  return -1;
}

bool LineReader::at_end() { return position_ >= buffer_.size() && !fill(); }

bool LineReader::read_line(QByteArray& line) {
  too_long_ = false;
  qint64 dropped = 0;
  qsizetype scanned = 0;  // bytes after position_ known to hold no terminator
  const auto take = [&](qsizetype end) {
    line_bytes_ = dropped + (end - position_);
    if (too_long_ || end - position_ > kMaxLineBytes) {
      too_long_ = true;
      line.clear();
    } else {
      // Copied into the caller's buffer, whose room serves line after line.
      line.resize(end - position_);
      std::memcpy(line.data(), buffer_.constData() + position_, end - position_);
    }
  };
  for (;;) {
    const qsizetype end = find_terminator(position_ + scanned);
    if (end >= 0) {
      // The LF of a CR LF may still be in the file. Filling moves the buffer,
      // so the terminator is looked up again.
      if (buffer_[end] == '\r' && end + 1 == buffer_.size() && !exhausted_) {
        scanned = end - position_;
        fill();
        continue;
      }
      take(end);
      position_ = end + 1;
      terminator_ = buffer_[end] == '\r' ? QByteArrayView("\r") : QByteArrayView("\n");
      if (buffer_[end] == '\r' && position_ < buffer_.size() && buffer_[position_] == '\n') {
        ++position_;
        terminator_ = QByteArrayView("\r\n");
      }
      return true;
    }
    scanned = buffer_.size() - position_;
    if (scanned > kMaxLineBytes) {
      too_long_ = true;
      dropped += scanned;
      position_ = buffer_.size();
      scanned = 0;
    }
    if (!fill()) {
      if (scanned == 0 && !too_long_) return false;
      take(buffer_.size());
      position_ = buffer_.size();
      terminator_ = {};
      return true;
    }
  }
}

}  // namespace tsubakuro
