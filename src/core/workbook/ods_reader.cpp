#include "core/workbook/ods_reader.h"

#include <QDate>
#include <QHash>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/cell_format.h"
#include "core/workbook/cell_value.h"
#include "core/workbook/member_reader.h"
#include "core/workbook/read_context.h"
#include "core/workbook/sheet_text.h"
#include "core/workbook/sheet_writer.h"
#include "core/workbook/volatile_formula.h"
#include "core/workbook/zip_archive.h"

namespace tsubakuro {
namespace {

constexpr std::string_view kOfficeNs = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view kTableNs = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view kTextNs = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr std::string_view kStyleNs = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
constexpr std::string_view kNumberNs = "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0";
constexpr std::string_view kCalcExtNs =
    "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";

// "PT13H45M10S" (hours may pass 24, seconds may have a fraction) to seconds.
std::optional<double> parse_duration(QStringView text) {
  if (!text.startsWith(u"PT")) return std::nullopt;
  double seconds = 0;
  qsizetype start = 2;
  for (qsizetype i = 2; i < text.size(); ++i) {
    const QChar unit = text[i];
    if (unit != u'H' && unit != u'M' && unit != u'S') continue;
    bool ok = false;
    const double amount = text.mid(start, i - start).toDouble(&ok);
    if (!ok) return std::nullopt;
    seconds += amount * (unit == u'H' ? 3600 : unit == u'M' ? 60 : 1);
    start = i + 1;
  }
  if (start != text.size()) return std::nullopt;
  return seconds;
}

// A repeat count as the table gives it, never beyond the sheet's size: a count
// of 2^63-1 must not wrap a row number around.
qint64 repeat_count(std::optional<std::string_view> value, qint64 limit) {
  if (!value || value->empty()) return 1;
  const std::optional<qint64> count = integer_value(value);
  return count && *count > 0 ? std::min(*count, limit + 1) : 1;
}

// What a cell's data style makes the export write for a date, time, percentage or
// boolean. The suite writes the value in the form it edits a cell of that format in:
// a date in its own language, or as ISO 8601 when the style spells the date as one.
enum class DataStyle {
  None,     // the cell has no style: the export writes its number
  Missing,  // its style names no data style, or one the document lacks: the
            // suite's own format for the value's type
  Date,     // in the suite's language
  DateTime,
  IsoDate,  // year-month-day
  IsoDateTime,
  Time,
  Percentage,
  Boolean,
  Other,  // a number, currency or text style, or a language of its own
};

// The most the names of the styles may hold, in UTF-8 bytes: a workbook has a few
// hundred styles, but a file may claim millions with names of a megabyte each.
constexpr qsizetype kStyleNamesLimit = 16 << 20;

// The cell styles and data styles of styles.xml and content.xml, which a cell's
// style name may take from either.
class OdsStyles {
 public:
  // Called with each element outside the tables; the collector keeps the depth
  // of the data style it is reading.
  void start(XmlName name, const XmlAttributes& a, int depth, XmlHandler& handler) {
    if (style_depth_ != 0) {
      if (depth != style_depth_ + 1 || name.is(kStyleNs, "text-properties")) return;
      if (name.ns != kNumberNs || a.value(kNumberNs, "textual") == "true") {
        shape_ += '?';  // a month's name, a map to other styles
      } else if (name.local == "year") {
        shape_ += 'y';
      } else if (name.local == "month") {
        shape_ += 'm';
      } else if (name.local == "day") {
        shape_ += 'd';
      } else if (name.local == "hours" || name.local == "minutes" || name.local == "seconds") {
        shape_ += 'h';
      } else if (name.local == "text") {
        text_.clear();
        text_depth_ = depth;
        handler.collect(&text_);
      } else {
        shape_ += '?';
      }
      return;
    }
    if (name.is(kStyleNs, "style")) {
      if (a.value(kStyleNs, "family") == "table-cell") {
        const std::optional<std::string_view> data = a.value(kStyleNs, "data-style-name");
        const QString style = attribute_text(a, kStyleNs, "name");
        cell_styles_.insert(style, data ? utf8_text(*data) : QString());
        keep_bounded(style.size() + (data ? qsizetype(data->size()) : 0), handler);
      }
      return;
    }
    if (name.ns != kNumberNs || !name.local.ends_with("-style")) return;
    style_depth_ = depth;
    style_name_ = attribute_text(a, kStyleNs, "name");
    shape_.clear();
    element_ = name.local;
    const std::optional<std::string_view> language = a.value(kNumberNs, "language");
    foreign_ = (language && *language != "ja") ||
               a.value(kNumberNs, "truncate-on-overflow") == "false";  // elapsed time
  }

