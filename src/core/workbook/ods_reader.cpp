#include "core/workbook/ods_reader.h"

#include <QDate>
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
#include "core/workbook/zip_archive.h"

namespace tsubakuro {
namespace {

constexpr QLatin1String kOfficeNs("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
constexpr QLatin1String kTableNs("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr QLatin1String kTextNs("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
constexpr QLatin1String kCalcExtNs(
    "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0");

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

class OdsReader {
 public:
  OdsReader(const ZipArchive& zip, SheetWriter& writer, ReadContext& context)
      : zip_(zip), writer_(writer), context_(context) {}

  Result<void> read() {
    // Only a spreadsheet: a text document's tables are no payment list.
    {
      ZipEntryDevice mimetype(zip_, QStringLiteral("mimetype"));
      if (!mimetype.isOpen() ||
          !mimetype.read(100).startsWith("application/vnd.oasis.opendocument.spreadsheet"))
        return refusal(ReadRefusal::NotASpreadsheet);
    }
    ScannedMember part(zip_, QStringLiteral("content.xml"));
    if (Result<void> opened = part.opened(); !opened) return opened;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::Invalid) return part.broken();
      if (token == XmlScanner::Token::EndDocument) break;
      if (token == XmlScanner::Token::StartElement && is(part, table_, "table")) {
        return read_table(part);  // the first worksheet only
      }
    }
    return refusal(ReadRefusal::NoWorksheet);
  }

 private:
  // A namespace the reader knows, by the prefix bound to it where the scanner is.
  struct Namespace {
    QLatin1String uri;
    std::string prefix;
    bool bound = false;
  };

  // The attributes of a cell the reader needs, kept while its content is read.
  struct CellAttributes {
    std::string type;
    std::string calcext_type;
    bool has_string_value = false;
    std::string string_value;
    std::string boolean_value;
    std::string value;
    std::string date_value;
    std::string time_value;
    std::optional<std::string> columns_repeated;
  };

  struct Cell {
    int column;
    qsizetype from;  // in row_fields_
    qsizetype size;
  };

  // Refuses the read through `part` when a namespace has two prefixes: they could
  // be told apart only name by name.
  void bind(ScannedMember& part) {
    const XmlScanner& xml = part.xml();
    if (xml.namespace_generation() == generation_) return;
    generation_ = xml.namespace_generation();
    for (Namespace* ns : {&office_, &table_, &text_, &calcext_}) {
      bool ambiguous = false;
      const std::optional<std::string_view> prefix =
          xml.prefix_of(std::string_view(ns->uri.data(), ns->uri.size()), ambiguous);
      if (ambiguous) {
        part.refuse(refusal(ReadRefusal::UnknownNamespaces));
        return;
      }
      ns->bound = prefix.has_value();
      ns->prefix.assign(prefix.value_or(std::string_view()));
    }
  }

  // Whether `qualified` is `local` with the namespace's prefix (none for the
  // default namespace).
  static bool named(std::string_view qualified, const Namespace& ns, std::string_view local) {
    if (!ns.bound) return false;
    if (ns.prefix.empty()) return qualified == local;
    return qualified.size() == ns.prefix.size() + 1 + local.size() &&
           qualified.starts_with(ns.prefix) && qualified[ns.prefix.size()] == ':' &&
           qualified.ends_with(local);
  }

  // Whether the element is in the namespace.
  bool in(ScannedMember& part, const Namespace& ns) {
    bind(part);
    const XmlScanner& xml = part.xml();
    const std::string_view qualified = xml.qualified_name();
    const std::size_t prefix_size = qualified.size() - xml.name().size();  // with its colon
    if (!ns.bound) return false;
    if (ns.prefix.empty()) return prefix_size == 0;
    return prefix_size == ns.prefix.size() + 1 && qualified.starts_with(ns.prefix);
  }

  bool is(ScannedMember& part, const Namespace& ns, std::string_view local) {
    return part.xml().name() == local && in(part, ns);
  }

  // Unprefixed attributes are in no namespace, the default one included.
  std::optional<std::string_view> attribute(ScannedMember& part, const Namespace& ns,
                                            std::string_view local) {
    bind(part);
    const XmlScanner& xml = part.xml();
    if (ns.prefix.empty()) return std::nullopt;
    for (qsizetype i = 0; i < xml.attribute_count(); ++i) {
      const auto [name, value] = xml.attribute_at(i);
      if (named(name, ns, local)) return value;
    }
    return std::nullopt;
  }

  // Keeps the cell's attributes, in one pass over them; the columns it repeats over.
  qint64 read_cell_attributes(ScannedMember& part, CellAttributes& a) {
    bind(part);
    const XmlScanner& xml = part.xml();
    a.type.clear();
    a.calcext_type.clear();
    a.has_string_value = false;
    a.string_value.clear();
    a.boolean_value.clear();
    a.value.clear();
    a.date_value.clear();
    a.time_value.clear();
    std::optional<std::string_view> repeated;
    const auto in_namespace = [](std::string_view prefix, const Namespace& ns) {
      return ns.bound && !ns.prefix.empty() && prefix == ns.prefix;
    };
    for (qsizetype i = 0; i < xml.attribute_count(); ++i) {
      const auto [name, value] = xml.attribute_at(i);
      const std::size_t colon = name.find(':');
      if (colon == std::string_view::npos) continue;  // in no namespace
      const std::string_view prefix = name.substr(0, colon);
      const std::string_view local = name.substr(colon + 1);
      if (in_namespace(prefix, office_)) {
        if (local == "value-type") {
          a.type.assign(value);
        } else if (local == "string-value") {
          a.has_string_value = true;
          a.string_value.assign(value);
        } else if (local == "boolean-value") {
          a.boolean_value.assign(value);
        } else if (local == "value") {
          a.value.assign(value);
        } else if (local == "date-value") {
          a.date_value.assign(value);
        } else if (local == "time-value") {
          a.time_value.assign(value);
        }
      } else if (in_namespace(prefix, calcext_) && local == "value-type") {
        a.calcext_type.assign(value);
      } else if (in_namespace(prefix, table_) && local == "number-columns-repeated") {
        repeated = value;
      }
    }
    return repeat_count(repeated);
  }

  Result<void> read_table(ScannedMember& part) {
    XmlScanner& xml = part.xml();
    qint64 row = 0;
    for (int depth = 1; depth > 0;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndElement) {
        --depth;
        continue;
      }
      if (token == XmlScanner::Token::EndDocument || token == XmlScanner::Token::Invalid)
        return part.broken();
      if (token != XmlScanner::Token::StartElement) continue;
      if (!in(part, table_)) {
        if (Result<void> skipped = part.skip(); !skipped) return skipped;
        continue;
      }
      if (xml.name() == "table-row") {
        const qint64 repeat = repeat_count(attribute(part, table_, "number-rows-repeated"));
        if (Result<void> read = read_row(part); !read) return read;
        if (!cells_.empty()) {
          if (row + repeat > kRowLimit) return refusal(ReadRefusal::TooManyRows);
          for (qint64 r = 0; r < repeat; ++r) {
            for (const Cell& cell : cells_) {
              const Result<QByteArray*> out = writer_.cell(row + r, cell.column);
              if (!out) return out.failure();
              (*out)->append(row_fields_.constData() + cell.from, cell.size);
            }
          }
        }
        row += repeat;
        if (context_.stop_requested_at(row)) return cancelled();
        if (Result<void> flushed = writer_.flush_if_full(); !flushed) return flushed;
      } else if (xml.name() == "table-row-group" || xml.name() == "table-header-rows" ||
                 xml.name() == "table-rows") {
        ++depth;
      } else {
        if (Result<void> skipped = part.skip(); !skipped) return skipped;
      }
    }
    return {};
  }

