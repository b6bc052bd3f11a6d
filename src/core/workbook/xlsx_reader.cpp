#include "core/workbook/xlsx_reader.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>
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

constexpr QLatin1String kRelationshipsNs(
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships");

// Spreadsheet XML escapes the control characters XML cannot carry as _xHHHH_. The
// suite decodes those and leaves any other _xHHHH_ as it stands, and so does this.
QString unescape_ooxml(QString text) {
  qsizetype at = text.indexOf(u"_x");
  while (at >= 0 && at + 7 <= text.size()) {
    bool ok = false;
    const ushort code = QStringView(text).mid(at + 2, 4).toUShort(&ok, 16);
    if (ok && code < 0x20 && text[at + 6] == u'_') {
      text.replace(at, 7, QChar(code));
      at = text.indexOf(u"_x", at + 1);
    } else {
      at = text.indexOf(u"_x", at + 2);
    }
  }
  return text;
}

void append_ooxml_text(QByteArray& out, std::string_view utf8) {
  const QString text = utf8_text(utf8);
  append_text_field(out, text.contains(u"_x") ? unescape_ooxml(text) : text);
}

QString member_dir(const QString& member) {
  const qsizetype slash = member.lastIndexOf(u'/');
  return slash < 0 ? QString() : member.left(slash + 1);
}

QString resolve_target(const QString& base_dir, const QString& target) {
  if (target.startsWith(u'/')) return QDir::cleanPath(target.mid(1));
  return QDir::cleanPath(base_dir + target);
}

// The relationships of a member (of the package itself for an empty name), by id,
// and the first target of each type.
struct Relationships {
  QHash<QString, QString> by_id;
  QHash<QString, QString> by_type;  // the last part of the type's URL
};

Result<Relationships> read_relationships(const ZipArchive& zip, const QString& member) {
  Relationships result;
  const QString dir = member_dir(member);
  const QString rels =
      dir + QStringLiteral("_rels/") + member.mid(dir.size()) + QStringLiteral(".rels");
  MemberReader reader(zip, rels);
  if (Result<void> opened = reader.opened(); !opened) return opened.failure();
  QXmlStreamReader& xml = reader.xml();
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship") continue;
    const QXmlStreamAttributes a = xml.attributes();
    if (a.value(QLatin1String("TargetMode")) == u"External") continue;
    const QString target = resolve_target(dir, a.value(QLatin1String("Target")).toString());
    const QString type = a.value(QLatin1String("Type")).toString().section(u'/', -1);
    result.by_id.insert(a.value(QLatin1String("Id")).toString(), target);
    if (!result.by_type.contains(type)) result.by_type.insert(type, target);
  }
  if (Result<void> checked = reader.check(); !checked) return checked.failure();
  return result;
}

class XlsxReader {
 public:
  XlsxReader(const ZipArchive& zip, SheetWriter& writer, ReadContext& context)
      : zip_(zip), writer_(writer), context_(context) {}

  Result<void> read() {
    const Result<Relationships> package = read_relationships(zip_, QString());
    if (!package) return package.failure();
    const QString workbook = package->by_type.value(QStringLiteral("officeDocument"));
    if (workbook.isEmpty()) return refusal(ReadRefusal::NoWorkbookPart);
    const Result<Relationships> parts = read_relationships(zip_, workbook);
    if (!parts) return parts.failure();
    const Result<QString> sheet_id = first_sheet_id(workbook);
    if (!sheet_id) return sheet_id.failure();
    const QString sheet = parts->by_id.value(*sheet_id);
    if (sheet.isEmpty()) return refusal(ReadRefusal::NoWorksheet);
    const QString styles = parts->by_type.value(QStringLiteral("styles"));
    if (!styles.isEmpty() && zip_.contains(styles)) {
      if (Result<void> read = read_styles(styles); !read) return read;
    }
    const QString strings = parts->by_type.value(QStringLiteral("sharedStrings"));
    if (!strings.isEmpty() && zip_.contains(strings)) {
      if (Result<void> read = read_shared_strings(strings); !read) return read;
    }
    return read_sheet(sheet);
  }