  void end(int depth, XmlHandler& handler) {
    if (depth == text_depth_) {
      handler.collect(nullptr);
      text_depth_ = 0;
      shape_ += text_ == "-" ? "-" : "?";
    } else if (depth == style_depth_) {
      style_depth_ = 0;
      data_styles_.insert(style_name_, classify());
      keep_bounded(style_name_.size(), handler);
    }
  }

  // What a cell of the style shows; nullopt for a style the document lacks.
  std::optional<DataStyle> data_style(const std::string& cell_style) const {
    const auto style = cell_styles_.constFind(utf8_text(cell_style));
    if (style == cell_styles_.constEnd()) return std::nullopt;
    return data_styles_.value(*style, DataStyle::Missing);
  }

 private:
  static QString attribute_text(const XmlAttributes& a, std::string_view ns,
                                std::string_view local) {
    const std::optional<std::string_view> value = a.value(ns, local);
    return value ? utf8_text(*value) : QString();
  }

  void keep_bounded(qsizetype size, XmlHandler& handler) {
    names_size_ += size + 1;
    if (names_size_ > kStyleNamesLimit) handler.stop(refusal(ReadRefusal::TooManyStyles));
  }

  DataStyle classify() const {
    if (foreign_) return DataStyle::Other;
    if (element_ == "boolean-style") return DataStyle::Boolean;
    if (element_ == "percentage-style") return DataStyle::Percentage;
    if (element_ == "time-style") return DataStyle::Time;
    if (element_ != "date-style") return DataStyle::Other;
    const bool time = shape_.find('h') != std::string::npos;
    // As a format code that starts as an ISO date: what follows does not matter.
    if (shape_.starts_with("y-m-d")) return time ? DataStyle::IsoDateTime : DataStyle::IsoDate;
    return time ? DataStyle::DateTime : DataStyle::Date;
  }

  QHash<QString, QString> cell_styles_;  // a cell style's data style, by name
  QHash<QString, DataStyle> data_styles_;
  int style_depth_ = 0;
  int text_depth_ = 0;
  QString style_name_;
  std::string element_;
  std::string shape_;  // the data style's parts: y m d h, "-" or "?" for other text
  std::string text_;
  bool foreign_ = false;
  qsizetype names_size_ = 0;
};

// styles.xml: the common cell styles and the data styles they name.
class StylesHandler : public XmlHandler {
 public:
  explicit StylesHandler(OdsStyles& styles) : styles_(styles) {}
  void start(XmlName name, const XmlAttributes& a) override {
    styles_.start(name, a, ++depth_, *this);
  }
  void end(XmlName) override { styles_.end(depth_--, *this); }

 private:
  OdsStyles& styles_;
  int depth_ = 0;
};

// content.xml: the automatic cell and data styles (for what a cell shows), then the
// rows of the first table. Elements count by their namespace, whatever prefix
// the file gives it.
class ContentHandler : public XmlHandler {
 public:
  ContentHandler(SheetWriter& writer, ReadContext& context, OdsStyles& styles)
      : writer_(writer), context_(context), styles_(styles) {}

  bool saw_table() const { return table_depth_ != 0 || table_done_; }

