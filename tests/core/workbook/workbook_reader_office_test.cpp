// The workbook reader against the office suite it stands in for: workbooks made by
// the suite from one flat sheet, read both ways, must give the same "tbk.tmp" byte
// for byte, and so the same bank file.
#include <zip.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <string>

#include "core/workbook/workbook_export.h"
#include "core/workbook/workbook_reader.h"
#include "result_checks.h"
#include "run_fixture.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::failure_kind;
using testing::read_file;
using testing::write_file;

// Everything a payment list's sheet is made of: text codes with leading zeros,
// numbers with and without decimals (and display formats the export must ignore),
// formulas (0.1+0.2, 1/3, a number past 15 digits, text results), dates with and
// without a time, a time, a percentage, booleans, empty cells and rows, Japanese
// text, a comma, a quote and a line break inside cells, a text shared by two cells,
// and a second sheet that is not read.
constexpr char kFlatSheet[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
 <office:automatic-styles>
  <number:number-style style:name="N1"><number:number number:decimal-places="0" number:min-integer-digits="1" number:grouping="true"/></number:number-style>
  <number:number-style style:name="N2"><number:number number:decimal-places="2" number:min-integer-digits="1"/></number:number-style>
  <number:number-style style:name="N3"><number:number number:decimal-places="0" number:min-integer-digits="7"/></number:number-style>
  <number:date-style style:name="D1"><number:year number:style="long"/><number:text>/</number:text><number:month number:style="long"/><number:text>/</number:text><number:day number:style="long"/></number:date-style>
  <number:date-style style:name="D2"><number:year number:style="long"/><number:text>年</number:text><number:month/><number:text>月</number:text><number:day/><number:text>日</number:text></number:date-style>
  <number:time-style style:name="T1"><number:hours number:style="long"/><number:text>:</number:text><number:minutes number:style="long"/></number:time-style>
  <number:percentage-style style:name="P1"><number:number number:decimal-places="1" number:min-integer-digits="1"/><number:text>%</number:text></number:percentage-style>
  <number:boolean-style style:name="B1"><number:boolean/></number:boolean-style>
  <style:style style:name="ce1" style:family="table-cell" style:data-style-name="N1"/>
  <style:style style:name="ce2" style:family="table-cell" style:data-style-name="N2"/>
  <style:style style:name="ce3" style:family="table-cell" style:data-style-name="N3"/>
  <style:style style:name="ce4" style:family="table-cell" style:data-style-name="D1"/>
  <style:style style:name="ce5" style:family="table-cell" style:data-style-name="D2"/>
  <style:style style:name="ce6" style:family="table-cell" style:data-style-name="T1"/>
  <style:style style:name="ce7" style:family="table-cell" style:data-style-name="P1"/>
  <style:style style:name="ce8" style:family="table-cell" style:data-style-name="B1"/>
 </office:automatic-styles>
 <office:body><office:spreadsheet>
  <table:table table:name="振込一覧">
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>銀行番号</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>銀行名</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>支店番号</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>預金種目</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>口座番号</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>預金者名</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>金額</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>備考</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>0005</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>ﾐﾂﾋﾞｼ</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>001</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="1"><text:p>1</text:p></table:table-cell>
    <table:table-cell table:style-name="ce3" office:value-type="float" office:value="12345"><text:p>0012345</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>ﾀﾅｶ ﾀﾛｳ</text:p></table:table-cell>
    <table:table-cell table:style-name="ce1" office:value-type="float" office:value="1234567"><text:p>1,234,567</text:p></table:table-cell>
    <table:table-cell table:style-name="ce2" office:value-type="float" office:value="220.5"><text:p>220.50</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>0009</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>ﾐﾂﾋﾞｼ</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="250"><text:p>250</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="2"><text:p>2</text:p></table:table-cell>
    <table:table-cell table:formula="of:=0.1+0.2" office:value-type="float" office:value="0.3"><text:p>0.3</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>ｻﾄｳ ﾊﾅｺ</text:p><text:p>(ｶ)</text:p></table:table-cell>
    <table:table-cell table:formula="of:=[.G2]*2+1000" office:value-type="float" office:value="2470134"><text:p>2470134</text:p></table:table-cell>
    <table:table-cell table:formula="of:=1/3" office:value-type="float" office:value="0.333333333333333"><text:p>0.33</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell table:number-columns-repeated="8"/>
   </table:table-row>
   <table:table-row>
    <table:table-cell/>
    <table:table-cell office:value-type="string"><text:p>ﾕｳﾁｮ,ｷﾞﾝｺｳ</text:p></table:table-cell>
    <table:table-cell table:number-columns-repeated="3"/>
    <table:table-cell office:value-type="string"><text:p>株式会社"サンプル"商事　①～</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="-500"><text:p>-500</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell table:formula="of:=12345678901234567890" office:value-type="float" office:value="12345678901234567890"><text:p>1.23456789012346E+019</text:p></table:table-cell>
    <table:table-cell table:formula="of:=&quot;ﾃｽﾄ&quot;&amp;&quot;1&quot;" office:value-type="string" office:string-value="ﾃｽﾄ1"><text:p>ﾃｽﾄ1</text:p></table:table-cell>
    <table:table-cell table:style-name="ce4" office:value-type="date" office:date-value="2024-04-25"><text:p>2024/04/25</text:p></table:table-cell>
    <table:table-cell table:style-name="ce5" office:value-type="date" office:date-value="2024-04-05T13:45:10"><text:p>2024年4月5日</text:p></table:table-cell>
    <table:table-cell table:style-name="ce6" office:value-type="time" office:time-value="PT09H05M00S"><text:p>09:05</text:p></table:table-cell>
    <table:table-cell table:style-name="ce7" office:value-type="percentage" office:value="0.125"><text:p>12.5%</text:p></table:table-cell>
    <table:table-cell table:style-name="ce8" table:formula="of:=1=1" office:value-type="boolean" office:boolean-value="true"><text:p>TRUE</text:p></table:table-cell>
    <table:table-cell table:style-name="ce8" office:value-type="boolean" office:boolean-value="false"><text:p>FALSE</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:table-cell office:value-type="float" office:value="0.000012345"><text:p>x</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="1000000000000000"><text:p>x</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="123456.7890123456"><text:p>x</text:p></table:table-cell>
    <table:table-cell table:formula="of:=1/0" office:value-type="float" office:value="0"><text:p>#DIV/0!</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p> ﾏｴ ｱｷ</text:p></table:table-cell>
    <table:table-cell office:value-type="string"><text:p>ﾀﾅｶ ﾀﾛｳ</text:p></table:table-cell>
   </table:table-row>
  </table:table>
  <table:table table:name="メモ">
   <table:table-row><table:table-cell office:value-type="string"><text:p>読まないシート</text:p></table:table-cell></table:table-row>
  </table:table>
 </office:spreadsheet></office:body></office:document>
)";

