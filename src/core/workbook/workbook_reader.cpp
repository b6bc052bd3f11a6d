#include "core/workbook/workbook_reader.h"

#include <zip.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QXmlStreamReader>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/save_file.h"
#include "core/workbook/sheet_text.h"
#include "core/workbook/xml_scanner.h"

namespace tsubakuro {
namespace {

constexpr QLatin1String kOfficeNs("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
constexpr QLatin1String kTableNs("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr QLatin1String kTextNs("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
constexpr QLatin1String kCalcExtNs(
    "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0");
constexpr QLatin1String kRelationshipsNs(
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships");

// The suite's sheets end at this row and column; a reference beyond them is damage.
constexpr qint64 kRowLimit = 1'048'576;
constexpr int kColumnLimit = 16'384;
constexpr qsizetype kFlushSize = 256 * 1024;

// A reason the reader gives up on a workbook: the suite may still read it.
struct Refusal {
  QString reason;
};

QString file_label(const QString& path) { return QFileInfo(path).fileName(); }

class ZipArchive {
 public:
  explicit ZipArchive(const QString& path) {
    int error = 0;
    archive_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
  }
  ~ZipArchive() {
    if (archive_) zip_discard(archive_);
  }
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool valid() const { return archive_ != nullptr; }
  bool contains(const QString& name) const {
    return zip_name_locate(archive_, name.toUtf8().constData(), 0) >= 0;
  }
  zip_t* handle() const { return archive_; }

 private:
  zip_t* archive_ = nullptr;
};

// One member of the archive as a stream, so a sheet is inflated as it is parsed.
class ZipEntryDevice : public QIODevice {
 public:
  ZipEntryDevice(const ZipArchive& archive, const QString& name) {
    file_ = zip_fopen(archive.handle(), name.toUtf8().constData(), 0);
    if (file_) open(QIODevice::ReadOnly);
  }
  ~ZipEntryDevice() override {
    if (file_) zip_fclose(file_);
  }
  bool isSequential() const override { return true; }
  bool failed() const { return failed_; }

 protected:
  qint64 readData(char* data, qint64 size) override {
    const zip_int64_t got = zip_fread(file_, data, static_cast<zip_uint64_t>(size));
    if (got < 0) {
      failed_ = true;
      return -1;
    }
    return got;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  zip_file_t* file_ = nullptr;
  bool failed_ = false;
};

// Parses one member; throws Refusal when it is missing or not well-formed XML.
class MemberReader {
 public:
  MemberReader(const ZipArchive& archive, const QString& name) : device_(archive, name) {
    if (!device_.isOpen()) throw Refusal{QStringLiteral("%1 がありません").arg(name)};
    xml_.setDevice(&device_);
    name_ = name;
  }
  QXmlStreamReader& xml() { return xml_; }
  // After the last token: a parse error is damage.
  void check() const {
    if (xml_.hasError() || device_.failed())
      throw Refusal{QStringLiteral("%1 が壊れています").arg(name_)};
  }

 private:
  ZipEntryDevice device_;
  QXmlStreamReader xml_;
  QString name_;
};

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

QString utf8_text(std::string_view bytes) {
  // QString::fromUtf8 drops a leading U+FEFF, which is text here.
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void append_ooxml_text(QByteArray& out, std::string_view utf8) {
  const QString text = utf8_text(utf8);
  append_text_field(out, text.contains(u"_x") ? unescape_ooxml(text) : text);
}

// Cell values and attributes are read as the QString conversions read them. The
// plain forms nearly every cell has are read here without building a string;
// whatever else (signs, spaces, "inf") goes to the conversion itself.
bool all_digits(std::string_view text, std::size_t most) {
  return !text.empty() && text.size() <= most &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// QString::toLongLong.
std::optional<qint64> integer_value(std::optional<std::string_view> text) {
  if (!text) return std::nullopt;
  if (all_digits(*text, 18)) {
    qint64 value = 0;
    for (const char c : *text) value = value * 10 + (c - '0');
    return value;
  }
  bool ok = false;
  const qint64 value = utf8_text(*text).toLongLong(&ok);
  return ok ? std::optional<qint64>(value) : std::nullopt;
}

// QString::toInt, 0 when it fails.
int style_value(std::optional<std::string_view> text) {
  if (!text) return 0;
  if (all_digits(*text, 9)) {
    int value = 0;
    for (const char c : *text) value = value * 10 + (c - '0');
    return value;
  }
  return utf8_text(*text).toInt();
}

// QString::toDouble, of the trimmed text unless told otherwise. Both it and std::from_chars round
// correctly, so the decimal forms they both take give the same double.
std::optional<double> number_value(std::string_view text, bool trimmed = true) {
  std::size_t i = text.starts_with('-') ? 1 : 0;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > from;
  };
  bool plain = digits();
  if (plain && i < text.size() && text[i] == '.') ++i, plain = digits();
  if (plain && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    plain = digits();
  }
  if (plain && i == text.size()) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size()) return value;
  }
  bool ok = false;
  const QString value_text = utf8_text(text);
  const double value = (trimmed ? value_text.trimmed() : value_text).toDouble(&ok);
  return ok ? std::optional<double>(value) : std::nullopt;
}

// A member of the archive read by the scanner. What the scanner does not take
// is damage to the reader, named by the member; the suite may read it still.
class ScannedMember {
 public:
  ScannedMember(const ZipArchive& zip, const QString& name)
      : name_(name),
        file_(zip_fopen(zip.handle(), name.toUtf8().constData(), 0)),
        xml_([this](char* into, qint64 size) {
          return static_cast<qint64>(zip_fread(file_.get(), into, static_cast<zip_uint64_t>(size)));
        }) {
    if (!file_) throw Refusal{QStringLiteral("%1 がありません").arg(name)};
  }

  XmlScanner& xml() { return xml_; }
  Refusal broken() const { return Refusal{QStringLiteral("%1 が壊れています").arg(name_)}; }

  // The next token, which is never Invalid.
  XmlScanner::Token next() {
    const XmlScanner::Token token = xml_.next();
    if (token == XmlScanner::Token::Invalid) throw broken();
    return token;
  }

  // Appends the text of the element just begun, which may hold no elements, and
  // ends after it.
  void read_text(std::string& text) {
    for (;;) {
      switch (next()) {
        case XmlScanner::Token::Characters:
          text.append(xml_.text());
          break;
        case XmlScanner::Token::EndElement:
          return;
        default:
          throw broken();
      }
    }
  }

  // Ends after the element just begun.
  void skip() {
    for (int depth = 1; depth > 0;) {
      switch (next()) {
        case XmlScanner::Token::StartElement:
          ++depth;
          break;
        case XmlScanner::Token::EndElement:
          --depth;
          break;
        case XmlScanner::Token::Characters:
          break;
        default:
          throw broken();
      }
    }
  }

 private:
  struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
  };

  QString name_;
  std::unique_ptr<zip_file_t, ZipFileClose> file_;
  XmlScanner xml_;
};

// Where the rows go: each row becomes one line as it arrives, and the lines are
// written out again at the end, every one filled with empty columns up to the
// sheet's widest row, as the suite writes a sheet's whole used area.
class SheetWriter {
 public:
  explicit SheetWriter(QTemporaryFile& out) : out_(out) {}

  // The field for the cell at (row, column), counted from 0, in reading order.
  QByteArray& cell(qint64 row, int column) {
    if (row < row_ || (row == row_ && column < fields_) || row >= kRowLimit ||
        column >= kColumnLimit)
      throw Refusal{QStringLiteral("セルの並びが正しくありません")};
    if (row > row_) {
      end_row();
      while (row_ + 1 < row) {
        ++row_;
        fields_per_row_.push_back(0);
        buffer_.append('\n');
      }
      row_ = row;
    }
    const int commas = fields_ == 0 ? column : column - fields_ + 1;
    buffer_.append(commas, ',');
    fields_ = column + 1;
    widest_ = std::max(widest_, fields_);
    return buffer_;
  }

  bool flush_if_full() {
    if (buffer_.size() < kFlushSize) return true;
    return flush();
  }

  enum class Finish { Written, Failed, Stopped };

  // Writes the finished lines to `target`, unless a stop is asked for before the
  // file is replaced: a read stopped at any time before then leaves it as it was.
  Finish finish(const QString& target, const std::function<bool()>& stop_requested) {
    const bool written = write_to(target, stop_requested);
    if (stopped_) return Finish::Stopped;
    return written ? Finish::Written : Finish::Failed;
  }

 private:
  bool write_to(const QString& target, const std::function<bool()>& stop_requested) {
    // An empty sheet is one empty line, as the suite writes it.
    if (row_ < 0) cell(0, 0);
    end_row();
    if (!flush() || !out_.flush() || !out_.seek(0)) return false;
    SaveFile result(target);
    if (!result.open()) return false;
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
          if (!result.write(line)) return false;
          line.clear();
        }
      }
    }
    if (!result.write(line) || out_.error() != QFileDevice::NoError) return false;
    if (stop_requested && stop_requested()) {
      stopped_ = true;
      result.cancel();
      return false;
    }
    return result.commit().ok();
  }