  void start(XmlName name, const XmlAttributes& a) override {
    ++depth_;
    if (skip_from_ != 0) return;
    if (table_done_) return;
    if (table_depth_ == 0) {
      if (name.is(kTableNs, "table")) {
        table_depth_ = depth_;
        container_depth_ = depth_;
      } else {
        styles_.start(name, a, depth_, *this);
      }
      return;
    }
    if (cell_depth_ != 0) {
      start_in_cell(name, a);
      return;
    }
    if (row_depth_ != 0) {
      if (depth_ == row_depth_ + 1 &&
          (name.is(kTableNs, "table-cell") || name.is(kTableNs, "covered-table-cell")))
        start_cell(a);
      else
        skip_from_ = depth_;
      return;
    }
    if (depth_ != container_depth_ + 1 || name.ns != kTableNs) {
      skip_from_ = depth_;
    } else if (name.local == "table-row") {
      row_depth_ = depth_;
      row_repeat_ = repeat_count(a.value(kTableNs, "number-rows-repeated"), kRowLimit);
      cells_.clear();
      row_fields_.clear();
      column_ = 0;
    } else if (name.local == "table-row-group" || name.local == "table-header-rows" ||
               name.local == "table-rows") {
      container_depth_ = depth_;
    } else if (name.local == "table-column" || name.local == "table-columns" ||
               name.local == "table-column-group" || name.local == "table-header-columns") {
      // A column's default style is any unstyled cell's in it.
      if (a.value(kTableNs, "default-cell-style-name")) column_styles_ = true;
      if (name.local != "table-column") container_depth_ = depth_;
    } else {
      skip_from_ = depth_;
    }
  }

  void end(XmlName) override {
    if (skip_from_ != 0) {
      if (depth_ == skip_from_) {
        skip_from_ = 0;
        resume();
      }
    } else if (table_depth_ == 0) {
      if (!table_done_) styles_.end(depth_, *this);
    } else {
      if (cell_depth_ != 0) {
        end_in_cell();
      } else if (depth_ == row_depth_) {
        end_row();
      } else if (depth_ == container_depth_) {
        container_depth_ = depth_ == table_depth_ ? 0 : depth_ - 1;
        if (depth_ == table_depth_) {
          table_done_ = true;  // the first worksheet only
          table_depth_ = 0;
        }
      }
    }
    --depth_;
  }

 private:
  struct Cell {
    int column;
    qsizetype from;  // in row_fields_
    qsizetype size;
  };

  void start_cell(const XmlAttributes& a) {
    cell_depth_ = depth_;
    cell_repeat_ = repeat_count(a.value(kTableNs, "number-columns-repeated"), kColumnLimit);
    const auto keep = [&a](std::string_view ns, std::string_view local, std::string& into) {
      const std::optional<std::string_view> value = a.value(ns, local);
      into.assign(value.value_or(std::string_view()));
      return value.has_value();
    };
    keep(kOfficeNs, "value-type", type_);
    keep(kCalcExtNs, "value-type", calcext_type_);
    has_string_value_ = keep(kOfficeNs, "string-value", string_value_);
    keep(kOfficeNs, "boolean-value", boolean_value_);
    keep(kOfficeNs, "value", value_);
    keep(kOfficeNs, "date-value", date_value_);
    keep(kOfficeNs, "time-value", time_value_);
    has_style_ = keep(kTableNs, "style-name", style_);
    has_formula_ = a.value(kTableNs, "formula").has_value();
    paragraphs_.clear();
    paragraph_depth_ = 0;
    paragraphs_seen_ = 0;
    // The suite computes these again on opening; their saved results may differ.
    if (a.value(kTableNs, "number-matrix-columns-spanned")) {
      stop(refusal(ReadRefusal::ArrayFormula));
      return;
    }
    if (const std::optional<std::string_view> formula = a.value(kTableNs, "formula")) {
      if (const std::optional<QString> function = volatile_function_in(*formula))
        stop(context_.computed_on_the_day(*function));
    }
  }

  // The cell's paragraphs, joined by line breaks; of ruby its base only, and no
  // notes or annotations: what the cell shows.
  void start_in_cell(XmlName name, const XmlAttributes& a) {
    if (paragraph_depth_ == 0) {
      if (depth_ == cell_depth_ + 1 && (name.is(kTextNs, "p") || name.is(kTextNs, "h"))) {
        if (paragraphs_seen_++ > 0) paragraphs_.push_back('\n');
        paragraph_depth_ = depth_;
        collect(&paragraphs_);
      } else {
        skip_from_ = depth_;
      }
      return;
    }
    if (name.ns == kTextNs && name.local == "s") {
      const std::optional<std::string_view> count = a.value(kTextNs, "c");
      append_spaces(!count || count->empty() ? 1 : std::clamp(style_value(count), 1, 10000));
      skip_from_ = depth_;
    } else if (name.ns == kTextNs && name.local == "tab") {
      append_spaces(0);
      paragraphs_.push_back('\t');
      skip_from_ = depth_;
    } else if ((name.ns == kTextNs && (name.local == "line-break" || name.local == "ruby-text" ||
                                       name.local == "note")) ||
               name.is(kOfficeNs, "annotation")) {
      // The suite's export leaves out a line break within a paragraph.
      skip_from_ = depth_;
    }
    if (skip_from_ != 0) collect(nullptr);
  }

