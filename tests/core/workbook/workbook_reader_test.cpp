#include "core/workbook/workbook_reader.h"
#include "core/workbook/workbook_kind.h"

#include <zip.h>

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "core/text/cp932.h"
#include "core/workbook/sheet_text.h"
#include "core/workbook/workbook_export.h"
#include "core/workbook/workbook_messages.h"
#include "result_checks.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::failure_kind;
using testing::kPaymentsSheet;
using testing::payments_workbook;
using testing::read_file;
using testing::ScopedWorkingDir;
using testing::write_file;

TEST(WorkbookReader, BothZipKindsGiveTheFirstSheetsValues) {
  for (const char* kind : {"xlsx", "ods"}) {
    SCOPED_TRACE(kind);
    ScopedWorkingDir dir;
    write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
    const Result<void> result = read_workbook(payments_workbook(kind), QStringLiteral("tbk.tmp"));
    EXPECT_EQ(failure_kind(result), std::nullopt) << result.message().toStdString();
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), encode_cp932(kPaymentsSheet).bytes);
  }
}

TEST(WorkbookReader, WhatItCannotReadIsRefusedAndTheOldTextFileKept) {
  ScopedWorkingDir dir;
  write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
  write_file(QStringLiteral("空.ods"), QByteArray());
  write_file(QStringLiteral("文書.xlsx"), "plain text, not a workbook\r\n");
  // The old binary kind is no zip archive.
  QFile::copy(payments_workbook("xls"), QStringLiteral("古い.xlsx"));
  for (const char* name : {"空.ods", "文書.xlsx", "古い.xlsx", "ない.xlsx"}) {
    SCOPED_TRACE(name);
    const Result<void> result = read_workbook(QString::fromUtf8(name), QStringLiteral("tbk.tmp"));
    EXPECT_EQ(failure_kind(result), Failure::Kind::Unsupported);
    EXPECT_TRUE(result.message().contains(QString::fromUtf8(name)))
        << result.message().toStdString();
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
}

// A zip archive cut short (a download that stopped) has lost its directory, and
// with it the members' places: damage, however much of it is left, and never
// handed to the suite, which would read what it can find.
TEST(WorkbookReader, AWorkbookCutShortIsFinal) {
  ScopedWorkingDir dir;
  for (const char* kind : {"xlsx", "ods"}) {
    const QByteArray whole = read_file(payments_workbook(kind));
    ASSERT_GT(whole.size(), 200);
    const QString name = QStringLiteral("途中まで.") + QLatin1String(kind);
    for (const qsizetype size :
         {qsizetype(4), qsizetype(30), whole.size() / 2, whole.size() - 23, whole.size() - 1}) {
      SCOPED_TRACE(std::string(kind) + " cut at " + std::to_string(size));
      write_file(name, whole.left(size));
      write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
      const Result<void> read = read_workbook(name, QStringLiteral("tbk.tmp"));
      EXPECT_EQ(failure_kind(read), Failure::Kind::Error);
      EXPECT_TRUE(read.message().contains(name) &&
                  read.message().contains(read_refusal_reason(ReadRefusal::ArchiveCutShort)))
          << read.message().toStdString();
      const Result<void> exported = WorkbookExport(name).run();
      EXPECT_EQ(failure_kind(exported), Failure::Kind::Error);
      EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
    }
  }
  // The first bytes of an archive over anything else are no workbook either.
  write_file(QStringLiteral("壊れた.xlsx"), QByteArray("PK\x03\x04", 4) + QByteArray(500, 'x'));
  EXPECT_EQ(failure_kind(read_workbook(QStringLiteral("壊れた.xlsx"), QStringLiteral("tbk.tmp"))),
            Failure::Kind::Error);
}

TEST(WorkbookReader, StopRequestEndsTheReadWithoutWriting) {
  ScopedWorkingDir dir;
  const Result<void> result =
      read_workbook(payments_workbook("xlsx"), QStringLiteral("tbk.tmp"), [] { return true; });
  EXPECT_EQ(failure_kind(result), Failure::Kind::Cancelled);
  EXPECT_FALSE(QFile::exists(QStringLiteral("tbk.tmp")));
}

using Members = std::vector<std::pair<QByteArray, QByteArray>>;

// Writes the members as given, deflated unless `stored`: a name may come twice.
void write_zip(const QString& path, const Members& members, bool stored = false) {
  int error = 0;
  zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  // libzip refuses a second member of a name: it is written under a stand-in of
  // the same length, renamed in the bytes afterwards.
  std::vector<std::pair<QByteArray, QByteArray>> renames;
  for (std::size_t i = 0; i < members.size(); ++i) {
    QByteArray name = members[i].first;
    for (std::size_t j = 0; j < i; ++j) {
      if (members[j].first != name) continue;
      QByteArray stand_in = name;
      stand_in[stand_in.size() - 1] = '#';
      renames.emplace_back(stand_in, name);
      name = stand_in;
      break;
    }
    const QByteArray& bytes = members[i].second;
    zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
    const zip_int64_t index = zip_file_add(archive, name.constData(), source, ZIP_FL_OVERWRITE);
    ASSERT_GE(index, 0);
    if (stored)
      zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
  }
  ASSERT_EQ(zip_close(archive), 0);
  if (renames.empty()) return;
  QByteArray bytes = read_file(path);
  for (const auto& [from, to] : renames) bytes.replace(from, to);
  write_file(path, bytes);
}

// A workbook as small as other programs write one: the sheet as given, the
// shared strings, one style with a date format, and the calculation settings.
Members xlsx_members(const QByteArray& sheet,
                     const QStringList& strings = {QStringLiteral("ﾀﾅｶ"), QStringLiteral("0005")},
                     const QByteArray& calculation = {}) {
  QByteArray shared = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (const QString& text : strings) shared += "<si><t>" + text.toUtf8() + "</t></si>";
  shared += "</sst>";
  return {
      {"_rels/.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
       "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml",
       "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
       "<sheet name=\"1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>" +
           calculation + "</workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
       "<Relationship Id=\"rId2\" Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/>"
       "<Relationship Id=\"rId3\" Type=\"x/styles\" Target=\"styles.xml\"/></Relationships>"},
      {"xl/styles.xml",
       "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><cellXfs>"
       "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>"},
      {"xl/sharedStrings.xml", shared},
      {"xl/worksheets/sheet1.xml", sheet},
  };
}

void write_xlsx(const QString& path, const QByteArray& sheet,
                const QStringList& strings = {QStringLiteral("ﾀﾅｶ"), QStringLiteral("0005")},
                const QByteArray& calculation = {}) {
  write_zip(path, xlsx_members(sheet, strings, calculation));
}

// A worksheet around the rows given, its elements written with `prefix`.
QByteArray worksheet(const QByteArray& rows, const QByteArray& prefix = {}) {
  const QByteArray p = prefix.isEmpty() ? QByteArray() : prefix + ':';
  const QByteArray declaration = prefix.isEmpty() ? QByteArray("xmlns") : "xmlns:" + prefix;
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<" + p + "worksheet " +
         declaration + "=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><" + p +
         "dimension ref=\"A1\"/><" + p + "sheetData>" + rows + "</" + p + "sheetData></" + p +
         "worksheet>";
}

// The sheet's text, or the reader's message when it gave none.
QByteArray read_sheet(const QByteArray& sheet) {
  write_xlsx(QStringLiteral("book.xlsx"), sheet);
  const Result<void> result = read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"));
  if (!result) return "refused: " + result.message().toUtf8();
  return read_file(QStringLiteral("tbk.tmp"));
}

QByteArray cp932(const char* utf8) { return encode_cp932(QString::fromUtf8(utf8)).bytes; }

TEST(WorkbookReader, SheetCellsAsOtherProgramsWriteThem) {
  ScopedWorkingDir dir;
  const struct {
    const char* what;
    QByteArray rows;
    QByteArray prefix;
    const char* text;
  } cases[] = {
      {"no references: each cell the next column, each row the next row",
       "<row><c><v>1</v></c><c t=\"s\"><v>0</v></c></row><row><c><v>3</v></c></row>",
       {},
       "1,ﾀﾅｶ\n3,\n"},
      {"references skip columns and rows; self-closing and empty cells write nothing",
       "<row r=\"2\"><c r=\"B2\"/><c r=\"C2\" s=\"1\"></c><c r=\"D2\"><v>4</v></c></row>",
       {},
       ",,,\n,,,4\n"},
      {"attributes in either quotes and any order",
       "<row r='1' spans='1:2'><c t='s' r='B1'><v>1</v></c><c s=\"0\" r=\"C1\" t=\"n\"><v>2</v></c>"
       "</row>",
       {},
       ",0005,2\n"},
      {"prefixed elements", "<x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c></x:row>", "x",
       "ﾀﾅｶ\n"},
      {"entities, character references and CDATA in values",
       "<row><c t=\"str\"><v>a&amp;b &lt;&#x30BF;&#12490;&gt;&quot;</v></c>"
       "<c t=\"str\"><v><![CDATA[x,<y>]]></v></c></row>",
       {},
       "\"a&b <タナ>\"\"\",\"x,<y>\"\n"},
      {"inline text in runs, the reading left out, line ends normalized",
       "<row><c t=\"inlineStr\"><is><r><t>ﾀﾅｶ</t></r><r><t xml:space=\"preserve\"> ﾀﾛｳ\r\n</t></r>"
       "<rPh sb=\"0\" eb=\"1\"><t>たなか</t></rPh></is></c></row>",
       {},
       "\"ﾀﾅｶ ﾀﾛｳ \"\n"},
      {"formulas give their results; elements not known are passed over",
       "<row><c><f>1+1</f><v>2</v><extLst><ext><v>9</v></ext></extLst></c>"
       "<c t=\"str\"><f t=\"shared\" si=\"0\"/><v>ab</v></c><c t=\"b\"><v> 0 </v></c></row>"
       "<!-- a note --><?app hint?>",
       {},
       "2,ab,FALSE\n"},
      {"an error that is no formula's result is its code; empty texts are no cells",
       "<row><c t=\"e\"><v>#NULL!</v></c><c t=\"inlineStr\"><is><t></t></is></c></row>"
       "<row><c t=\"str\"><v></v></c><c t=\"inlineStr\"/></row>",
       {},
       "#NULL!\n"},
      {"numbers in the forms the conversions take",
       "<row><c><v> 12 </v></c><c><v>1.50</v></c>"
       "<c><v>-0</v></c><c><v>1E+2</v></c><c><v>+.5</v></c><c s=\"1\"><v>45407</v></c></row>",
       {},
       "12,1.5,0,100,0.5,2024/04/25\n"},
  };
  const QByteArray saved = qgetenv("LC_ALL");
  qputenv("LC_ALL", "C");  // dates in the suite's Japanese order whatever the machine's locale
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(read_sheet(worksheet(c.rows, c.prefix)), cp932(c.text));
  }
  if (saved.isNull())
    qunsetenv("LC_ALL");
  else
    qputenv("LC_ALL", saved);
}