  void end_row() {
    if (row_ < 0 || ended_row_ == row_) return;
    fields_per_row_.push_back(fields_);
    buffer_.append('\n');
    ended_row_ = row_;
    fields_ = 0;
  }

  bool flush() {
    const bool written = out_.write(buffer_) == buffer_.size();
    buffer_.clear();
    return written;
  }

  QTemporaryFile& out_;
  QByteArray buffer_;
  std::vector<int> fields_per_row_;
  qint64 row_ = -1;
  qint64 ended_row_ = -1;
  int fields_ = 0;
  int widest_ = 1;
  bool stopped_ = false;
};

struct ReadContext {
  std::optional<SheetLocale> locale;
  const std::function<bool()>& stop_requested;
  bool stopped = false;

  SheetLocale require_locale() const {
    if (!locale) throw Refusal{QStringLiteral("この環境の日付の書き方に対応していません")};
    return *locale;
  }
  // Asked every few thousand rows.
  bool stop(qint64 row) {
    if ((row & 0xFFF) == 0 && stop_requested && stop_requested()) stopped = true;
    return stopped;
  }
};

void append_number(QByteArray& out, double value) {
  // Whole numbers, most of a payment list, are written in full as they are.
  if (std::fabs(value) < 9007199254740992.0 && value == std::trunc(value)) {
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<qint64>(value));
    out.append(digits, written.ptr - digits);
    return;
  }
  append_plain_field(out, sheet_number_text(value));
}

