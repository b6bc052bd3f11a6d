// Reads any bytes as a worksheet's XML: the scanner must come to an end, read
// the same whatever its chunk size, and read nothing QXmlStreamReader reads
// otherwise or refuses. The last byte picks the chunk size: a document saved with
// a final line end is still whole without it.
#include "core/workbook/xml_scanner.h"
#include "fuzz_support.h"
#include "xml_transcript.h"

using tsubakuro::XmlScanner;
using tsubakuro::fuzz::require;

using tsubakuro::testing::read_by_qt;
using tsubakuro::testing::scanned;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const qsizetype chunk = 1 + data[size - 1] % 64;
  const QByteArray xml(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size - 1));
  const QString whole = scanned(xml, XmlScanner::kDefaultChunkSize);
  require(scanned(xml, chunk) == whole, "the chunk size changes nothing");
  if (!whole.endsWith(u'!')) require(read_by_qt(xml) == whole, "read as QXmlStreamReader reads");
  return 0;
}