TEST(WorkbookReader, SharedStringsWithoutReadingsAndWithEscapes) {
  ScopedWorkingDir dir;
  const QByteArray sheet =
      worksheet("<row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c><c t=\"s\"><v>2</v></c></row>");
  write_xlsx(QStringLiteral("book.xlsx"), sheet,
             {QStringLiteral("ﾀﾅｶ</t><rPh sb=\"0\" eb=\"1\"><t>たなか</t></rPh><t>_x000D_ﾀﾛｳ"),
              QStringLiteral("&#x30BF;&amp;_x0031_"), QStringLiteral("<![CDATA[a,b]]>")});
  ASSERT_EQ(failure_kind(read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"))),
            std::nullopt);
  EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), cp932("\"ﾀﾅｶ ﾀﾛｳ\",タ&_x0031_,\"a,b\"\n"));

  // An entity XML does not define is no well-formed part: damage, final.
  write_xlsx(QStringLiteral("book.xlsx"), sheet, {QStringLiteral("&nbsp;")});
  EXPECT_EQ(failure_kind(read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"))),
            Failure::Kind::Error);
}

TEST(WorkbookReader, NumbersAreReadAndWrittenAsTheSuiteWrites) {
  // Many digits, both signs, fractions, exponents: every value must come out as
  // the conversion of its text by Qt, then the suite's format, would give it.
  ScopedWorkingDir dir;
  std::mt19937 random(17);
  const auto digits = [&random](int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
    return text;
  };
  QByteArray rows;
  QByteArray expected;
  for (int row = 1; row <= 2000; ++row) {
    QByteArray value = random() % 2 ? "-" : "";
    value += digits(1 + static_cast<int>(random() % 17));
    if (random() % 2) value += '.' + digits(1 + static_cast<int>(random() % 17));
    if (random() % 4 == 0) value += 'e' + QByteArray::number(static_cast<int>(random() % 60) - 30);
    rows += "<row><c><v>" + value + "</v></c></row>";
    expected += sheet_number_text(QString::fromLatin1(value).toDouble()).toLatin1() + '\n';
  }
  EXPECT_EQ(read_sheet(worksheet(rows)), expected);
}