  void append_spaces(int count) {
    if (paragraphs_.size() + static_cast<std::size_t>(count) + 1 > kCellTextLimit) {
      stop(context_.damaged(ReadRefusal::TextTooLong));
      return;
    }
    paragraphs_.append(static_cast<std::size_t>(count), ' ');
  }

  void end_in_cell() {
    if (depth_ == paragraph_depth_) {
      collect(nullptr);
      paragraph_depth_ = 0;
    } else if (depth_ == cell_depth_) {
      end_cell();
    }
  }

  // A skipped element inside a paragraph ends: its text goes on.
  void resume() {
    if (paragraph_depth_ != 0 && cell_depth_ != 0) collect(&paragraphs_);
  }

  void end_cell() {
    cell_depth_ = 0;
    const qsizetype from = row_fields_.size();
    const Result<bool> filled = cell_field(row_fields_);
    if (!filled) {
      stop(filled.failure());
      return;
    }
    if (*filled) {
      if (column_ + cell_repeat_ > kColumnLimit) {
        stop(refusal(ReadRefusal::TooManyColumns));
        return;
      }
      for (qint64 c = 0; c < cell_repeat_; ++c)
        cells_.push_back({static_cast<int>(column_ + c), from, row_fields_.size() - from});
    }
    column_ = std::min<qint64>(column_ + cell_repeat_, kColumnLimit + 1);
  }

  void end_row() {
    row_depth_ = 0;
    if (!cells_.empty()) {
      if (row_ + row_repeat_ > kRowLimit) {
        stop(refusal(ReadRefusal::TooManyRows));
        return;
      }
      // What the repeats would write, before writing any of it.
      const qint64 row_size = row_fields_.size() + qint64(cells_.size()) + 1;
      if (row_size * row_repeat_ > kTextFileLimit - writer_.finished_size()) {
        stop(context_.damaged(ReadRefusal::TextTooLong));
        return;
      }
      for (qint64 r = 0; r < row_repeat_; ++r) {
        for (const Cell& cell : cells_) {
          const Result<QByteArray*> out = writer_.cell(row_ + r, cell.column);
          if (!out) {
            stop(out.failure());
            return;
          }
          (*out)->append(row_fields_.constData() + cell.from, cell.size);
        }
      }
      if (writer_.finished_size() > kTextFileLimit) {
        stop(context_.damaged(ReadRefusal::TextTooLong));
        return;
      }
    }
    row_ = std::min(row_ + row_repeat_, kRowLimit + 1);
    if (context_.stop_requested_at(row_)) {
      stop(cancelled());
      return;
    }
    if (Result<void> flushed = writer_.flush_if_full(); !flushed) stop(flushed.failure());
  }