void append_date(QByteArray& out, const SheetMoment& moment, DateKind kind, SheetLocale locale) {
  const QString text = sheet_date_text(moment, kind, locale);
  if (text.isEmpty()) throw Refusal{QStringLiteral("範囲外の日付があります")};
  append_plain_field(out, text);
}

// --- Office Open XML ---------------------------------------------------------

enum class CellFormat { Number, Percent, Date, DateTime, Time, Boolean, Unknown };

// What a number format code shows, as far as the export cares: dates and times
// are written in the locale's own form, percentages with "%", the rest as plain
// numbers. Fractions, exponents and elapsed times the reader leaves to the suite.
CellFormat classify_format_code(const QString& code) {
  if (code == QLatin1String("\"TRUE\";\"TRUE\";\"FALSE\"")) return CellFormat::Boolean;
  if (code.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0 ||
      code == QLatin1String("@"))
    return CellFormat::Number;
  bool date = false;
  bool time = false;
  bool month = false;
  bool percent = false;
  bool other = false;
  const QString lower = code.toLower();
  for (qsizetype i = 0; i < lower.size(); ++i) {
    const QChar c = lower[i];
    if (c == u'"') {
      const qsizetype end = lower.indexOf(u'"', i + 1);
      if (end < 0) return CellFormat::Unknown;
      i = end;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
    } else if (c == u'[') {
      const qsizetype end = lower.indexOf(u']', i + 1);
      if (end < 0) return CellFormat::Unknown;
      const QStringView inside = QStringView(lower).mid(i + 1, end - i - 1);
      if (inside.startsWith(u'h') || inside.startsWith(u'm') || inside.startsWith(u's'))
        return CellFormat::Unknown;  // elapsed time
      i = end;
    } else if (lower.mid(i, 7) == QLatin1String("general")) {
      i += 6;
    } else if (c == u'y' || c == u'd' || c == u'g' || c == u'e') {
      if (c == u'e' && i + 1 < lower.size() && (lower[i + 1] == u'+' || lower[i + 1] == u'-'))
        other = true;  // exponent
      else
        date = true;
    } else if (c == u'h' || c == u's') {
      time = true;
    } else if (c == u'm') {
      month = true;
    } else if (c == u'%') {
      percent = true;
    } else if (c == u'?' || c == u'/') {
      if (!date && !month) other = true;
    }
  }
  if (date || (month && !time)) return time ? CellFormat::DateTime : CellFormat::Date;
  if (time) return CellFormat::Time;
  if (other) return CellFormat::Unknown;
  return percent ? CellFormat::Percent : CellFormat::Number;
}