TEST(WorkbookReader, ALargeSheetIsReadAcrossItsChunks) {
  ScopedWorkingDir dir;
  QByteArray rows;
  QByteArray expected;
  for (int row = 1; row <= 20000; ++row) {
    const QByteArray r = QByteArray::number(row * 2);
    rows += "<row r=\"" + r + "\" spans=\"1:3\"><c r=\"A" + r + "\" t=\"s\"><v>" +
            QByteArray::number(row % 2) + "</v></c><c r=\"C" + r + "\" t=\"str\"><v>ｶﾅ&amp;" + r +
            "</v></c></row>";
    expected += ",,\n" + cp932(row % 2 ? "0005" : "ﾀﾅｶ") + ",," + cp932("ｶﾅ&") + r + '\n';
  }
  EXPECT_EQ(read_sheet(worksheet(rows)), expected);
}

TEST(WorkbookReader, SheetsNotSafelyReadAreLeftToTheSuite) {
  ScopedWorkingDir dir;
  const QByteArray good = worksheet("<row><c t=\"s\"><v>0</v></c></row>");
  const QByteArray cases[] = {
      good.left(good.size() - 20),
      worksheet("<row><c><v>1</v></row></c>"),
      worksheet("<x:row><c><v>1</v></c></x:row>"),
      worksheet("<row><c><v>1<b/></v></c></row>"),
      worksheet("<row><c t=\"str\"><v>&nbsp;</v></c></row>"),
      worksheet("<row><c t=\"inlineStr\"><is><t>\xE3\x81</t></is></c></row>"),
      worksheet("<row><c r=\"A1\" r=\"B1\"><v>1</v></c></row>"),
      worksheet("<row><c><v>&e;</v></c></row>")
          .replace("?>\r\n", "?>\r\n<!DOCTYPE w [<!ENTITY e \"1\">]>"),
      QByteArray(good).replace("UTF-8", "UTF-16"),
      // The suite computes an error result again, into codes of its own.
      worksheet("<row><c t=\"e\"><f>SQRT(-1)</f><v>#NUM!</v></c></row>"),
  };
  for (const QByteArray& sheet : cases) {
    SCOPED_TRACE(sheet.toStdString());
    write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
    EXPECT_TRUE(read_sheet(sheet).startsWith("refused: "));
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
}

// XlsxWriter saves every formula's result as 0 and asks for a recalculation on
// opening; openpyxl saves formulas without results. Either way the saved values
// are not what a spreadsheet shows, and neither reader may guess them.
TEST(WorkbookReader, FormulasWhoseResultsWereNeverSavedAreRefusedOnBothRoutes) {
  ScopedWorkingDir dir;
  const QString said = QStringLiteral(
      "「book.xlsx」には数式の計算結果が保存されていません。"
      "表計算ソフトで開いて保存し直してから変換してください。");
  const QByteArray zero_result = worksheet("<row><c><f>K2*1.05</f><v>0</v></c></row>");
  const struct {
    const char* name;
    QByteArray sheet;
    QByteArray calculation;
  } cases[] = {
      {"no result saved", worksheet("<row><c><f>K2*1.05</f></c></row>"), {}},
      {"recalculated on opening", zero_result, "<calcPr calcId=\"124519\" fullCalcOnLoad=\"1\"/>"},
      {"recalculated on opening, spelled true", zero_result, "<calcPr fullCalcOnLoad=\"true\"/>"},
      {"recalculated on opening, a formula of the day first",
       worksheet("<row><c><f>TODAY()</f><v>0</v></c><c><f t=\"array\" ref=\"B1\">1</f><v>0</v>"
                 "</c></row>"),
       "<calcPr fullCalcOnLoad=\"1\"/>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    write_xlsx(QStringLiteral("book.xlsx"), c.sheet, {}, c.calculation);
    write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
    const Result<void> read = read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"));
    EXPECT_EQ(testing::failure_kind(read), Failure::Kind::Error);
    EXPECT_EQ(read.message(), said);
    // The export takes it as final: the office suite is never asked.
    const Result<void> exported = WorkbookExport(QStringLiteral("book.xlsx")).run();
    EXPECT_EQ(testing::failure_kind(exported), Failure::Kind::Error);
    EXPECT_EQ(exported.message(), said);
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
  // A workbook that asks for a recalculation but holds no formula has its values.
  write_xlsx(QStringLiteral("book.xlsx"), worksheet("<row><c><v>7</v></c></row>"), {},
             "<calcPr fullCalcOnLoad=\"1\"/>");
  EXPECT_EQ(
      testing::failure_kind(read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"))),
      std::nullopt);
  EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "7\n");
  // Saved results without a request to recalculate are the sheet's values.
  write_xlsx(QStringLiteral("book.xlsx"), worksheet("<row><c><f>1+1</f><v>2</v></c></row>"), {},
             "<calcPr calcId=\"191029\" fullCalcOnLoad=\"0\"/>");
  EXPECT_EQ(
      testing::failure_kind(read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"))),
      std::nullopt);
  EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "2\n");
}

// An OpenDocument spreadsheet of the given content.xml, whose root element
// declares the prefixes given, and of a styles.xml holding `common_styles`.
QByteArray read_ods(const QByteArray& declarations, const QByteArray& body,
                    const QByteArray& styles = {}, const QByteArray& common_styles = {}) {
  const QByteArray content = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<o:document-content " +
                             declarations + ">" + styles + "<o:body><o:spreadsheet>" + body +
                             "</o:spreadsheet></o:body></o:document-content>";
  std::vector<std::pair<const char*, QByteArray>> members = {
      {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}};
  if (!common_styles.isEmpty()) {
    members.push_back({"styles.xml", "<o:document-styles " + declarations + "><o:styles>" +
                                         common_styles + "</o:styles></o:document-styles>"});
  }
  int error = 0;
  zip_t* archive = zip_open("book.ods", ZIP_CREATE | ZIP_TRUNCATE, &error);
  for (const auto& [name, bytes] : members) {
    zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
    zip_file_add(archive, name, source, ZIP_FL_OVERWRITE);
  }
  if (zip_close(archive) != 0) return "no archive";
  const Result<void> result = read_workbook(QStringLiteral("book.ods"), QStringLiteral("tbk.tmp"));
  if (!result) return "refused: " + result.message().toUtf8();
  return read_file(QStringLiteral("tbk.tmp"));
}

TEST(WorkbookReader, OpenDocumentNamesAreTheirNamespacesWhateverTheirPrefixes) {
  ScopedWorkingDir dir;
  const QByteArray office = "xmlns:o=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"";
  const QByteArray table = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
  const QByteArray text = " xmlns:x=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"";
  EXPECT_EQ(
      read_ods(office + text + " xmlns:t=\"" + table + '"',
               "<t:table t:name=\"a\"><t:table-row><t:table-cell o:value-type=\"string\">"
               "<x:p>ﾀﾅｶ<x:s x:c=\"2\"/>ﾀﾛｳ</x:p><x:p>2<x:tab/>3<x:line-break/>4</x:p>"
               "</t:table-cell><t:table-cell t:number-columns-repeated=\"2\" "
               "o:value-type=\"float\" o:value=\"1.50\"><x:p>x</x:p></t:table-cell>"
               "<f:table-cell xmlns:f=\"urn:other\" o:value-type=\"float\" o:value=\"9\"/>"
               "</t:table-row><t:table-row t:number-rows-repeated=\"2\"><t:table-cell/>"
               "<t:table-cell o:value-type=\"string\"><x:p><x:span>a&amp;b</x:span>"
               "<o:annotation><x:p>note</x:p></o:annotation></x:p></t:table-cell></t:table-row>"
               "</t:table>"),
      // The suite's export leaves out a line break within a paragraph.
      cp932("\"ﾀﾅｶ  ﾀﾛｳ 2\t34\",1.5,1.5\n,a&b,\n,a&b,\n"));
  // The default namespace is no attribute's: this repeat count is not the table's.
  EXPECT_EQ(read_ods(office + text,
                     "<table xmlns=\"" + table +
                         "\"><table-row><table-cell number-columns-repeated=\"3\" "
                         "o:value-type=\"float\" o:value=\"7\"/><table-cell "
                         "o:value-type=\"boolean\" o:boolean-value=\"true\"/></table-row></table>"),
            "7,1\n");  // a boolean without a boolean style is its number
  // Two prefixes of one namespace are one namespace.
  EXPECT_EQ(read_ods(office + text + " xmlns:t=\"" + table + "\" xmlns:u=\"" + table + '"',
                     "<t:table><u:table-row><t:table-cell o:value-type=\"float\" o:value=\"1\"/>"
                     "</u:table-row></t:table>"),
            "1\n");
}

// The sheet's text, or the kind of the reader's refusal.
QByteArray read_members(const Members& members) {
  write_zip(QStringLiteral("book.xlsx"), members);
  const Result<void> result = read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"));
  if (result) return read_file(QStringLiteral("tbk.tmp"));
  return result.kind() == Failure::Kind::Error ? "error" : "unsupported";
}

QByteArray strict_worksheet(const QByteArray& rows) {
  return "<worksheet xmlns=\"http://purl.oclc.org/ooxml/spreadsheetml/main\"><sheetData>" + rows +
         "</sheetData></worksheet>";
}

TEST(WorkbookReader, OnlyTheRowsASpreadsheetShowsArePaid) {
  ScopedWorkingDir dir;
  const QByteArray paid = "<row r=\"1\"><c><v>1</v></c></row>";
  const QByteArray other = "xmlns:o=\"urn:other\"";
  const struct {
    const char* what;
    QByteArray sheet;
  } cases[] = {
      {"a row in another namespace inside sheetData",
       worksheet(paid + "<o:row " + other + " r=\"2\"><o:c><o:v>990000</o:v></o:c></o:row>")},
      {"a row of the main namespace inside an element of another",
       worksheet(paid + "<o:ext " + other + "><row r=\"2\"><c><v>990000</v></c></row></o:ext>")},
      {"a row after sheetData",
       worksheet(paid).replace("</sheetData>",
                               "</sheetData><row r=\"2\"><c><v>990000</v></c></row>")},
      {"a row before sheetData",
       worksheet(paid).replace("<sheetData>",
                               "<row r=\"2\"><c><v>990000</v></c></row><sheetData>")},
      {"a cell and a value in another namespace",
       worksheet("<row r=\"1\"><c><v>1</v></c><o:c " + other +
                 "><o:v>990000</o:v></o:c></row>"
                 "<row r=\"2\"><c><o:v " +
                 other + ">990000</o:v></c></row>")},
      {"the strict namespace", strict_worksheet(paid)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(read_sheet(c.sheet), "1\n");
  }
  // Rows in the other namespace of the two are not this sheet's.
  EXPECT_EQ(read_sheet(strict_worksheet(
                paid + "<row xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                       "r=\"2\"><c><v>990000</v></c></row>")),
            "1\n");
}

// Placed as LibreOffice 7.4 places them, checked on crafted files: a later cell
// of a number replaces the earlier, a repeated row number joins the row, a cell
// without a reference follows the one before it in the file.
TEST(WorkbookReader, RowsAndCellsGoWhereTheirNumbersSay) {
  ScopedWorkingDir dir;
  const QByteArray a = "<c r=\"A1\" t=\"inlineStr\"><is><t>a</t></is></c>";
  EXPECT_EQ(
      read_sheet(worksheet("<row r=\"1\">" + a +
                           "<c r=\"B1\" t=\"inlineStr\"><is><t>b</t></is></c></row>"
                           "<row r=\"1\"><c r=\"B1\" t=\"inlineStr\"><is><t>B</t></is></c>"
                           "<c r=\"C1\" t=\"inlineStr\"><is><t>C</t></is></c></row>"
                           "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"A2\"><v>2</v></c></row>")),
      "a,B,C\n2,,\n");
  EXPECT_EQ(read_sheet(worksheet("<row r=\"1\"><c r=\"C1\"><v>3</v></c><c r=\"A1\"><v>1</v></c>"
                                 "<c><v>9</v></c></row>")),
            "1,9,3\n");
  // Going back to an earlier row is left to the suite.
  write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
  EXPECT_EQ(read_members(xlsx_members(
                worksheet("<row r=\"3\"><c><v>3</v></c></row><row r=\"2\"><c><v>2</v></c></row>"))),
            "unsupported");
  EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
}

TEST(WorkbookReader, BooleansAreWhatTheSuiteMakesOfTheirValues) {
  ScopedWorkingDir dir;
  // The suite takes a boolean's value as a number: words are 0.
  EXPECT_EQ(read_sheet(worksheet("<row><c t=\"b\"><v>0</v></c><c t=\"b\"><v>1</v></c>"
                                 "<c t=\"b\"><v>false</v></c><c t=\"b\"><v>true</v></c>"
                                 "<c t=\"b\"><v> 1 </v></c><c t=\"b\"><v>2</v></c>"
                                 "<c t=\"b\"><v>TRUE</v></c></row>")),
            "FALSE,TRUE,FALSE,FALSE,TRUE,TRUE,FALSE\n");
  EXPECT_TRUE(read_sheet(worksheet("<row><c t=\"b\"><v>yes</v></c></row>")).startsWith("refused"));
}

// A file that does not say for certain which sheet is first, or that is damaged,
// is refused for good: the suite would read something else or repair it.
TEST(WorkbookReader, DamageAndAmbiguityAreFinal) {
  ScopedWorkingDir dir;
  const QByteArray sheet = worksheet("<row><c><v>285000</v></c></row>");
  const auto with = [&sheet](const char* name, const QByteArray& bytes) {
    Members members = xlsx_members(sheet);
    for (auto& [member, content] : members) {
      if (member == name) content = bytes;
    }
    return members;
  };
  const QByteArray rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
      "<Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"worksheets/sheet2.xml\"/>"
      "</Relationships>";
  const QByteArray workbook =
      "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
      "<sheet name=\"1\" sheetId=\"1\" %1/><sheet name=\"2\" sheetId=\"2\" r:id=\"rId1\"/>"
      "</sheets></workbook>";
  Members duplicate_sheet = xlsx_members(sheet);
  duplicate_sheet.push_back({"xl/worksheets/sheet1.xml", worksheet("<row><c><v>1</v></c></row>")});
  const struct {
    const char* what;
    Members members;
  } cases[] = {
      {"two relationships of one id", with("xl/_rels/workbook.xml.rels", rels)},
      {"a first sheet without a relationship",
       with("xl/workbook.xml", QByteArray(workbook).replace("%1", ""))},
      {"a first sheet whose relationship is not there",
       with("xl/workbook.xml", QByteArray(workbook).replace("%1", "r:id=\"rId9\""))},
      {"two members of one name", duplicate_sheet},
      {"a document type",
       with("xl/worksheets/sheet1.xml", QByteArray(sheet).replace("?>\r\n", "?>\r\n<!DOCTYPE w>"))},
      {"a part that is not well-formed", with("xl/styles.xml", "<styleSheet><cellXfs>")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
    EXPECT_EQ(read_members(c.members), "error");
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
}

TEST(WorkbookReader, AMemberThatDoesNotInflateAsSavedIsFinal) {
  ScopedWorkingDir dir;
  const QByteArray amount = "<row><c><v>285000</v></c></row>";
  for (const bool stored : {true, false}) {
    SCOPED_TRACE(stored ? "a changed byte, caught by the checksum" : "a deflated stream cut");
    QByteArray rows;
    for (int i = 0; i < 200; ++i) rows += amount;
    write_zip(QStringLiteral("book.xlsx"), xlsx_members(worksheet(rows)), stored);
    QByteArray bytes = read_file(QStringLiteral("book.xlsx"));
    if (stored) {
      const qsizetype at = bytes.indexOf("285000");
      ASSERT_GE(at, 0);
      bytes[at] = '9';
    } else {
      // The sheet is the last member written: its deflated bytes end where the
      // central directory begins.
      const qsizetype directory = bytes.indexOf(QByteArray("PK\x01\x02", 4));
      const qsizetype sheet = bytes.lastIndexOf("xl/worksheets/sheet1.xml", directory);
      ASSERT_GT(sheet, 0);
      for (qsizetype i = sheet + 40; i < directory; ++i) bytes[i] = static_cast<char>(0xFF);
    }
    write_file(QStringLiteral("book.xlsx"), bytes);
    write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
    const Result<void> read = read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"));
    EXPECT_EQ(failure_kind(read), Failure::Kind::Error);
    // The export never hands it to the suite.
    const Result<void> exported = WorkbookExport(QStringLiteral("book.xlsx")).run();
    EXPECT_EQ(failure_kind(exported), Failure::Kind::Error);
    EXPECT_EQ(exported.message(), read.message());
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
}

TEST(WorkbookReader, FormulasComputedOnTheDayGoToTheSuite) {
  ScopedWorkingDir dir;
  const struct {
    const char* cell;
    const char* function;
  } cases[] = {
      {"<c><f>IF(TODAY()&gt;DATE(2025,4,25),ROUND(K2*1.05,0),K2)</f><v>285000</v></c>", "TODAY"},
      {"<c><f>now ()-A1</f><v>1</v></c>", "NOW"},
      {"<c><f>_xlfn.RANDARRAY(1)</f><v>0.5</v></c>", "RANDARRAY"},
      {"<c><f>SUM(OFFSET(A1,0,0,2,1))</f><v>3</v></c>", "OFFSET"},
      {"<c t=\"str\"><f>CELL(\"filename\")</f><v>x</v></c>", "CELL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cell);
    write_xlsx(QStringLiteral("book.xlsx"), worksheet(QByteArray("<row>") + c.cell + "</row>"));
    std::optional<QString> function;
    const Result<void> read =
        read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"), {}, &function);
    EXPECT_EQ(failure_kind(read), Failure::Kind::Unsupported);
    EXPECT_EQ(function, QString::fromLatin1(c.function));
  }
  // Without the suite no route computes them: refused, saying why.
  {
    QTemporaryDir empty;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", empty.path().toLocal8Bit());
    const Result<void> exported = WorkbookExport(QStringLiteral("book.xlsx")).run();
    qputenv("PATH", path);
    EXPECT_EQ(failure_kind(exported), Failure::Kind::Error);
    EXPECT_EQ(
        exported.message(),
        QStringLiteral("「book.xlsx」には変換する日で値が変わる関数（CELL）を使った数式が"
                       "あります。その値を計算するには表計算ソフト(LibreOffice)が必要です。"));
  }
  // A value the first sheet takes from another sheet, computed there on the day;
  // a first sheet without formulas takes nothing from the others.
  for (const bool first_has_formula : {true, false}) {
    SCOPED_TRACE(first_has_formula);
    Members members =
        xlsx_members(worksheet(first_has_formula ? "<row><c><f>Sheet2!A1</f><v>285000</v></c></row>"
                                                 : "<row><c><v>285000</v></c></row>"));
    members[1].second.replace("</sheets>",
                              "<sheet name=\"2\" sheetId=\"2\" r:id=\"rId4\"/></sheets>");
    members[2].second.replace("</Relationships>",
                              "<Relationship Id=\"rId4\" Type=\"x/worksheet\" "
                              "Target=\"worksheets/sheet2.xml\"/></Relationships>");
    members.push_back(
        {"xl/worksheets/sheet2.xml", worksheet("<row><c><f>TODAY()+1</f><v>45757</v></c></row>")});
    write_zip(QStringLiteral("book.xlsx"), members);
    std::optional<QString> function;
    const Result<void> read =
        read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"), {}, &function);
    if (first_has_formula) {
      EXPECT_EQ(failure_kind(read), Failure::Kind::Unsupported);
      EXPECT_EQ(function, QStringLiteral("TODAY"));
    } else {
      EXPECT_TRUE(read.ok()) << read.message().toStdString();
      EXPECT_EQ(function, std::nullopt);
    }
  }
  // Names in quoted text, and names that only begin like one, are no calls.
  for (const char* formula : {"\"TODAY()\"&amp;A1", "MYTODAY(1)", "'NOW('!A1+1", "TODAY"}) {
    SCOPED_TRACE(formula);
    EXPECT_EQ(read_sheet(worksheet(QByteArray("<row><c><f>") + formula + "</f><v>7</v></c></row>")),
              "7\n");
  }
  // Array formulas are computed again by the suite too.
  EXPECT_TRUE(read_sheet(worksheet("<row><c><f t=\"array\" ref=\"A1\">TRANSPOSE(B1:B2)</f>"
                                   "<v>0</v></c></row>"))
                  .startsWith("refused: "));
  const QByteArray office =
      "xmlns:o=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:t=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\"";
  EXPECT_TRUE(read_ods(office,
                       "<t:table><t:table-row><t:table-cell t:formula=\"of:=NOW()\" "
                       "o:value-type=\"float\" o:value=\"45757\"/></t:table-row></t:table>")
                  .startsWith("refused: "));
  EXPECT_TRUE(read_ods(office,
                       "<t:table><t:table-row><t:table-cell t:formula=\"of:=1\" "
                       "t:number-matrix-columns-spanned=\"1\" "
                       "t:number-matrix-rows-spanned=\"1\" o:value-type=\"float\" "
                       "o:value=\"1\"/></t:table-row></t:table>")
                  .startsWith("refused: "));
}

TEST(WorkbookReader, OpenDocumentCellsShowWhatTheSuiteWrites) {
  ScopedWorkingDir dir;
  const QByteArray declarations =
      "xmlns:o=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:t=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:x=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
      "xmlns:s=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
      "xmlns:n=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\"";
  const QByteArray styles =
      "<o:automatic-styles><n:boolean-style s:name=\"N99\"><n:boolean/></n:boolean-style>"
      "<s:style s:name=\"ce1\" s:family=\"table-cell\" s:data-style-name=\"N99\"/>"
      "<s:style s:name=\"ce2\" s:family=\"table-cell\"/></o:automatic-styles>";
  // As LibreOffice 7.4 exported a crafted file: ruby by its base, no notes, a cell
  // without a value type by its text, booleans by their style.
  EXPECT_EQ(read_ods(declarations,
                     "<t:table><t:table-row><t:table-cell o:value-type=\"string\"><x:p>"
                     "<x:ruby><x:ruby-base>漢字</x:ruby-base><x:ruby-text>かんじ</x:ruby-text>"
                     "</x:ruby>x<x:note><x:note-citation>1</x:note-citation><x:note-body><x:p>"
                     "NOTE</x:p></x:note-body></x:note>y</x:p></t:table-cell>"
                     "<t:table-cell><x:p>no value type</x:p></t:table-cell>"
                     "<t:table-cell t:style-name=\"ce1\" o:value-type=\"boolean\" "
                     "o:boolean-value=\"true\"/><t:table-cell t:style-name=\"ce2\" "
                     "o:value-type=\"boolean\" o:boolean-value=\"false\"/>"
                     "<t:table-cell o:value-type=\"boolean\" o:boolean-value=\"true\"/>"
                     "</t:table-row></t:table>",
                     styles),
            // A style without a data style gives the suite's own boolean format.
            cp932("漢字xy,no value type,TRUE,FALSE,1\n"));
  // A boolean whose style the reader cannot see is left to the suite.
  EXPECT_TRUE(read_ods(declarations,
                       "<t:table><t:table-row><t:table-cell t:style-name=\"Default\" "
                       "o:value-type=\"boolean\" o:boolean-value=\"true\"/></t:table-row>"
                       "</t:table>",
                       styles)
                  .startsWith("refused: "));
}

// As LibreOffice 7.4 exported each cell: without a style, the cell's number; with a
// style that has no data style of the value's type, the suite's own format for it;
// a date by its style's order, ISO 8601 kept.
TEST(WorkbookReader, OpenDocumentDataStylesAreWhatTheSuiteWrites) {
  ScopedWorkingDir dir;
  const QByteArray declarations =
      "xmlns:o=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:t=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:x=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
      "xmlns:s=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
      "xmlns:n=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\"";
  const QByteArray iso =
      "<n:year n:style=\"long\"/><n:text>-</n:text><n:month n:style=\"long\"/>"
      "<n:text>-</n:text><n:day n:style=\"long\"/>";
  // The common styles hold a cell style of their own, as Gnumeric writes them.
  const QByteArray common =
      "<n:date-style s:name=\"iso\">" + iso +
      "</n:date-style>"
      "<s:style s:name=\"common\" s:family=\"table-cell\" s:data-style-name=\"General\"/>";
  const QByteArray styles =
      "<o:automatic-styles>"
      "<n:date-style s:name=\"isotime\">" +
      iso +
      "<n:text> </n:text><n:hours/></n:date-style>"
      "<n:date-style s:name=\"ymd\"><n:year/><n:text>/</n:text><n:month/><n:text>/</n:text>"
      "<n:day/></n:date-style>"
      "<n:date-style s:name=\"english\" n:language=\"en\" n:country=\"US\">" +
      iso +
      "</n:date-style>"
      "<n:time-style s:name=\"hms\"><n:hours/><n:text>:</n:text><n:minutes/></n:time-style>"
      "<n:percentage-style s:name=\"pct\"><n:number/><n:text>%</n:text></n:percentage-style>"
      "<s:style s:name=\"plain\" s:family=\"table-cell\"/>"
      "<s:style s:name=\"ce-iso\" s:family=\"table-cell\" s:data-style-name=\"iso\"/>"
      "<s:style s:name=\"ce-isotime\" s:family=\"table-cell\" s:data-style-name=\"isotime\"/>"
      "<s:style s:name=\"ce-ymd\" s:family=\"table-cell\" s:data-style-name=\"ymd\"/>"
      "<s:style s:name=\"ce-english\" s:family=\"table-cell\" s:data-style-name=\"english\"/>"
      "<s:style s:name=\"ce-hms\" s:family=\"table-cell\" s:data-style-name=\"hms\"/>"
      "<s:style s:name=\"ce-pct\" s:family=\"table-cell\" s:data-style-name=\"pct\"/>"
      "</o:automatic-styles>";
  const auto cell = [](const char* style, const char* value) {
    return QByteArray("<t:table-cell") +
           (*style ? QByteArray(" t:style-name=\"") + style + '"' : QByteArray()) + ' ' + value +
           "><x:p>x</x:p></t:table-cell>";
  };
  const auto row = [&](std::initializer_list<QByteArray> cells) {
    QByteArray body = "<t:table><t:table-row>";
    for (const QByteArray& c : cells) body += c;
    return read_ods(declarations, body + "</t:table-row></t:table>", styles, common).toStdString();
  };
  const char* date = "o:value-type=\"date\" o:date-value=\"2025-04-10\"";
  const char* date_time = "o:value-type=\"date\" o:date-value=\"2025-04-10T09:30:15\"";
  const char* fraction = "o:value-type=\"time\" o:time-value=\"PT08H05M07.25S\"";
  const char* percent = "o:value-type=\"percentage\" o:value=\"0.085\"";
  EXPECT_EQ(row({cell("", date), cell("", date_time), cell("", fraction), cell("", percent),
                 cell("", "o:value-type=\"currency\" o:currency=\"JPY\" o:value=\"285000\"")}),
            "45757,45757.3960069444,0.336889467592593,0.085,285000\n");
  EXPECT_EQ(row({cell("plain", date), cell("common", date_time), cell("common", fraction),
                 cell("plain", percent),
                 cell("common",
                      "o:value-type=\"boolean\" "
                      "o:boolean-value=\"true\"")}),
            "2025/4/10 0:00:00,2025/4/10 9:30:15,08:05:07.25,8.5%,TRUE\n");
  EXPECT_EQ(row({cell("ce-iso", date), cell("ce-iso", date_time), cell("ce-isotime", date),
                 cell("ce-ymd", date), cell("ce-ymd", date_time), cell("ce-pct", percent),
                 cell("ce-hms", "o:value-type=\"time\" o:time-value=\"PT14H00M59.9S\""),
                 cell("ce-hms", "o:value-type=\"time\" o:time-value=\"PT9H30M15S\"")}),
            "2025-04-10,2025-04-10 09:30:15,2025-04-10 00:00:00,2025/04/10,2025/4/10 9:30:15,8.5%,"
            "14:00:59.90,09:30:15\n");
  // A number under a date, time or percentage style shows as one.
  EXPECT_EQ(row({cell("ce-iso", "o:value-type=\"float\" o:value=\"45757\""),
                 cell("ce-ymd", "o:value-type=\"float\" o:value=\"45757.5\""),
                 cell("ce-pct", "o:value-type=\"float\" o:value=\"0.085\""),
                 cell("ce-hms", "o:value-type=\"float\" o:value=\"0.25\""),
                 cell("common", "o:value-type=\"float\" o:value=\"0.25\"")}),
            "2025-04-10,2025/4/10 12:00:00,8.5%,06:00:00,0.25\n");
  // What the reader cannot match is left to the suite: a date in another language,
  // a date under a time style, a formula whose saved result is an error (the suite
  // computes it again, and may give a code of its own).
  for (const QByteArray& refused :
       {cell("ce-english", date), cell("ce-hms", date), cell("ce-iso", percent),
        QByteArray(
            "<t:table-cell t:formula=\"of:=SQRT(-1)\" o:value-type=\"float\" "
            "o:value=\"0\" c:value-type=\"error\" xmlns:c=\"urn:org:documentfoundation:"
            "names:experimental:calc:xmlns:calcext:1.0\"><x:p>#NUM!</x:p></t:table-cell>")}) {
    SCOPED_TRACE(refused.toStdString());
    EXPECT_TRUE(row({refused}).starts_with("refused: "));
  }
}

// Small files that claim, or inflate to, far more than a payment list: each is
// refused or read within bounded memory and time, and "tbk.tmp" stays small.
TEST(WorkbookReader, BombsStayBounded) {
  ScopedWorkingDir dir;
  const QByteArray ods_declarations =
      "xmlns:o=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:t=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\"";
  const QByteArray cell = "<t:table-cell o:value-type=\"float\" o:value=\"1\"/>";
  const QByteArray empty_rows =
      "<t:table-row t:number-rows-repeated=\"%1\"><t:table-cell "
      "t:number-columns-repeated=\"1024\"/></t:table-row>";
  // The trailing empty rows LibreOffice's own files have write nothing.
  EXPECT_EQ(read_ods(ods_declarations, "<t:table><t:table-row>" + cell + "</t:table-row>" +
                                           QByteArray(empty_rows).replace("%1", "1048575") +
                                           "</t:table>"),
            "1\n");
  // A repeat count of 2^63-1 does not wrap the row number around onto the heading.
  EXPECT_NE(
      read_ods(ods_declarations, "<t:table><t:table-row>" + cell + "</t:table-row>" +
                                     QByteArray(empty_rows).replace("%1", "9223372036854775807") +
                                     "<t:table-row>" + cell + "</t:table-row></t:table>"),
      "1\n1\n");
  // A value in every cell of the sheet would write gigabytes.
  write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
  EXPECT_TRUE(read_ods(ods_declarations,
                       "<t:table><t:table-row t:number-rows-repeated=\"1048576\"><t:table-cell "
                       "t:number-columns-repeated=\"16384\" o:value-type=\"float\" o:value=\"1\"/>"
                       "</t:table-row></t:table>")
                  .startsWith("refused: "));
  EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  // Styles without end, each with a long name, are not all kept.
  QByteArray styles = "<o:automatic-styles>";
  for (int i = 0; i < 200; ++i) {
    styles += "<s:style s:family=\"table-cell\" s:name=\"" + QByteArray::number(i) +
              QByteArray(100'000, 's') + "\"/>";
  }
  EXPECT_TRUE(
      read_ods(ods_declarations + " xmlns:s=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\"",
               "<t:table><t:table-row>" + cell + "</t:table-row></t:table>",
               styles + "</o:automatic-styles>")
          .startsWith("refused: "));

  QByteArray strings;
  for (int i = 0; i < 500'000; ++i) strings += "<si><t>" + QByteArray(100, 'x') + "</t></si>";
  const struct {
    const char* what;
    Members members;
  } cases[] = {
      {"the last cell of the sheet: every row would be filled out to it",
       xlsx_members(worksheet("<row r=\"1\"><c><v>1</v></c></row>"
                              "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>"))},
      {"a cell of many megabytes of text",
       xlsx_members(
           worksheet("<row><c t=\"str\"><v>" + QByteArray(3 << 20, 'x') + "</v></c></row>"))},
      {"a start tag of many megabytes",
       xlsx_members(worksheet("<row><c x=\"" + QByteArray(12 << 20, 'x') + "\"/></row>"))},
      {"shared strings past what memory should hold",
       [&strings] {
         Members members = xlsx_members(worksheet("<row><c t=\"s\"><v>0</v></c></row>"));
         members[4].second =
             "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" + strings +
             "</sst>";
         return members;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(read_members(c.members), "error");
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
}

TEST(WorkbookReader, StopAskedForAfterTheLastRowStillKeepsTheOldTextFile) {
  // Asked at the first row, then once more before the file is replaced.
  ScopedWorkingDir dir;
  write_file(QStringLiteral("tbk.tmp"), "last month\r\n");
  int asked = 0;
  const Result<void> result = read_workbook(payments_workbook("xlsx"), QStringLiteral("tbk.tmp"),
                                            [&asked] { return ++asked > 1; });
  EXPECT_EQ(failure_kind(result), Failure::Kind::Cancelled);
  EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
}

TEST(WorkbookReader, KindsReadWithoutTheSuite) {
  EXPECT_TRUE(is_natively_read_workbook(QStringLiteral("a.xlsx")));
  EXPECT_TRUE(is_natively_read_workbook(QStringLiteral("A.XLSM")));
  EXPECT_TRUE(is_natively_read_workbook(QStringLiteral("a.Ods")));
  EXPECT_FALSE(is_natively_read_workbook(QStringLiteral("a.xls")));
  EXPECT_FALSE(is_natively_read_workbook(QStringLiteral("a.csv")));
}

}  // namespace
}  // namespace tsubakuro
