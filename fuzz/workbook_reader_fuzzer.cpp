// Reads any bytes as one part of a workbook: the first byte picks the part (a
// worksheet, the shared strings, workbook.xml, or an OpenDocument content.xml),
// the rest is its XML. The reader must come to an answer, never write beyond
// what a bank file could hold, and leave "tbk.tmp" as it was unless it succeeds.
#include <zip.h>

#include <QFileInfo>
#include <string>

#include "core/workbook/workbook_reader.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

namespace {

const char kRels[] =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"x/officeDocument\" Target=\"xl/workbook.xml\"/>"
    "</Relationships>";
const char kWorkbookRels[] =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/>"
    "</Relationships>";
const char kWorkbook[] =
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
    "<sheet name=\"1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
const char kStrings[] =
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>a</t></si>"
    "<si><r><t>b</t></r></si></sst>";
const char kSheet[] =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
    "<row r=\"1\"><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c></row></sheetData></worksheet>";

void add(zip_t* archive, const char* name, const std::string& bytes) {
  // libzip copies nothing until the archive is closed: the strings outlive it.
  zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
  require(source && zip_file_add(archive, name, source, ZIP_FL_OVERWRITE) >= 0, "a member");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  tsubakuro::fuzz::enter_scratch_folder();
  const int part = data[0] % 4;
  const std::string xml(reinterpret_cast<const char*>(data + 1), size - 1);
  const bool ods = part == 3;
  const QString name = ods ? QStringLiteral("book.ods") : QStringLiteral("book.xlsx");
  int error = 0;
  zip_t* archive = zip_open(QFile::encodeName(name).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  require(archive != nullptr, "the archive is made");
  const std::string mimetype = "application/vnd.oasis.opendocument.spreadsheet";
  const std::string rels = kRels, workbook_rels = kWorkbookRels;
  const std::string workbook = part == 2 ? xml : std::string(kWorkbook);
  const std::string strings = part == 1 ? xml : std::string(kStrings);
  const std::string sheet = part == 0 ? xml : std::string(kSheet);
  if (ods) {
    add(archive, "mimetype", mimetype);
    add(archive, "content.xml", xml);
  } else {
    add(archive, "_rels/.rels", rels);
    add(archive, "xl/_rels/workbook.xml.rels", workbook_rels);
    add(archive, "xl/workbook.xml", workbook);
    add(archive, "xl/sharedStrings.xml", strings);
    add(archive, "xl/worksheets/sheet1.xml", sheet);
  }
  require(zip_close(archive) == 0, "the archive is written");

  const QByteArray before("last month\r\n");
  tsubakuro::fuzz::write_whole_file(QStringLiteral("tbk.tmp"),
                                    reinterpret_cast<const uint8_t*>(before.constData()),
                                    static_cast<size_t>(before.size()));
  const tsubakuro::Result<void> read = tsubakuro::read_workbook(name, QStringLiteral("tbk.tmp"));
  const qint64 written = QFileInfo(QStringLiteral("tbk.tmp")).size();
  if (read) {
    require(written <= (qint64(512) << 20), "no more text than a bank file holds");
  } else {
    require(!read.message().isEmpty(), "a refusal says why");
    require(tsubakuro::fuzz::read_whole_file(QStringLiteral("tbk.tmp")) == before,
            "a refused workbook leaves the text file as it was");
  }
  return 0;
}