CellFormat builtin_format(int id) {
  if (id == 0 || (id >= 1 && id <= 8) || (id >= 37 && id <= 44) || id == 49)
    return CellFormat::Number;
  if (id == 9 || id == 10) return CellFormat::Percent;
  if (id >= 14 && id <= 17) return CellFormat::Date;
  if ((id >= 18 && id <= 21) || id == 45 || id == 47) return CellFormat::Time;
  if (id == 22) return CellFormat::DateTime;
  return CellFormat::Unknown;
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

Relationships read_relationships(const ZipArchive& zip, const QString& member) {
  Relationships result;
  const QString dir = member_dir(member);
  const QString rels =
      dir + QStringLiteral("_rels/") + member.mid(dir.size()) + QStringLiteral(".rels");
  MemberReader reader(zip, rels);
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
  reader.check();
  return result;
}

class XlsxReader {
 public:
  XlsxReader(const ZipArchive& zip, SheetWriter& writer, ReadContext& context)
      : zip_(zip), writer_(writer), context_(context) {}

  void read() {
    const QString workbook =
        read_relationships(zip_, QString()).by_type.value(QStringLiteral("officeDocument"));
    if (workbook.isEmpty()) throw Refusal{QStringLiteral("ブックの本体がありません")};
    const Relationships parts = read_relationships(zip_, workbook);
    const QString sheet = parts.by_id.value(first_sheet_id(workbook));
    if (sheet.isEmpty()) throw Refusal{QStringLiteral("ワークシートがありません")};
    const QString styles = parts.by_type.value(QStringLiteral("styles"));
    if (!styles.isEmpty() && zip_.contains(styles)) read_styles(styles);
    const QString strings = parts.by_type.value(QStringLiteral("sharedStrings"));
    if (!strings.isEmpty() && zip_.contains(strings)) read_shared_strings(strings);
    read_sheet(sheet);
  }

 private:
  QString first_sheet_id(const QString& workbook) {
    MemberReader reader(zip_, workbook);
    QXmlStreamReader& xml = reader.xml();
    QString id;
    while (!xml.atEnd() && id.isEmpty()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      if (xml.name() == u"workbookPr") {
        const QStringView value = xml.attributes().value(QLatin1String("date1904"));
        counts_from_1904_ = value == u"1" || value == u"true";
      } else if (xml.name() == u"sheet") {
        id = xml.attributes().value(kRelationshipsNs, QLatin1String("id")).toString();
      }
    }
    if (id.isEmpty()) reader.check();
    return id;
  }

  void read_styles(const QString& member) {
    MemberReader reader(zip_, member);
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
    reader.check();
  }

  // A sheet of a million names has a million shared strings: read by the
  // scanner too.
  void read_shared_strings(const QString& member) {
    ScannedMember part(zip_, member);
    std::string text;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndDocument) break;
      if (token != XmlScanner::Token::StartElement || part.xml().name() != "si") continue;
      string_starts_.push_back(static_cast<quint32>(strings_.size()));
      text.clear();
      read_string_item(part, text);
      append_ooxml_text(strings_, text);
      if (strings_.size() > 0x7FFF'0000) throw Refusal{QStringLiteral("文字列が多すぎます")};
    }
    string_starts_.push_back(static_cast<quint32>(strings_.size()));
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
  void read_sheet(const QString& member) {
    ScannedMember part(zip_, member);
    XmlScanner& xml = part.xml();
    qint64 row = -1;
    int column = -1;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndDocument) return;
      if (token != XmlScanner::Token::StartElement) continue;
      if (xml.name() == "row") {
        const std::optional<qint64> number = integer_value(xml.attribute("r"));
        row = number && *number - 1 > row ? *number - 1 : row + 1;
        column = -1;
        if (context_.stop(row)) return;
        if (!writer_.flush_if_full()) throw Refusal{QStringLiteral("一時ファイルに書けません")};
      } else if (xml.name() == "c") {
        const std::string_view ref = xml.attribute("r").value_or(std::string_view());
        qint64 cell_row = row;
        if (ref.empty() || !parse_reference(ref, column, cell_row)) ++column;
        if (cell_row != row) throw Refusal{QStringLiteral("セルの並びが正しくありません")};
        const std::string_view type = xml.attribute("t").value_or(std::string_view());
        type_name_.assign(type);
        read_cell(part, row, column, cell_type(type), style_value(xml.attribute("s")));
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
  static void read_string_item(ScannedMember& part, std::string& text) {
    XmlScanner& xml = part.xml();
    int depth = 1;
    int skipped_depth = 0;
    while (depth > 0) {
      switch (part.next()) {
        case XmlScanner::Token::StartElement:
          ++depth;
          if (skipped_depth == 0 && (xml.name() == "rPh" || xml.name() == "phoneticPr"))
            skipped_depth = depth;
          if (skipped_depth == 0 && xml.name() == "t") part.read_text(text), --depth;
          break;
        case XmlScanner::Token::EndElement:
          if (depth == skipped_depth) skipped_depth = 0;
          --depth;
          break;
        case XmlScanner::Token::Characters:
          break;
        default:
          throw part.broken();
      }
    }
  }

  void read_cell(ScannedMember& part, qint64 row, int column, CellType type, int style) {
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
            part.read_text(value_);
            has_value = true;
          } else if (xml.name() == "f") {
            has_formula = true;
            part.skip();
          } else if (xml.name() == "is") {
            inline_text_.clear();
            read_string_item(part, inline_text_);
            has_inline = true;
          } else {
            part.skip();
          }
          break;
        case XmlScanner::Token::EndElement:
          open = false;
          break;
        case XmlScanner::Token::Characters:
          break;
        default:
          throw part.broken();
      }
    }
    if (type == CellType::InlineString) {
      if (has_inline) append_ooxml_text(writer_.cell(row, column), inline_text_);
      return;
    }
    if (!has_value) {
      // A formula without its last result: only the suite can work it out.
      if (has_formula) throw Refusal{QStringLiteral("計算結果のない数式があります")};
      return;
    }
    switch (type) {
      case CellType::SharedString: {
        const std::optional<qint64> index = integer_value(value_);
        if (!index || *index < 0 || *index + 1 >= static_cast<qint64>(string_starts_.size()))
          throw Refusal{QStringLiteral("共有文字列の番号が正しくありません")};
        const quint32 from = string_starts_[static_cast<std::size_t>(*index)];
        writer_.cell(row, column)
            .append(strings_.constData() + from,
                    string_starts_[static_cast<std::size_t>(*index) + 1] - from);
        return;
      }
      case CellType::Text:
        append_text_field(writer_.cell(row, column), unescape_ooxml(utf8_text(value_)));
        return;
      case CellType::Boolean:
        append_plain_field(writer_.cell(row, column),
                           utf8_text(value_).trimmed() == u"0" ? u"FALSE" : u"TRUE");
        return;
      case CellType::Number: {
        const std::optional<double> number = number_value(value_);
        if (!number) throw Refusal{QStringLiteral("数値でない値があります")};
        append_typed_number(row, column, *number, format(style));
        return;
      }
      case CellType::InlineString:
      case CellType::Other:
        break;
    }
    throw Refusal{
        QStringLiteral("対応していないセルの種類 %1 があります").arg(utf8_text(type_name_))};
  }

  void append_typed_number(qint64 row, int column, double number, CellFormat kind) {
    switch (kind) {
      case CellFormat::Number:
        append_number(writer_.cell(row, column), number);
        return;
      case CellFormat::Percent: {
        QByteArray& out = writer_.cell(row, column);
        append_number(out, number * 100);
        out.append('%');
        return;
      }
      case CellFormat::Boolean:
        append_plain_field(writer_.cell(row, column), number != 0 ? u"TRUE" : u"FALSE");
        return;
      case CellFormat::Date:
      case CellFormat::DateTime:
      case CellFormat::Time: {
        const SheetLocale locale = context_.require_locale();
        const std::optional<SheetMoment> moment = moment_from_serial(number, counts_from_1904_);
        if (!moment) throw Refusal{QStringLiteral("範囲外の日付があります")};
        DateKind date_kind = kind == CellFormat::DateTime ? DateKind::DateTime : DateKind::Date;
        if (kind == CellFormat::Time) {
          if (number < 0 || number >= 1)
            throw Refusal{QStringLiteral("24時間以上の時刻があります")};
          date_kind = DateKind::Time;
        } else if (kind == CellFormat::Date && moment->time != QTime(0, 0)) {
          date_kind = DateKind::DateTime;
        }
        append_date(writer_.cell(row, column), *moment, date_kind, locale);
        return;
      }
      case CellFormat::Unknown:
        break;
    }
    throw Refusal{QStringLiteral("対応していない表示形式があります")};
  }

  const ZipArchive& zip_;
  SheetWriter& writer_;
  ReadContext& context_;
  bool counts_from_1904_ = false;
  std::vector<CellFormat> formats_;
  QByteArray strings_;  // every shared string as its finished field, one after another
  std::vector<quint32> string_starts_;
  // The cell being read, kept from cell to cell for their buffers.
  std::string value_;
  std::string inline_text_;
  std::string type_name_;
};

