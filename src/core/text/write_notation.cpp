#include "core/text/write_notation.h"

namespace tsubakuro {

namespace {

bool is_line_end(QChar c) { return c == u'\r' || c == u'\n'; }

bool is_blank(QChar c) { return c == u' ' || c == u'\t'; }

}  // namespace

WriteNotationReader::WriteNotationReader(QString text) : text_(std::move(text)) {}

bool WriteNotationReader::at_end() const {
  for (qsizetype i = position_; i < text_.size(); ++i) {
    if (!is_line_end(text_[i])) return false;
  }
  return true;
}

QString WriteNotationReader::read_item() {
  const qsizetype size = text_.size();
  while (position_ < size && is_blank(text_[position_])) ++position_;

  QString item;
  if (position_ < size && text_[position_] == u'"') {
    // A quoted text ends at the next quote on its line; an unterminated one takes
    // the rest of the line rather than swallowing the values that follow.
    const qsizetype start = ++position_;
    while (position_ < size && text_[position_] != u'"' && !is_line_end(text_[position_]))
      ++position_;
    item = text_.sliced(start, position_ - start);
    if (position_ < size && text_[position_] == u'"') ++position_;
    // Whatever stands between the closing quote and the delimiter is dropped.
    while (position_ < size && text_[position_] != u',' && !is_line_end(text_[position_]))
      ++position_;
  } else {
    const qsizetype start = position_;
    while (position_ < size && text_[position_] != u',' && !is_line_end(text_[position_]))
      ++position_;
    qsizetype end = position_;
    while (end > start && is_blank(text_[end - 1])) --end;
    item = text_.sliced(start, end - start);
  }

  // Consume the delimiter: a comma leaves the next item on the same line; a line
  // ends at CR LF, a lone CR or a lone LF.
  if (position_ < size) {
    if (text_[position_] == u',') {
      ++position_;
    } else if (text_[position_] == u'\r') {
      ++position_;
      if (position_ < size && text_[position_] == u'\n') ++position_;
    } else if (text_[position_] == u'\n') {
      ++position_;
    }
  }
  return item;
}

void WriteNotationWriter::write_text(QStringView text) {
  text_ += u'"';
  text_ += text;
  text_ += u"\"\r\n";
}

void WriteNotationWriter::write_number(qint64 number) {
  text_ += QString::number(number);
  text_ += u"\r\n";
}

void WriteNotationWriter::write_empty() { text_ += u"\r\n"; }

}  // namespace tsubakuro