  static qint64 repeat_count(std::optional<std::string_view> value) {
    if (!value || value->empty()) return 1;
    const std::optional<qint64> count = integer_value(value);
    return count && *count > 0 ? *count : 1;
  }

  Result<void> read_row(ScannedMember& part) {
    XmlScanner& xml = part.xml();
    cells_.clear();
    row_fields_.clear();
    int column = 0;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndElement) return {};
      if (token == XmlScanner::Token::EndDocument || token == XmlScanner::Token::Invalid)
        return part.broken();
      if (token != XmlScanner::Token::StartElement) continue;
      if (!in(part, table_) || (xml.name() != "table-cell" && xml.name() != "covered-table-cell")) {
        if (Result<void> skipped = part.skip(); !skipped) return skipped;
        continue;
      }
      const qint64 repeat = read_cell_attributes(part, attributes_);
      const CellAttributes& a = attributes_;
      const qsizetype from = row_fields_.size();
      const Result<bool> filled = read_cell(part, a, row_fields_);
      if (!filled) return filled.failure();
      if (*filled) {
        if (column + repeat > kColumnLimit) return refusal(ReadRefusal::TooManyColumns);
        for (qint64 c = 0; c < repeat; ++c)
          cells_.push_back({static_cast<int>(column + c), from, row_fields_.size() - from});
      }
      column = static_cast<int>(std::min<qint64>(column + repeat, kColumnLimit + 1));
    }
  }

  // Appends the cell's field, or gives false for a cell with nothing in it.
  // Leaves the scanner after the cell's end.
  Result<bool> read_cell(ScannedMember& part, const CellAttributes& a, QByteArray& field) {
    paragraphs_.clear();
    if (Result<void> read = read_paragraphs(part, paragraphs_); !read) return read.failure();
    if (a.type.empty()) return false;
    // A formula's error shows as its code ("#DIV/0!"), which the export writes.
    if (a.calcext_type == "error") {
      append_text_field(field, utf8_text(paragraphs_));
      return true;
    }
    const std::string_view type = a.type;
    if (type == "string") {
      append_text_field(field, utf8_text(a.has_string_value ? a.string_value : paragraphs_));
      return true;
    }
    if (type == "boolean") {
      append_plain_field(field, a.boolean_value == "true" ? u"TRUE" : u"FALSE");
      return true;
    }
    if (type == "float" || type == "currency" || type == "percentage") {
      const std::optional<double> value = number_value(a.value, false);
      if (!value) return refusal(ReadRefusal::NotANumber);
      append_number(field, type == "percentage" ? *value * 100 : *value);
      if (type == "percentage") field.append('%');
      return true;
    }
    if (type == "date") {
      const QString value = utf8_text(a.date_value);
      SheetMoment moment{QDate::fromString(value.left(10), Qt::ISODate), QTime(0, 0)};
      if (value.size() > 10) {
        const QTime time = QTime::fromString(value.mid(11), Qt::ISODateWithMs);
        if (value[10] != u'T' || !time.isValid()) moment.date = QDate();
        // Rounded to the second as the suite shows it; a day's last half second stays.
        moment.time =
            QTime(0, 0).addSecs(std::min(86399, (time.msecsSinceStartOfDay() + 500) / 1000));
      }
      if (!moment.date.isValid()) return refusal(ReadRefusal::BadDate);
      const Result<SheetLocale> locale = context_.locale();
      if (!locale) return locale.failure();
      const Result<void> appended = append_date(
          field, moment, moment.time == QTime(0, 0) ? DateKind::Date : DateKind::DateTime, *locale);
      if (!appended) return appended.failure();
      return true;
    }
    if (type == "time") {
      const std::optional<double> seconds = parse_duration(utf8_text(a.time_value));
      if (!seconds) return refusal(ReadRefusal::BadTime);
      const qint64 whole = std::llround(*seconds);
      if (whole < 0 || whole >= 86400) return refusal(ReadRefusal::TimeOfTwentyFourHours);
      const Result<SheetLocale> locale = context_.locale();
      if (!locale) return locale.failure();
      const Result<void> appended = append_date(
          field, SheetMoment{QDate(1899, 12, 30), QTime(0, 0).addSecs(static_cast<int>(whole))},
          DateKind::Time, *locale);
      if (!appended) return appended.failure();
      return true;
    }
    return refusal(unknown_cell_type_reason(utf8_text(type)));
  }

  // The cell's paragraphs joined by line breaks; notes and drawings left out.
  Result<void> read_paragraphs(ScannedMember& part, std::string& text) {
    bool first = true;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndElement) return {};
      if (token == XmlScanner::Token::EndDocument || token == XmlScanner::Token::Invalid)
        return part.broken();
      if (token != XmlScanner::Token::StartElement) continue;
      if (is(part, text_, "p")) {
        if (!first) text.push_back('\n');
        first = false;
        if (Result<void> read = read_inline(part, text); !read) return read;
      } else {
        if (Result<void> skipped = part.skip(); !skipped) return skipped;
      }
    }
  }

  Result<void> read_inline(ScannedMember& part, std::string& text) {
    XmlScanner& xml = part.xml();
    for (int depth = 1; depth > 0;) {
      switch (part.next()) {
        case XmlScanner::Token::Characters:
          text.append(xml.text());
          break;
        case XmlScanner::Token::StartElement:
          if (is(part, text_, "s")) {
            const std::optional<std::string_view> count = attribute(part, text_, "c");
            text.append(static_cast<std::size_t>(!count || count->empty()
                                                     ? 1
                                                     : std::clamp(style_value(count), 1, 10000)),
                        ' ');
            if (Result<void> skipped = part.skip(); !skipped) return skipped;
          } else if (is(part, text_, "tab")) {
            text.push_back('\t');
            if (Result<void> skipped = part.skip(); !skipped) return skipped;
          } else if (is(part, text_, "line-break")) {
            text.push_back('\n');
            if (Result<void> skipped = part.skip(); !skipped) return skipped;
          } else if (is(part, office_, "annotation")) {
            if (Result<void> skipped = part.skip(); !skipped) return skipped;
          } else {
            ++depth;
          }
          break;
        case XmlScanner::Token::EndElement:
          --depth;
          break;
        default:
          return part.broken();
      }
    }
    return {};
  }

  const ZipArchive& zip_;
  SheetWriter& writer_;
  ReadContext& context_;
  Namespace office_{kOfficeNs, {}};
  Namespace table_{kTableNs, {}};
  Namespace text_{kTextNs, {}};
  Namespace calcext_{kCalcExtNs, {}};
  quint64 generation_ = ~quint64(0);
  CellAttributes attributes_;
  std::string paragraphs_;
  QByteArray row_fields_;  // the fields of the row being read, one after another
  std::vector<Cell> cells_;
};

}  // namespace

Result<void> read_first_ods_sheet(const ZipArchive& zip, SheetWriter& writer,
                                  ReadContext& context) {
  return OdsReader(zip, writer, context).read();
}

}  // namespace tsubakuro