 private:
  Result<QString> first_sheet_id(const QString& workbook) {
    MemberReader reader(zip_, workbook);
    if (Result<void> opened = reader.opened(); !opened) return opened.failure();
    QXmlStreamReader& xml = reader.xml();
    QString id;
    // The calculation settings follow the sheets: the part is read to its end.
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      if (xml.name() == u"workbookPr") {
        const QStringView value = xml.attributes().value(QLatin1String("date1904"));
        counts_from_1904_ = value == u"1" || value == u"true";
      } else if (xml.name() == u"sheet" && id.isEmpty()) {
        id = xml.attributes().value(kRelationshipsNs, QLatin1String("id")).toString();
      } else if (xml.name() == u"calcPr") {
        const QStringView value = xml.attributes().value(QLatin1String("fullCalcOnLoad"));
        recalculated_on_opening_ = value == u"1" || value == u"true";
      }
    }
    if (Result<void> checked = reader.check(); !checked) return checked.failure();
    return id;
  }

  Result<void> read_styles(const QString& member) {
    MemberReader reader(zip_, member);
    if (Result<void> opened = reader.opened(); !opened) return opened;
    QXmlStreamReader& xml = reader.xml();
    QHash<int, CellFormat> custom;
    bool in_cell_xfs = false;
    while (!xml.atEnd()) {
      const auto token = xml.readNext();
      if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs") in_cell_xfs = false;
      if (token != QXmlStreamReader::StartElement) continue;
      const QXmlStreamAttributes a = xml.attributes();
      if (xml.name() == u"numFmt") {
        custom.insert(a.value(QLatin1String("numFmtId")).toInt(),
                      classify_format_code(a.value(QLatin1String("formatCode")).toString()));
      } else if (xml.name() == u"cellXfs") {
        in_cell_xfs = true;
      } else if (in_cell_xfs && xml.name() == u"xf") {
        const int id = a.value(QLatin1String("numFmtId")).toInt();
        formats_.push_back(custom.contains(id) ? custom.value(id) : builtin_format(id));
      }
    }
    return reader.check();
  }

  // A sheet of a million names has a million shared strings: read by the
  // scanner too.
  Result<void> read_shared_strings(const QString& member) {
    ScannedMember part(zip_, member);
    if (Result<void> opened = part.opened(); !opened) return opened;
    std::string text;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::Invalid) return part.broken();
      if (token == XmlScanner::Token::EndDocument) break;
      if (token != XmlScanner::Token::StartElement || part.xml().name() != "si") continue;
      string_starts_.push_back(static_cast<quint32>(strings_.size()));
      text.clear();
      if (Result<void> read = read_string_item(part, text); !read) return read;
      append_ooxml_text(strings_, text);
      if (strings_.size() > 0x7FFF'0000) return refusal(ReadRefusal::TooManyStrings);
    }
    string_starts_.push_back(static_cast<quint32>(strings_.size()));
    return {};
  }

  CellFormat format(int style) const {
    if (style < 0 || style >= static_cast<int>(formats_.size()))
      return style == 0 ? CellFormat::Number : CellFormat::Unknown;
    return formats_[style];
  }

  // "B12" to column 1, row 11; on false both stay as they were.
  static bool parse_reference(std::string_view ref, int& column, qint64& row) {
    int c = 0;
    std::size_t i = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && c <= kColumnLimit)
      c = c * 26 + (ref[i++] - 'A' + 1);
    qint64 r = 0;
    const std::size_t digits_from = i;
    while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9' && r <= kRowLimit)
      r = r * 10 + (ref[i++] - '0');
    if (c == 0 || i != ref.size() || i == digits_from || r == 0) return false;
    column = c - 1;
    row = r - 1;
    return true;
  }

  // The sheet is nearly all of a workbook's bytes, and read by the scanner; a
  // sheet it does not take goes to the office suite whole.
  Result<void> read_sheet(const QString& member) {
    ScannedMember part(zip_, member);
    if (Result<void> opened = part.opened(); !opened) return opened;
    XmlScanner& xml = part.xml();
    qint64 row = -1;
    int column = -1;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::Invalid) return part.broken();
      if (token == XmlScanner::Token::EndDocument) return {};
      if (token != XmlScanner::Token::StartElement) continue;
      if (xml.name() == "row") {
        const std::optional<qint64> number = integer_value(xml.attribute("r"));
        row = number && *number - 1 > row ? *number - 1 : row + 1;
        column = -1;
        if (context_.stop_requested_at(row)) return cancelled();
        if (Result<void> flushed = writer_.flush_if_full(); !flushed) return flushed;
      } else if (xml.name() == "c") {
        const std::string_view ref = xml.attribute("r").value_or(std::string_view());
        qint64 cell_row = row;
        if (ref.empty() || !parse_reference(ref, column, cell_row)) ++column;
        if (cell_row != row) return refusal(ReadRefusal::CellsOutOfOrder);
        const std::string_view type = xml.attribute("t").value_or(std::string_view());
        type_name_.assign(type);
        const Result<void> read =
            read_cell(part, row, column, cell_type(type), style_value(xml.attribute("s")));
        if (!read) return read;
      }
    }
  }

  enum class CellType { Number, SharedString, Text, Boolean, InlineString, Other };

  static CellType cell_type(std::string_view type) {
    if (type.empty() || type == "n") return CellType::Number;
    if (type == "s") return CellType::SharedString;
    if (type == "str" || type == "e") return CellType::Text;
    if (type == "b") return CellType::Boolean;
    if (type == "inlineStr") return CellType::InlineString;
    return CellType::Other;
  }

  // The text of a string item (<si>, <is>): its <t> elements, not the phonetic
  // readings (<rPh>) Japanese workbooks carry beside them.
  static Result<void> read_string_item(ScannedMember& part, std::string& text) {
    XmlScanner& xml = part.xml();
    int depth = 1;
    int skipped_depth = 0;
    while (depth > 0) {
      switch (part.next()) {
        case XmlScanner::Token::StartElement:
          ++depth;
          if (skipped_depth == 0 && (xml.name() == "rPh" || xml.name() == "phoneticPr"))
            skipped_depth = depth;
          if (skipped_depth == 0 && xml.name() == "t") {
            if (Result<void> read = part.read_text(text); !read) return read;
            --depth;
          }
          break;
        case XmlScanner::Token::EndElement:
          if (depth == skipped_depth) skipped_depth = 0;
          --depth;
          break;
        case XmlScanner::Token::Characters:
          break;
        default:
          return part.broken();
      }
    }
    return {};
  }

  Result<void> read_cell(ScannedMember& part, qint64 row, int column, CellType type, int style) {
    XmlScanner& xml = part.xml();
    value_.clear();
    inline_text_.clear();
    bool has_value = false;
    bool has_formula = false;
    bool has_inline = false;
    for (bool open = true; open;) {
      switch (part.next()) {
        case XmlScanner::Token::StartElement:
          if (xml.name() == "v") {
            value_.clear();
            if (Result<void> read = part.read_text(value_); !read) return read;
            has_value = true;
          } else if (xml.name() == "f") {
            has_formula = true;
            if (Result<void> skipped = part.skip(); !skipped) return skipped;
          } else if (xml.name() == "is") {
            inline_text_.clear();
            if (Result<void> read = read_string_item(part, inline_text_); !read) return read;
            has_inline = true;
          } else {
            if (Result<void> skipped = part.skip(); !skipped) return skipped;
          }
          break;
        case XmlScanner::Token::EndElement:
          open = false;
          break;
        case XmlScanner::Token::Characters:
          break;
        default:
          return part.broken();
      }
    }
    if (type == CellType::InlineString) {
      if (!has_inline) return {};
      const Result<QByteArray*> out = writer_.cell(row, column);
      if (!out) return out.failure();
      append_ooxml_text(**out, inline_text_);
      return {};
    }
    // A formula's saved value is its result only when the workbook does not ask
    // for a recalculation on opening (XlsxWriter asks, and saves 0).
    if (has_formula && (!has_value || recalculated_on_opening_)) return context_.results_missing();
    if (!has_value) return {};
    switch (type) {
      case CellType::SharedString: {
        const std::optional<qint64> index = integer_value(value_);
        if (!index || *index < 0 || *index + 1 >= static_cast<qint64>(string_starts_.size()))
          return refusal(ReadRefusal::BadSharedString);
        const Result<QByteArray*> out = writer_.cell(row, column);
        if (!out) return out.failure();
        const quint32 from = string_starts_[static_cast<std::size_t>(*index)];
        (*out)->append(strings_.constData() + from,
                       string_starts_[static_cast<std::size_t>(*index) + 1] - from);
        return {};
      }
      case CellType::Text: {
        // The suite computes a formula whose saved result is an error again, and its
        // codes are not always the saved ones (SQRT(-1) gives Err:502): left to it.
        if (has_formula && type_name_ == "e") return refusal(ReadRefusal::FormulaError);
        const Result<QByteArray*> out = writer_.cell(row, column);
        if (!out) return out.failure();
        append_text_field(**out, unescape_ooxml(utf8_text(value_)));
        if (has_formula) writer_.keep_cell();
        return {};
      }
      case CellType::Boolean: {
        const Result<QByteArray*> out = writer_.cell(row, column);
        if (!out) return out.failure();
        append_plain_field(**out, utf8_text(value_).trimmed() == u"0" ? u"FALSE" : u"TRUE");
        return {};
      }
      case CellType::Number: {
        const std::optional<double> number = number_value(value_);
        if (!number) return refusal(ReadRefusal::NotANumber);
        return append_typed_number(row, column, *number, format(style));
      }
      case CellType::InlineString:
      case CellType::Other:
        break;
    }
    return refusal(unknown_cell_type_reason(utf8_text(type_name_)));
  }

  Result<void> append_typed_number(qint64 row, int column, double number, CellFormat kind) {
    switch (kind) {
      case CellFormat::Number: {
        const Result<QByteArray*> out = writer_.cell(row, column);
        if (!out) return out.failure();
        append_number(**out, number);
        return {};
      }
      case CellFormat::Percent: {
        const Result<QByteArray*> out = writer_.cell(row, column);
        if (!out) return out.failure();
        append_number(**out, number * 100);
        (*out)->append('%');
        return {};
      }
      case CellFormat::Boolean: {
        const Result<QByteArray*> out = writer_.cell(row, column);
        if (!out) return out.failure();
        append_plain_field(**out, number != 0 ? u"TRUE" : u"FALSE");
        return {};
      }
      case CellFormat::Date:
      case CellFormat::DateTime:
      case CellFormat::Time:
      case CellFormat::EnglishDate:
      case CellFormat::EnglishDateTime:
      case CellFormat::EnglishTime:
      case CellFormat::IsoDate:
      case CellFormat::IsoDateTime: {
        const Result<QByteArray*> out = writer_.cell(row, column);
        if (!out) return out.failure();
        return append_serial(**out, number, kind, counts_from_1904_);
      }
      case CellFormat::Unknown:
        break;
    }
    return refusal(ReadRefusal::UnknownNumberFormat);
  }

  const ZipArchive& zip_;
  SheetWriter& writer_;
  ReadContext& context_;
  bool recalculated_on_opening_ = false;  // fullCalcOnLoad: saved results are no results
  bool counts_from_1904_ = false;
  std::vector<CellFormat> formats_;
  QByteArray strings_;  // every shared string as its finished field, one after another
  std::vector<quint32> string_starts_;
  // The cell being read, kept from cell to cell for their buffers.
  std::string value_;
  std::string inline_text_;
  std::string type_name_;
};

}  // namespace

Result<void> read_first_xlsx_sheet(const ZipArchive& zip, SheetWriter& writer,
                                   ReadContext& context) {
  return XlsxReader(zip, writer, context).read();
}

}  // namespace tsubakuro
