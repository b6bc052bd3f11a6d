#include "core/workbook/workbook_reader.h"
#include "core/workbook/workbook_kind.h"

#include <zip.h>

#include <gtest/gtest.h>
#include <QFile>
#include <random>

#include "core/text/cp932.h"
#include "core/workbook/sheet_text.h"
#include "core/workbook/workbook_export.h"
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
  write_file(QStringLiteral("壊れた.xlsx"), QByteArray("PK\x03\x04", 4) + QByteArray(500, 'x'));
  write_file(QStringLiteral("空.ods"), QByteArray());
  write_file(QStringLiteral("文書.xlsx"), "plain text, not a workbook\r\n");
  // The old binary kind is no zip archive.
  QFile::copy(payments_workbook("xls"), QStringLiteral("古い.xlsx"));
  for (const char* name : {"壊れた.xlsx", "空.ods", "文書.xlsx", "古い.xlsx", "ない.xlsx"}) {
    SCOPED_TRACE(name);
    const Result<void> result = read_workbook(QString::fromUtf8(name), QStringLiteral("tbk.tmp"));
    EXPECT_EQ(failure_kind(result), Failure::Kind::Unsupported);
    EXPECT_TRUE(result.message().contains(QString::fromUtf8(name)))
        << result.message().toStdString();
    EXPECT_EQ(read_file(QStringLiteral("tbk.tmp")), "last month\r\n");
  }
}

TEST(WorkbookReader, StopRequestEndsTheReadWithoutWriting) {
  ScopedWorkingDir dir;
  const Result<void> result =
      read_workbook(payments_workbook("xlsx"), QStringLiteral("tbk.tmp"), [] { return true; });
  EXPECT_EQ(failure_kind(result), Failure::Kind::Cancelled);
  EXPECT_FALSE(QFile::exists(QStringLiteral("tbk.tmp")));
}

// A workbook as small as other programs write one: the sheet as given, the
// shared strings, one style with a date format, and the calculation settings.
void write_xlsx(const QString& path, const QByteArray& sheet,
                const QStringList& strings = {QStringLiteral("ﾀﾅｶ"), QStringLiteral("0005")},
                const QByteArray& calculation = {}) {
  QByteArray shared = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (const QString& text : strings) shared += "<si><t>" + text.toUtf8() + "</t></si>";
  shared += "</sst>";
  const std::pair<const char*, QByteArray> members[] = {
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
  int error = 0;
  zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, bytes] : members) {
    zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
    ASSERT_GE(zip_file_add(archive, name, source, ZIP_FL_OVERWRITE), 0);
  }
  ASSERT_EQ(zip_close(archive), 0);
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

  write_xlsx(QStringLiteral("book.xlsx"), sheet, {QStringLiteral("&nbsp;")});
  EXPECT_EQ(failure_kind(read_workbook(QStringLiteral("book.xlsx"), QStringLiteral("tbk.tmp"))),
            Failure::Kind::Unsupported);
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
// declares the prefixes given.
QByteArray read_ods(const QByteArray& declarations, const QByteArray& body) {
  const QByteArray content = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<o:document-content " +
                             declarations + "><o:body><o:spreadsheet>" + body +
                             "</o:spreadsheet></o:body></o:document-content>";
  int error = 0;
  zip_t* archive = zip_open("book.ods", ZIP_CREATE | ZIP_TRUNCATE, &error);
  const QByteArray mimetype("application/vnd.oasis.opendocument.spreadsheet");
  for (const auto& [name, bytes] : {std::pair("mimetype", mimetype), {"content.xml", content}}) {
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
      cp932("\"ﾀﾅｶ  ﾀﾛｳ 2\t3 4\",1.5,1.5\n,a&b,\n,a&b,\n"));
  // The default namespace is no attribute's: this repeat count is not the table's.
  EXPECT_EQ(read_ods(office + text,
                     "<table xmlns=\"" + table +
                         "\"><table-row><table-cell number-columns-repeated=\"3\" "
                         "o:value-type=\"float\" o:value=\"7\"/><table-cell "
                         "o:value-type=\"boolean\" o:boolean-value=\"true\"/></table-row></table>"),
            "7,TRUE\n");
  // Two prefixes of one namespace are left to the suite.
  EXPECT_TRUE(read_ods(office + text + " xmlns:t=\"" + table + "\" xmlns:u=\"" + table + '"',
                       "<t:table><u:table-row><t:table-cell o:value-type=\"float\" o:value=\"1\"/>"
                       "</u:table-row></t:table>")
                  .startsWith("refused: "));
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