  // Appends the cell's field, or gives false for a cell with nothing in it.
  Result<bool> cell_field(QByteArray& field) {
    if (type_.empty()) {
      // A cell without a value type is the text it holds.
      if (paragraphs_seen_ == 0) return false;
      append_text_field(field, utf8_text(paragraphs_));
      return true;
    }
    // A formula's error shows as its code ("#DIV/0!"), which the export writes; but
    // the suite computes the formula again, and gives codes of its own (Err:502).
    if (calcext_type_ == "error") {
      if (has_formula_) return refusal(ReadRefusal::FormulaError);
      append_text_field(field, utf8_text(paragraphs_));
      return true;
    }
    const std::string_view type = type_;
    if (type == "string") {
      append_text_field(field, utf8_text(has_string_value_ ? string_value_ : paragraphs_));
      return true;
    }
    if (type == "float" || type == "currency") {
      const std::optional<double> value = number_value(value_, false);
      if (!value) return refusal(ReadRefusal::NotANumber);
      return number_field(field, *value);
    }
    if (type != "boolean" && type != "percentage" && type != "date" && type != "time")
      return refusal(unknown_cell_type_reason(utf8_text(type)));
    const Result<DataStyle> style = data_style();
    if (!style) return style.failure();
    if (type == "boolean") return boolean_field(field, *style);
    if (type == "percentage") {
      const std::optional<double> value = number_value(value_, false);
      if (!value) return refusal(ReadRefusal::NotANumber);
      if (*style == DataStyle::None) {
        append_number(field, *value);
      } else if (*style == DataStyle::Percentage || *style == DataStyle::Missing) {
        append_number(field, *value * 100);
        field.append('%');
      } else {
        return refusal(ReadRefusal::UnknownCellStyle);
      }
      return true;
    }
    if (type == "date") return date_field(field, *style);
    return time_field(field, *style);
  }

  // A number shows as its style's date, time or percentage, as the xlsx reader
  // writes a number under such a format.
  Result<bool> number_field(QByteArray& field, double value) {
    const std::optional<DataStyle> style =
        has_style_ ? styles_.data_style(style_) : std::optional<DataStyle>();
    CellFormat format = CellFormat::Number;
    switch (style.value_or(DataStyle::None)) {
      case DataStyle::None:
      case DataStyle::Missing:
      case DataStyle::Other:
        append_number(field, value);
        return true;
      case DataStyle::Percentage:
        append_number(field, value * 100);
        field.append('%');
        return true;
      case DataStyle::Boolean:
        return refusal(ReadRefusal::UnknownCellStyle);
      case DataStyle::Date:
        format = CellFormat::Date;
        break;
      case DataStyle::DateTime:
        format = CellFormat::DateTime;
        break;
      case DataStyle::IsoDate:
        format = CellFormat::IsoDate;
        break;
      case DataStyle::IsoDateTime:
        format = CellFormat::IsoDateTime;
        break;
      case DataStyle::Time:
        format = CellFormat::Time;
        break;
    }
    const Result<void> appended = append_serial(field, value, format, false);
    if (!appended) return appended.failure();
    return true;
  }

  // What the cell's style makes of a value of its type. A column's default style
  // would be the style of a cell without one, which the reader does not follow.
  Result<DataStyle> data_style() const {
    if (!has_style_) {
      if (column_styles_) return refusal(ReadRefusal::UnknownCellStyle);
      return DataStyle::None;
    }
    const std::optional<DataStyle> style = styles_.data_style(style_);
    if (!style) return refusal(ReadRefusal::UnknownCellStyle);
    return *style;
  }

  // Without a style the export writes the serial day number; a style without a
  // date format gets the suite's date and time.
  Result<bool> date_field(QByteArray& field, DataStyle style) {
    const QString value = utf8_text(date_value_);
    SheetMoment moment{QDate::fromString(value.left(10), Qt::ISODate), QTime(0, 0)};
    double fraction = 0;
    if (value.size() > 10) {
      const QTime time = QTime::fromString(value.mid(11), Qt::ISODateWithMs);
      if (value[10] != u'T' || !time.isValid()) moment.date = QDate();
      fraction = time.msecsSinceStartOfDay() / 86'400'000.0;
      // Rounded to the second as the suite shows it; a day's last half second stays.
      moment.time =
          QTime(0, 0).addSecs(std::min(86399, (time.msecsSinceStartOfDay() + 500) / 1000));
    }
    if (!moment.date.isValid()) return refusal(ReadRefusal::BadDate);
    if (style == DataStyle::None) {
      append_number(field, double(QDate(1899, 12, 30).daysTo(moment.date)) + fraction);
      return true;
    }
    const bool has_time = moment.time != QTime(0, 0);
    DateKind kind;
    switch (style) {
      case DataStyle::Missing:
      case DataStyle::DateTime:
        kind = DateKind::DateTime;
        break;
      case DataStyle::Date:
        kind = has_time ? DateKind::DateTime : DateKind::Date;
        break;
      case DataStyle::IsoDate:
        kind = has_time ? DateKind::IsoDateTime : DateKind::IsoDate;
        break;
      case DataStyle::IsoDateTime:
        kind = DateKind::IsoDateTime;
        break;
      default:
        return refusal(ReadRefusal::UnknownCellStyle);
    }
    const Result<SheetLocale> locale = context_.locale();
    if (!locale) return locale.failure();
    const Result<void> appended = append_date(field, moment, kind, *locale);
    if (!appended) return appended.failure();
    return true;
  }