// --- OpenDocument ------------------------------------------------------------

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

  void read() {
    // Only a spreadsheet: a text document's tables are no payment list.
    {
      ZipEntryDevice mimetype(zip_, QStringLiteral("mimetype"));
      if (!mimetype.isOpen() ||
          !mimetype.read(100).startsWith("application/vnd.oasis.opendocument.spreadsheet"))
        throw Refusal{QStringLiteral("表計算のブックではありません")};
    }
    ScannedMember part(zip_, QStringLiteral("content.xml"));
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndDocument) break;
      if (token == XmlScanner::Token::StartElement && is(part.xml(), table_, "table")) {
        read_table(part);
        return;  // the first worksheet only
      }
    }
    throw Refusal{QStringLiteral("ワークシートがありません")};
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

  void bind(const XmlScanner& xml) {
    if (xml.namespace_generation() == generation_) return;
    generation_ = xml.namespace_generation();
    for (Namespace* ns : {&office_, &table_, &text_, &calcext_}) {
      bool ambiguous = false;
      const std::optional<std::string_view> prefix =
          xml.prefix_of(std::string_view(ns->uri.data(), ns->uri.size()), ambiguous);
      // Two prefixes for one namespace could be told apart only name by name.
      if (ambiguous) throw Refusal{QStringLiteral("content.xml の名前空間に対応していません")};
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
  bool in(const XmlScanner& xml, const Namespace& ns) {
    bind(xml);
    const std::string_view qualified = xml.qualified_name();
    const std::size_t prefix_size = qualified.size() - xml.name().size();  // with its colon
    if (!ns.bound) return false;
    if (ns.prefix.empty()) return prefix_size == 0;
    return prefix_size == ns.prefix.size() + 1 && qualified.starts_with(ns.prefix);
  }

  bool is(const XmlScanner& xml, const Namespace& ns, std::string_view local) {
    return xml.name() == local && in(xml, ns);
  }

  // Unprefixed attributes are in no namespace, the default one included.
  std::optional<std::string_view> attribute(const XmlScanner& xml, const Namespace& ns,
                                            std::string_view local) {
    bind(xml);
    if (ns.prefix.empty()) return std::nullopt;
    for (qsizetype i = 0; i < xml.attribute_count(); ++i) {
      const auto [name, value] = xml.attribute_at(i);
      if (named(name, ns, local)) return value;
    }
    return std::nullopt;
  }

  // Keeps the cell's attributes, in one pass over them; the columns it repeats over.
  qint64 read_cell_attributes(const XmlScanner& xml, CellAttributes& a) {
    bind(xml);
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

  void read_table(ScannedMember& part) {
    XmlScanner& xml = part.xml();
    qint64 row = 0;
    for (int depth = 1; depth > 0;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndElement) {
        --depth;
        continue;
      }
      if (token == XmlScanner::Token::EndDocument) throw part.broken();
      if (token != XmlScanner::Token::StartElement) continue;
      if (!in(xml, table_)) {
        part.skip();
        continue;
      }
      if (xml.name() == "table-row") {
        const qint64 repeat = repeat_count(attribute(xml, table_, "number-rows-repeated"));
        read_row(part);
        if (!cells_.empty()) {
          if (row + repeat > kRowLimit) throw Refusal{QStringLiteral("行が多すぎます")};
          for (qint64 r = 0; r < repeat; ++r) {
            for (const Cell& cell : cells_) {
              writer_.cell(row + r, cell.column)
                  .append(row_fields_.constData() + cell.from, cell.size);
            }
          }
        }
        row += repeat;
        if (context_.stop(row)) return;
        if (!writer_.flush_if_full()) throw Refusal{QStringLiteral("一時ファイルに書けません")};
      } else if (xml.name() == "table-row-group" || xml.name() == "table-header-rows" ||
                 xml.name() == "table-rows") {
        ++depth;
      } else {
        part.skip();
      }
    }
  }

  static qint64 repeat_count(std::optional<std::string_view> value) {
    if (!value || value->empty()) return 1;
    const std::optional<qint64> count = integer_value(value);
    return count && *count > 0 ? *count : 1;
  }

  void read_row(ScannedMember& part) {
    XmlScanner& xml = part.xml();
    cells_.clear();
    row_fields_.clear();
    int column = 0;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndElement) return;
      if (token == XmlScanner::Token::EndDocument) throw part.broken();
      if (token != XmlScanner::Token::StartElement) continue;
      if (!in(xml, table_) || (xml.name() != "table-cell" && xml.name() != "covered-table-cell")) {
        part.skip();
        continue;
      }
      const qint64 repeat = read_cell_attributes(xml, attributes_);
      const CellAttributes& a = attributes_;
      const qsizetype from = row_fields_.size();
      if (read_cell(part, a, row_fields_)) {
        if (column + repeat > kColumnLimit) throw Refusal{QStringLiteral("列が多すぎます")};
        for (qint64 c = 0; c < repeat; ++c)
          cells_.push_back({static_cast<int>(column + c), from, row_fields_.size() - from});
      }
      column = static_cast<int>(std::min<qint64>(column + repeat, kColumnLimit + 1));
    }
  }

  // Appends the cell's field, or returns false for a cell with nothing in it.
  // Leaves the scanner after the cell's end.
  bool read_cell(ScannedMember& part, const CellAttributes& a, QByteArray& field) {
    paragraphs_.clear();
    read_paragraphs(part, paragraphs_);
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
      if (!value) throw Refusal{QStringLiteral("数値でない値があります")};
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
      if (!moment.date.isValid()) throw Refusal{QStringLiteral("日付が正しくありません")};
      append_date(field, moment, moment.time == QTime(0, 0) ? DateKind::Date : DateKind::DateTime,
                  context_.require_locale());
      return true;
    }
    if (type == "time") {
      const std::optional<double> seconds = parse_duration(utf8_text(a.time_value));
      if (!seconds) throw Refusal{QStringLiteral("時刻が正しくありません")};
      const qint64 whole = std::llround(*seconds);
      if (whole < 0 || whole >= 86400) throw Refusal{QStringLiteral("24時間以上の時刻があります")};
      append_date(field,
                  SheetMoment{QDate(1899, 12, 30), QTime(0, 0).addSecs(static_cast<int>(whole))},
                  DateKind::Time, context_.require_locale());
      return true;
    }
    throw Refusal{QStringLiteral("対応していないセルの種類 %1 があります").arg(utf8_text(type))};
  }

  // The cell's paragraphs joined by line breaks; notes and drawings left out.
  void read_paragraphs(ScannedMember& part, std::string& text) {
    bool first = true;
    for (;;) {
      const XmlScanner::Token token = part.next();
      if (token == XmlScanner::Token::EndElement) return;
      if (token == XmlScanner::Token::EndDocument) throw part.broken();
      if (token != XmlScanner::Token::StartElement) continue;
      if (is(part.xml(), text_, "p")) {
        if (!first) text.push_back('\n');
        first = false;
        read_inline(part, text);
      } else {
        part.skip();
      }
    }
  }

  void read_inline(ScannedMember& part, std::string& text) {
    XmlScanner& xml = part.xml();
    for (int depth = 1; depth > 0;) {
      switch (part.next()) {
        case XmlScanner::Token::Characters:
          text.append(xml.text());
          break;
        case XmlScanner::Token::StartElement:
          if (is(xml, text_, "s")) {
            const std::optional<std::string_view> count = attribute(xml, text_, "c");
            text.append(static_cast<std::size_t>(!count || count->empty()
                                                     ? 1
                                                     : std::clamp(style_value(count), 1, 10000)),
                        ' ');
            part.skip();
          } else if (is(xml, text_, "tab")) {
            text.push_back('\t');
            part.skip();
          } else if (is(xml, text_, "line-break")) {
            text.push_back('\n');
            part.skip();
          } else if (is(xml, office_, "annotation")) {
            part.skip();
          } else {
            ++depth;
          }
          break;
        case XmlScanner::Token::EndElement:
          --depth;
          break;
        default:
          throw part.broken();
      }
    }
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

WorkbookReadResult read_workbook(const QString& workbook, const QString& target,
                                 const std::function<bool()>& stop_requested) {
  const QString name = file_label(workbook);
  const auto refused = [&](const QString& reason) {
    return WorkbookReadResult{WorkbookReadStatus::Refused,
                              QStringLiteral("「%1」を読み込めません(%2)。").arg(name, reason)};
  };
  ZipArchive zip(workbook);
  if (!zip.valid()) return refused(QStringLiteral("ブックの形式ではないか、壊れています"));
  QTemporaryFile rows(QDir::tempPath() + QStringLiteral("/tsubakuro-XXXXXX.rows"));
  if (!rows.open()) {
    return {WorkbookReadStatus::Failed,
            QStringLiteral("一時ファイルを作れないため「%1」を変換できません。").arg(name)};
  }
  // A workbook is read as the kind its name gives, as the office suite would be
  // told to read it: a file of the other kind under that name is a wrong file.
  const bool named_ods = workbook.endsWith(QStringLiteral(".ods"), Qt::CaseInsensitive);
  if (named_ods != zip.contains(QStringLiteral("mimetype"))) {
    return {WorkbookReadStatus::Failed,
            QStringLiteral("「%1」は%2として読み込めません。壊れているか、別の形式のファイルです。")
                .arg(name, named_ods ? QStringLiteral("OpenDocument のスプレッドシート")
                                     : QStringLiteral("Excel のブック"))};
  }
  ReadContext context{sheet_locale_from_environment(), stop_requested};
  SheetWriter writer(rows);
  try {
    if (named_ods) {
      OdsReader(zip, writer, context).read();
    } else {
      XlsxReader(zip, writer, context).read();
    }
  } catch (const Refusal& refusal) {
    return refused(refusal.reason);
  }
  if (context.stopped) return {WorkbookReadStatus::Cancelled, {}};
  switch (writer.finish(target, stop_requested)) {
    case SheetWriter::Finish::Written:
      return {WorkbookReadStatus::Done, {}};
    case SheetWriter::Finish::Stopped:
      return {WorkbookReadStatus::Cancelled, {}};
    case SheetWriter::Finish::Failed:
      break;
  }
  return {WorkbookReadStatus::Failed,
          QStringLiteral("「%1」に書き込めないため「%2」を変換できません。").arg(target, name)};
}

}  // namespace tsubakuro
