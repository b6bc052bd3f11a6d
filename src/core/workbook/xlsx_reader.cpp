#include "core/workbook/xlsx_reader.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <algorithm>
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

// A workbook's parts are in one of two namespaces: the transitional one every
// program writes, or the strict one. A part's elements count only in its own.
constexpr std::string_view kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kStrictMainNs = "http://purl.oclc.org/ooxml/spreadsheetml/main";
constexpr std::string_view kRelationshipsNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kStrictRelationshipsNs =
    "http://purl.oclc.org/ooxml/officeDocument/relationships";
constexpr std::string_view kPackageRelationshipsNs =
    "http://schemas.openxmlformats.org/package/2006/relationships";

// The main namespace a part's root element is in, as one of the constants above
// (the parser's own copy of the name goes once the element is reported); empty
// for any other.
std::string_view main_ns_of(std::string_view ns) {
  if (ns == kMainNs) return kMainNs;
  if (ns == kStrictMainNs) return kStrictMainNs;
  return {};
}

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

QString text_of(std::optional<std::string_view> value) {
  return value ? utf8_text(*value) : QString();
}

bool true_flag(std::optional<std::string_view> value) {
  return value && (*value == "1" || *value == "true");
}

// The relationships of a member (of the package itself for an empty name), by id,
// and the first target of each type. Two relationships of one id are damage:
// readers would differ in which they follow.
struct Relationships {
  QHash<QString, QString> by_id;
  QHash<QString, QString> by_type;  // the last part of the type's URL
  QStringList worksheets;           // every worksheet's member, in the order listed
};

class RelationshipsHandler : public XmlHandler {
 public:
  RelationshipsHandler(QString dir, const ReadContext& context)
      : dir_(std::move(dir)), context_(context) {}
  Relationships result;

  void start(XmlName name, const XmlAttributes& a) override {
    if (++depth_ != 2 || !name.is(kPackageRelationshipsNs, "Relationship")) return;
    const QString id = text_of(a.value({}, "Id"));
    if (result.by_id.contains(id) || external_.contains(id)) {
      stop(context_.damaged(ReadRefusal::DuplicateRelationships));
      return;
    }
    if (a.value({}, "TargetMode") == "External") {
      external_.insert(id);
      return;
    }
    const QString target = resolve_target(dir_, text_of(a.value({}, "Target")));
    const QString type = text_of(a.value({}, "Type")).section(u'/', -1);
    result.by_id.insert(id, target);
    if (!result.by_type.contains(type)) result.by_type.insert(type, target);
    if (type == u"worksheet") result.worksheets.append(target);
  }
  void end(XmlName) override { --depth_; }

 private:
  QString dir_;
  const ReadContext& context_;
  QSet<QString> external_;
  int depth_ = 0;
};

Result<Relationships> read_relationships(const ZipArchive& zip, const QString& member,
                                         const ReadContext& context) {
  const QString dir = member_dir(member);
  const QString rels =
      dir + QStringLiteral("_rels/") + member.mid(dir.size()) + QStringLiteral(".rels");
  RelationshipsHandler handler(dir, context);
  if (Result<void> read = read_xml_member(zip, rels, handler, context); !read)
    return read.failure();
  return std::move(handler.result);
}

// workbook.xml: the first sheet's relationship, the date system, whether saved
// results are results, and the defined names a formula may call on.
class WorkbookHandler : public XmlHandler {
 public:
  explicit WorkbookHandler(ReadContext& context) : context_(context) {}
  std::optional<QString> first_sheet_id;
  bool first_sheet_seen = false;
  bool counts_from_1904 = false;
  bool recalculated_on_opening = false;