  // Without a style the export writes the fraction of the day; with one, the time
  // shows hundredths of a second where there are any.
  Result<bool> time_field(QByteArray& field, DataStyle style) {
    const std::optional<double> seconds = parse_duration(utf8_text(time_value_));
    if (!seconds) return refusal(ReadRefusal::BadTime);
    if (style == DataStyle::None) {
      append_number(field, *seconds / 86400);
      return true;
    }
    const Result<SheetLocale> locale = context_.locale();
    if (!locale) return locale.failure();
    if (style != DataStyle::Time && style != DataStyle::Missing)
      return refusal(ReadRefusal::UnknownCellStyle);
    const QString text = sheet_time_text(*seconds / 86400, *locale);
    if (text.isEmpty()) return refusal(ReadRefusal::TimeOfTwentyFourHours);
    append_plain_field(field, text);
    return true;
  }

  // The suite keeps a boolean as a number: TRUE or FALSE under a boolean style or
  // a style without a data style, 1 or 0 without a style, the cell's value rather
  // than its display.
  Result<bool> boolean_field(QByteArray& field, DataStyle style) {
    bool value = false;
    if (boolean_value_ == "true") {
      value = true;
    } else if (boolean_value_ != "false") {
      return refusal(ReadRefusal::UnknownBoolean);
    }
    if (style == DataStyle::Boolean || style == DataStyle::Missing)
      append_plain_field(field, value ? u"TRUE" : u"FALSE");
    else if (style == DataStyle::None)
      field.append(value ? '1' : '0');
    else
      return refusal(ReadRefusal::UnknownCellStyle);
    return true;
  }

  SheetWriter& writer_;
  ReadContext& context_;

  OdsStyles& styles_;
  bool column_styles_ = false;

  int depth_ = 0;
  int skip_from_ = 0;  // the depth of an element passed over with all it holds
  int table_depth_ = 0;
  bool table_done_ = false;
  int container_depth_ = 0;  // the table or row group whose children are rows
  int row_depth_ = 0;
  int cell_depth_ = 0;
  int paragraph_depth_ = 0;
  int paragraphs_seen_ = 0;

  qint64 row_ = 0;
  qint64 row_repeat_ = 1;
  qint64 column_ = 0;
  qint64 cell_repeat_ = 1;
  QByteArray row_fields_;  // the fields of the row being read, one after another
  std::vector<Cell> cells_;

  std::string type_;
  std::string calcext_type_;
  bool has_string_value_ = false;
  std::string string_value_;
  std::string boolean_value_;
  std::string value_;
  std::string date_value_;
  std::string time_value_;
  bool has_style_ = false;
  bool has_formula_ = false;
  std::string style_;
  std::string paragraphs_;
};

}  // namespace

Result<void> read_first_ods_sheet(const ZipArchive& zip, SheetWriter& writer,
                                  ReadContext& context) {
  // Only a spreadsheet: a text document's tables are no payment list.
  if (!zip.head(QStringLiteral("mimetype"), 100)
           .startsWith("application/vnd.oasis.opendocument.spreadsheet"))
    return refusal(ReadRefusal::NotASpreadsheet);
  OdsStyles styles;
  // A document without common styles (odfpy writes none) is read as one with none.
  if (zip.contains(QStringLiteral("styles.xml"))) {
    StylesHandler common(styles);
    if (Result<void> read = read_xml_member(zip, QStringLiteral("styles.xml"), common, context);
        !read)
      return read;
  }
  ContentHandler content(writer, context, styles);
  if (Result<void> read = read_xml_member(zip, QStringLiteral("content.xml"), content, context);
      !read)
    return read;
  if (!content.saw_table()) return refusal(ReadRefusal::NoWorksheet);
  return {};
}

}  // namespace tsubakuro