QString suite_profile_argument(const QTemporaryDir& scratch) {
  return QStringLiteral("-env:UserInstallation=file://") +
         scratch.filePath(QStringLiteral("profile"));
}

constexpr char kErrorFormulaCell[] =
    R"(<table:table-cell table:formula="of:=1/0" office:value-type="float" office:value="0"><text:p>#DIV/0!</text:p></table:table-cell>)";

// The flat sheet as the reader reads it in a workbook of either kind. The suite
// computes a formula whose saved result is an error again on opening, and the reader
// leaves such a workbook to it (EveryKindGivesTheSuitesBytesAndBankFile).
QByteArray flat_sheet() {
  return QByteArray(kFlatSheet).replace(kErrorFormulaCell, "<table:table-cell/>");
}

// The suite saves a flat sheet as a workbook of `kind`.
QString make_workbook(const QTemporaryDir& scratch, const char* kind, const QByteArray& flat) {
  write_file(scratch.filePath(QStringLiteral("payments.fods")), flat);
  QProcess suite;
  suite.setWorkingDirectory(scratch.path());
  suite.start(office_suite_program(), {suite_profile_argument(scratch),
                                       QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                       QString::fromLatin1(kind), QStringLiteral("payments.fods")});
  EXPECT_TRUE(suite.waitForFinished(120'000));
  return scratch.filePath(QStringLiteral("payments.") + QString::fromLatin1(kind));
}

// The suite saves the flat sheet as each kind of workbook.
QString make_workbook(const QTemporaryDir& scratch, const char* kind) {
  return make_workbook(scratch, kind, flat_sheet());
}

// Replaces one member of a zip archive, as another program would have written it.
void replace_member(const QString& archive_path, const char* member, const QByteArray& bytes) {
  int error = 0;
  zip_t* archive = zip_open(QFile::encodeName(archive_path).constData(), 0, &error);
  ASSERT_NE(archive, nullptr);
  zip_source_t* source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
  ASSERT_GE(zip_file_add(archive, member, source, ZIP_FL_OVERWRITE), 0);
  ASSERT_EQ(zip_close(archive), 0);
}

QByteArray read_member(const QString& archive_path, const char* member) {
  int error = 0;
  zip_t* archive = zip_open(QFile::encodeName(archive_path).constData(), ZIP_RDONLY, &error);
  if (!archive) return {};
  zip_stat_t stat;
  QByteArray bytes;
  if (zip_stat(archive, member, 0, &stat) == 0) {
    bytes.resize(static_cast<qsizetype>(stat.size));
    zip_file_t* file = zip_fopen(archive, member, 0);
    zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
  }
  zip_discard(archive);
  return bytes;
}

class WorkbookReaderAgainstSuite : public ::testing::Test {
 protected:
  void SetUp() override {
    if (office_suite_program().isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  }

  // tbk.tmp from the reader and from the suite.
  static std::pair<QByteArray, QByteArray> both_ways(const QString& workbook) {
    QTemporaryDir out;
    const QString native = out.filePath(QStringLiteral("native.tmp"));
    const QString suite = out.filePath(QStringLiteral("suite.tmp"));
    const Result<void> read = read_workbook(workbook, native);
    EXPECT_EQ(failure_kind(read), std::nullopt) << read.message().toStdString();
    WorkbookExport exporter(workbook, suite);
    exporter.use_office_suite_only();
    const Result<void> exported = exporter.run();
    EXPECT_EQ(failure_kind(exported), std::nullopt) << exported.message().toStdString();
    return {read_file(native), read_file(suite)};
  }

  // The bank file a run makes of a sheet's text.
  static QByteArray bank_file_of(const QByteArray& sheet) {
    testing::RunFixture fixture;
    write_file(QStringLiteral("in.csv"), sheet);
    EXPECT_TRUE(fixture.convert().ok());
    return read_file(QStringLiteral("out.dat"));
  }
};

TEST_F(WorkbookReaderAgainstSuite, EveryKindGivesTheSuitesBytesAndBankFile) {
  QTemporaryDir scratch;
  for (const char* kind : {"xlsx", "ods"}) {
    SCOPED_TRACE(kind);
    const auto [native, suite] = both_ways(make_workbook(scratch, kind));
    EXPECT_EQ(native, suite) << "native:\n"
                             << native.toStdString() << "\nsuite:\n"
                             << suite.toStdString();
    EXPECT_EQ(bank_file_of(native), bank_file_of(suite));
  }
  for (const char* kind : {"xlsx", "ods"}) {
    SCOPED_TRACE(kind);
    const QString with_error = make_workbook(scratch, kind, QByteArray(kFlatSheet));
    EXPECT_EQ(failure_kind(read_workbook(with_error, scratch.filePath(QStringLiteral("tbk.tmp")))),
              Failure::Kind::Unsupported);
  }
}

TEST_F(WorkbookReaderAgainstSuite, TheMachinesLocaleChangesNeitherRoute) {
  // The suite names its output after the sheet: a Japanese name is exported on a
  // machine without a UTF-8 locale, or with a Japanese one that is not installed.
  QTemporaryDir scratch;
  const QByteArray saved = qgetenv("LC_ALL");
  std::map<std::string, QByteArray> first;  // by kind
  for (const char* locale : {"C", "ja_JP.UTF-8"}) {
    qputenv("LC_ALL", locale);
    for (const char* kind : {"xlsx", "ods"}) {
      SCOPED_TRACE(std::string(locale) + " " + kind);
      const auto [native, suite] = both_ways(make_workbook(scratch, kind));
      EXPECT_EQ(native, suite) << "native:\n"
                               << native.toStdString() << "\nsuite:\n"
                               << suite.toStdString();
      first.try_emplace(kind, suite);
      EXPECT_EQ(suite, first[kind]);
    }
  }
  if (saved.isNull())
    qunsetenv("LC_ALL");
  else
    qputenv("LC_ALL", saved);
}

TEST_F(WorkbookReaderAgainstSuite, InlineStringsAndPhoneticReadingsAsOtherProgramsWriteThem) {
  // Some programs write text into the cell itself, and Japanese spreadsheets keep
  // the reading of a name beside it; the suite reads only the text, and decodes
  // only the escapes of control characters.
  QTemporaryDir scratch;
  const QString book = make_workbook(scratch, "xlsx");
  QByteArray sheet = read_member(book, "xl/worksheets/sheet1.xml");
  ASSERT_FALSE(sheet.isEmpty());
  const qsizetype first_cell = sheet.indexOf("<c r=\"A1\"");
  const qsizetype first_end = sheet.indexOf("</c>", first_cell) + 4;
  sheet.replace(first_cell, first_end - first_cell,
                "<c r=\"A1\" t=\"inlineStr\"><is><r><t>銀行</t></r><r><t xml:space=\"preserve\">"
                "番号_x000D_ _x0031_</t></r></is></c>");
  replace_member(book, "xl/worksheets/sheet1.xml", sheet);
  QByteArray strings = read_member(book, "xl/sharedStrings.xml");
  const qsizetype name = strings.indexOf("<t xml:space=\"preserve\">ﾀﾅｶ ﾀﾛｳ</t>");
  ASSERT_GE(name, 0);
  strings.insert(strings.indexOf("</si>", name), "<rPh sb=\"0\" eb=\"2\"><t>たなか</t></rPh>");
  replace_member(book, "xl/sharedStrings.xml", strings);
  const auto [native, suite] = both_ways(book);
  EXPECT_EQ(native, suite) << "native:\n"
                           << native.toStdString() << "\nsuite:\n"
                           << suite.toStdString();
}

}  // namespace
}  // namespace tsubakuro