  void start(XmlName name, const XmlAttributes& a) override {
    ++depth_;
    if (depth_ == 1) {
      ns_ = main_ns_of(name.ns);
      return;
    }
    if (ns_.empty() || name.ns != ns_) return;
    if (depth_ == 2 && name.local == "workbookPr") {
      counts_from_1904 = true_flag(a.value({}, "date1904"));
    } else if (depth_ == 2 && name.local == "calcPr") {
      recalculated_on_opening = true_flag(a.value({}, "fullCalcOnLoad"));
    } else if (depth_ == 3 && name.local == "sheet" && !first_sheet_seen) {
      first_sheet_seen = true;
      std::optional<std::string_view> id = a.value(kRelationshipsNs, "id");
      if (!id) id = a.value(kStrictRelationshipsNs, "id");
      if (id) first_sheet_id = utf8_text(*id);
    } else if (depth_ == 3 && name.local == "definedName") {
      name_.clear();
      collect(&name_);
    }
  }
  void end(XmlName name) override {
    if (depth_ == 3 && name.local == "definedName" && name.ns == ns_ && !ns_.empty()) {
      collect(nullptr);
      if (const std::optional<QString> function = volatile_function_in(name_))
        stop(context_.computed_on_the_day(*function));
    }
    --depth_;
  }

 private:
  ReadContext& context_;
  std::string_view ns_;  // points into kMainNs or kStrictMainNs
  std::string name_;
  int depth_ = 0;
};

// styles.xml: each cell style's number format, by the style's index.
class StylesHandler : public XmlHandler {
 public:
  std::vector<CellFormat> formats;

  void start(XmlName name, const XmlAttributes& a) override {
    ++depth_;
    if (depth_ == 1) {
      ns_ = main_ns_of(name.ns);
      return;
    }
    if (ns_.empty() || name.ns != ns_) return;
    if (depth_ == 2 && name.local == "cellXfs") {
      in_cell_xfs_ = true;
    } else if (depth_ == 3 && name.local == "numFmt") {
      custom_.insert(style_value(a.value({}, "numFmtId")),
                     classify_format_code(text_of(a.value({}, "formatCode"))));
    } else if (depth_ == 3 && in_cell_xfs_ && name.local == "xf") {
      const int id = style_value(a.value({}, "numFmtId"));
      formats.push_back(custom_.contains(id) ? custom_.value(id) : builtin_format(id));
    }
  }
  void end(XmlName name) override {
    if (depth_ == 2 && name.local == "cellXfs") in_cell_xfs_ = false;
    --depth_;
  }

 private:
  std::string_view ns_;
  QHash<int, CellFormat> custom_;
  bool in_cell_xfs_ = false;
  int depth_ = 0;
};

// The most the shared strings may take in memory, as finished fields and their
// starts: a list of a million payees needs a tenth of it.
constexpr qsizetype kSharedStringsLimit = 48 << 20;

// The text of a string item (<si>, <is>) is its <t> elements, directly or in runs
// (<r>), not the phonetic readings (<rPh>) Japanese workbooks carry beside them.
// Depths count from the item's children, at 1.
class StringItem {
 public:
  void reset() {
    text_depth_ = skipped_depth_ = 0;
    in_run_ = false;
  }
  // False for an element inside a <t>: no text the suite would show as it stands.
  bool start(XmlHandler& handler, XmlName name, int depth, std::string_view ns, std::string& text) {
    if (text_depth_ != 0) return false;
    if (skipped_depth_ != 0 || name.ns != ns) return true;
    if (name.local == "rPh" || name.local == "phoneticPr") {
      skipped_depth_ = depth;
    } else if (name.local == "r" && depth == 1) {
      in_run_ = true;
    } else if (name.local == "t" && (depth == 1 || (depth == 2 && in_run_))) {
      text_depth_ = depth;
      handler.collect(&text);
    }
    return true;
  }
  void end(XmlHandler& handler, int depth) {
    if (depth == text_depth_) {
      handler.collect(nullptr);
      text_depth_ = 0;
    }
    if (depth == skipped_depth_) skipped_depth_ = 0;
    if (depth == 1) in_run_ = false;
  }

 private:
  int text_depth_ = 0;
  int skipped_depth_ = 0;
  bool in_run_ = false;
};

class SharedStringsHandler : public XmlHandler {
 public:
  explicit SharedStringsHandler(const ReadContext& context) : context_(context) {}
  QByteArray strings;  // every shared string as its finished field, one after another
  std::vector<quint32> starts;

  void start(XmlName name, const XmlAttributes&) override {
    ++depth_;
    if (depth_ == 1) {
      ns_ = main_ns_of(name.ns);
    } else if (depth_ == 2) {
      in_item_ = !ns_.empty() && name.is(ns_, "si");
      text_.clear();
      item_.reset();
    } else if (in_item_ && !item_.start(*this, name, depth_ - 2, ns_, text_)) {
      stop(refusal(ReadRefusal::ElementInValue));
    }
  }
  void end(XmlName) override {
    if (depth_ == 2 && in_item_) {
      starts.push_back(static_cast<quint32>(strings.size()));
      append_ooxml_text(strings, text_);
      in_item_ = false;
      if (strings.size() + qsizetype(starts.size() * sizeof(quint32)) > kSharedStringsLimit)
        stop(context_.damaged(ReadRefusal::TooManyStrings));
    } else if (depth_ > 2 && in_item_) {
      item_.end(*this, depth_ - 2);
    }
    --depth_;
  }

 private:
  const ReadContext& context_;
  std::string_view ns_;
  StringItem item_;
  std::string text_;
  bool in_item_ = false;
  int depth_ = 0;
};

enum class CellType { Number, SharedString, Text, Boolean, InlineString, Other };

CellType cell_type(std::string_view type) {
  if (type.empty() || type == "n") return CellType::Number;
  if (type == "s") return CellType::SharedString;
  if (type == "str" || type == "e") return CellType::Text;
  if (type == "b") return CellType::Boolean;
  if (type == "inlineStr") return CellType::InlineString;
  return CellType::Other;
}

// "B12" to column 1, row 11; on false both stay as they were.
bool parse_reference(std::string_view ref, int& column, qint64& row) {
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

// The sheet: the rows that are children of <sheetData> in the sheet's own
// namespace, their cells, and the cells' values; nothing else is what a
// spreadsheet shows. Rows and cells go where their numbers say, a later one of a
// number replacing the earlier as the suite places them; the row being read is
// kept until the next begins, so a repeated row number joins it.
class SheetHandler : public XmlHandler {
 public:
  SheetHandler(SheetWriter& writer, ReadContext& context, const std::vector<CellFormat>& formats,
               const QByteArray& strings, const std::vector<quint32>& starts, bool counts_from_1904,
               bool recalculated_on_opening)
      : writer_(writer),
        context_(context),
        formats_(formats),
        strings_(strings),
        starts_(starts),
        counts_from_1904_(counts_from_1904),
        recalculated_on_opening_(recalculated_on_opening) {}

  void start(XmlName name, const XmlAttributes& a) override {
    ++depth_;
    if (collecting_) {
      stop(refusal(ReadRefusal::ElementInValue));
      return;
    }
    if (depth_ == 1) {
      ns_ = main_ns_of(name.ns);
      if (ns_.empty()) stop(refusal(ReadRefusal::NoWorksheet));
      return;
    }
    if (skip_from_ != 0) return;
    if (name.ns != ns_) {
      skip_from_ = depth_;
      return;
    }
    if (depth_ == 2) {
      in_data_ = name.local == "sheetData";
    } else if (!in_data_) {
      return;
    } else if (depth_ == 3) {
      if (name.local == "row") start_row(a);
    } else if (depth_ == 4) {
      if (in_row_ && name.local == "c") start_cell(a);
    } else if (!in_cell_) {
      return;
    } else if (depth_ == 5) {
      start_value(name, a);
    } else if (in_inline_ && !item_.start(*this, name, depth_ - 5, ns_, inline_text_)) {
      stop(refusal(ReadRefusal::ElementInValue));
    }
  }

  void end(XmlName name) override {
    if (depth_ == skip_from_) {
      skip_from_ = 0;
    } else if (skip_from_ == 0 && in_data_) {
      if (depth_ == 5 && in_cell_) {
        collect(nullptr);
        collecting_ = false;
        in_inline_ = false;
        if (name.local == "f") check_formula();
      } else if (depth_ > 5 && in_inline_) {
        item_.end(*this, depth_ - 5);
      } else if (depth_ == 4 && in_cell_) {
        end_cell();
      } else if (depth_ == 3 && in_row_) {
        in_row_ = false;
      } else if (depth_ == 2) {
        in_data_ = false;
      }
    }
    --depth_;
  }

  // Writes the last row kept.
  Result<void> finish() { return write_row(); }
  // Whether any cell of the sheet holds a formula: it may take its value from
  // another sheet.
  bool has_formulas() const { return formulas_seen_; }

 private:
  struct Cell {
    int column;
    qsizetype from;  // in row_fields_
    qsizetype size;
    // A formula whose result is an empty text is a cell to the suite; an empty
    // text typed in is not.
    bool formula;
  };

  void start_row(const XmlAttributes& a) {
    const std::optional<qint64> number = integer_value(a.value({}, "r"));
    qint64 row = row_ + 1;
    if (number) {
      if (*number < 1 || *number > kRowLimit) {
        stop(refusal(ReadRefusal::TooManyRows));
        return;
      }
      row = *number - 1;
    }
    if (row < row_) {
      // The suite would go back and write over earlier rows: left to it.
      stop(refusal(ReadRefusal::RowsOutOfOrder));
      return;
    }
    if (row > row_) {
      if (Result<void> written = write_row(); !written) {
        stop(written.failure());
        return;
      }
      row_ = row;
      if (context_.stop_requested_at(row_)) {
        stop(cancelled());
        return;
      }
    }
    in_row_ = true;
    column_ = -1;
  }

  void start_cell(const XmlAttributes& a) {
    const std::string_view ref = a.value({}, "r").value_or(std::string_view());
    qint64 cell_row = row_;
    if (ref.empty() || !parse_reference(ref, column_, cell_row)) ++column_;
    if (cell_row != row_ || column_ >= kColumnLimit) {
      stop(refusal(ReadRefusal::CellsOutOfOrder));
      return;
    }
    in_cell_ = true;
    type_name_.assign(a.value({}, "t").value_or(std::string_view()));
    style_ = style_value(a.value({}, "s"));
    has_value_ = has_formula_ = has_inline_ = false;
    volatile_function_.reset();
    array_formula_ = false;
    value_.clear();
    formula_.clear();
    inline_text_.clear();
  }

  void start_value(XmlName name, const XmlAttributes& a) {
    if (name.local == "v") {
      value_.clear();
      has_value_ = true;
      collect(&value_);
      collecting_ = true;
    } else if (name.local == "f") {
      has_formula_ = true;
      formulas_seen_ = true;
      array_formula_ = array_formula_ || a.value({}, "t") == "array";
      formula_.clear();
      collect(&formula_);
      collecting_ = true;
    } else if (name.local == "is") {
      inline_text_.clear();
      has_inline_ = true;
      in_inline_ = true;
      item_.reset();
    }
  }

  void check_formula() {
    if (!volatile_function_) volatile_function_ = volatile_function_in(formula_);
  }

  void end_cell() {
    in_cell_ = false;
    // A formula's saved value is its result only when the workbook does not ask
    // for a recalculation on opening (XlsxWriter asks, and saves 0): then no route
    // may give a value. Otherwise one computed on the day needs the suite.
    if (has_formula_ && (!has_value_ || recalculated_on_opening_)) {
      stop(context_.results_missing());
      return;
    }
    if (volatile_function_) {
      stop(context_.computed_on_the_day(*volatile_function_));
      return;
    }
    // An array formula's saved results need not be what the suite computes.
    if (array_formula_) {
      stop(refusal(ReadRefusal::ArrayFormula));
      return;
    }
    const qsizetype from = row_fields_.size();
    const Result<bool> filled = cell_field(row_fields_);
    if (!filled) {
      stop(filled.failure());
      return;
    }
    if (*filled) cells_.push_back({column_, from, row_fields_.size() - from, has_formula_});
  }

  CellFormat format(int style) const {
    if (style < 0 || style >= static_cast<int>(formats_.size()))
      return style == 0 ? CellFormat::Number : CellFormat::Unknown;
    return formats_[style];
  }

  // Appends the cell's field, or gives false for a cell that shows nothing.
  Result<bool> cell_field(QByteArray& out) {
    const CellType type = cell_type(type_name_);
    if (type == CellType::InlineString) {
      if (!has_inline_) return false;
      append_ooxml_text(out, inline_text_);
      return true;
    }
    if (!has_value_) return false;
    switch (type) {
      case CellType::SharedString: {
        const std::optional<qint64> index = integer_value(value_);
        if (!index || *index < 0 || *index + 1 >= static_cast<qint64>(starts_.size()))
          return refusal(ReadRefusal::BadSharedString);
        const quint32 from = starts_[static_cast<std::size_t>(*index)];
        out.append(strings_.constData() + from,
                   starts_[static_cast<std::size_t>(*index) + 1] - from);
        return true;
      }
      case CellType::Text:
        // The suite computes a formula whose saved result is an error again, and its
        // codes are not always the saved ones (SQRT(-1) gives Err:502): left to it.
        if (has_formula_ && type_name_ == "e") return refusal(ReadRefusal::FormulaError);
        append_text_field(out, unescape_ooxml(utf8_text(value_)));
        return true;
      case CellType::Boolean: {
        // The suite takes the value as a number, and any text as 0: "true" is FALSE.
        const std::optional<double> number = number_value(value_);
        if (number) {
          append_plain_field(out, *number != 0 ? u"TRUE" : u"FALSE");
          return true;
        }
        const QString word = utf8_text(value_).trimmed().toLower();
        if (word != u"true" && word != u"false") return refusal(ReadRefusal::UnknownBoolean);
        append_plain_field(out, u"FALSE");
        return true;
      }
      case CellType::Number: {
        const std::optional<double> number = number_value(value_);
        if (!number) return refusal(ReadRefusal::NotANumber);
        if (Result<void> appended = append_typed_number(out, *number, format(style_)); !appended)
          return appended.failure();
        return true;
      }
      case CellType::InlineString:
      case CellType::Other:
        break;
    }
    return refusal(unknown_cell_type_reason(utf8_text(type_name_)));
  }

  Result<void> append_typed_number(QByteArray& out, double number, CellFormat kind) {
    switch (kind) {
      case CellFormat::Number:
        append_number(out, number);
        return {};
      case CellFormat::Percent:
        append_number(out, number * 100);
        out.append('%');
        return {};
      case CellFormat::Boolean:
        append_plain_field(out, number != 0 ? u"TRUE" : u"FALSE");
        return {};
      case CellFormat::Date:
      case CellFormat::DateTime:
      case CellFormat::Time:
      case CellFormat::EnglishDate:
      case CellFormat::EnglishDateTime:
      case CellFormat::EnglishTime:
      case CellFormat::IsoDate:
      case CellFormat::IsoDateTime:
        return append_serial(out, number, kind, counts_from_1904_);
      case CellFormat::Unknown:
        break;
    }
    return refusal(ReadRefusal::UnknownNumberFormat);
  }

  // The kept row's cells in column order, the last of a column standing.
  Result<void> write_row() {
    if (cells_.empty()) {
      row_fields_.clear();
      return {};
    }
    std::stable_sort(cells_.begin(), cells_.end(),
                     [](const Cell& a, const Cell& b) { return a.column < b.column; });
    for (std::size_t i = 0; i < cells_.size(); ++i) {
      if (i + 1 < cells_.size() && cells_[i + 1].column == cells_[i].column) continue;
      const Result<QByteArray*> out = writer_.cell(row_, cells_[i].column);
      if (!out) return out.failure();
      (*out)->append(row_fields_.constData() + cells_[i].from, cells_[i].size);
      if (cells_[i].formula) writer_.keep_cell();
    }
    cells_.clear();
    row_fields_.clear();
    if (writer_.finished_size() > kTextFileLimit) return context_.damaged(ReadRefusal::TextTooLong);
    return writer_.flush_if_full();
  }

  SheetWriter& writer_;
  ReadContext& context_;
  const std::vector<CellFormat>& formats_;
  const QByteArray& strings_;
  const std::vector<quint32>& starts_;
  const bool counts_from_1904_;
  const bool recalculated_on_opening_;

  std::string_view ns_;
  int depth_ = 0;
  int skip_from_ = 0;  // the depth of an element in another namespace being passed over
  bool in_data_ = false;
  bool in_row_ = false;
  bool in_cell_ = false;
  bool in_inline_ = false;
  bool collecting_ = false;  // the text of a <v> or <f>
  StringItem item_;

  qint64 row_ = -1;
  int column_ = -1;
  QByteArray row_fields_;  // the fields of the row kept, one after another
  std::vector<Cell> cells_;

  // The cell being read, kept from cell to cell for their buffers.
  std::string type_name_;
  int style_ = 0;
  bool has_value_ = false;
  bool has_formula_ = false;
  bool has_inline_ = false;
  std::optional<QString> volatile_function_;
  bool array_formula_ = false;
  bool formulas_seen_ = false;
  std::string value_;
  std::string formula_;
  std::string inline_text_;
};

// Another worksheet, read only for its formulas: a formula of the first sheet
// that takes a value computed there on the day (=Sheet2!A1 over =TODAY()) changes
// with the day as much as one of its own.
class FormulaScanHandler : public XmlHandler {
 public:
  explicit FormulaScanHandler(ReadContext& context) : context_(context) {}

  void start(XmlName name, const XmlAttributes&) override {
    if (++depth_ == 1) ns_ = main_ns_of(name.ns);
    if (depth_ == 5 && !ns_.empty() && name.ns == ns_ && name.local == "f") {
      formula_.clear();
      collect(&formula_);
    }
  }
  void end(XmlName name) override {
    if (depth_ == 5 && !ns_.empty() && name.ns == ns_ && name.local == "f") {
      collect(nullptr);
      if (const std::optional<QString> function = volatile_function_in(formula_))
        stop(context_.computed_on_the_day(*function));
    }
    --depth_;
  }

 private:
  ReadContext& context_;
  std::string_view ns_;
  std::string formula_;
  int depth_ = 0;
};

class XlsxReader {
 public:
  XlsxReader(const ZipArchive& zip, SheetWriter& writer, ReadContext& context)
      : zip_(zip), writer_(writer), context_(context) {}

  Result<void> read() {
    const Result<Relationships> package = read_relationships(zip_, QString(), context_);
    if (!package) return package.failure();
    const QString workbook = package->by_type.value(QStringLiteral("officeDocument"));
    if (workbook.isEmpty()) return refusal(ReadRefusal::NoWorkbookPart);
    const Result<Relationships> parts = read_relationships(zip_, workbook, context_);
    if (!parts) return parts.failure();
    WorkbookHandler book(context_);
    if (Result<void> read = read_xml_member(zip_, workbook, book, context_); !read) return read;
    if (!book.first_sheet_seen) return refusal(ReadRefusal::NoWorksheet);
    // A first sheet the relationships do not name for certain: the suite might
    // take another sheet than this reader.
    if (!book.first_sheet_id || !parts->by_id.contains(*book.first_sheet_id))
      return context_.damaged(ReadRefusal::SheetWithoutRelationship);
    const QString sheet = parts->by_id.value(*book.first_sheet_id);
    if (!zip_.contains(sheet)) return context_.damaged(missing_member_reason(sheet));

    StylesHandler styles;
    const QString styles_member = parts->by_type.value(QStringLiteral("styles"));
    if (!styles_member.isEmpty() && zip_.contains(styles_member)) {
      if (Result<void> read = read_xml_member(zip_, styles_member, styles, context_); !read)
        return read;
    }
    SharedStringsHandler strings(context_);
    const QString strings_member = parts->by_type.value(QStringLiteral("sharedStrings"));
    if (!strings_member.isEmpty() && zip_.contains(strings_member)) {
      if (Result<void> read = read_xml_member(zip_, strings_member, strings, context_); !read)
        return read;
    }
    strings.starts.push_back(static_cast<quint32>(strings.strings.size()));

    SheetHandler rows(writer_, context_, styles.formats, strings.strings, strings.starts,
                      book.counts_from_1904, book.recalculated_on_opening);
    if (Result<void> read = read_xml_member(zip_, sheet, rows, context_); !read) return read;
    if (rows.has_formulas()) {
      for (const QString& other : parts->worksheets) {
        if (other == sheet || !zip_.contains(other)) continue;
        FormulaScanHandler formulas(context_);
        if (Result<void> read = read_xml_member(zip_, other, formulas, context_); !read)
          return read;
      }
    }
    return rows.finish();
  }

 private:
  const ZipArchive& zip_;
  SheetWriter& writer_;
  ReadContext& context_;
};

}  // namespace

Result<void> read_first_xlsx_sheet(const ZipArchive& zip, SheetWriter& writer,
                                   ReadContext& context) {
  return XlsxReader(zip, writer, context).read();
}

}  // namespace tsubakuro
