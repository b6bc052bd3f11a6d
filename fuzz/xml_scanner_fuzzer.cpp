// Reads any bytes as a worksheet's XML: the scanner must come to an end, read
// the same whatever its chunk size, and read nothing QXmlStreamReader reads
// otherwise or refuses. The last byte picks the chunk size: a document saved with
// a final line end is still whole without it.
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstring>

#include "core/engine/xml_scanner.h"
#include "fuzz_support.h"

using tsubakuro::XmlScanner;
using tsubakuro::fuzz::require;

namespace {

QString text_of(std::string_view bytes) {
  // Not QString::fromUtf8, which drops a leading U+FEFF.
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// Elements, attributes (declarations last) and text in one line; "!" when refused.
QString scanned(const QByteArray& xml, qsizetype chunk) {
  qsizetype at = 0;
  XmlScanner scanner(
      [&](char* into, qint64 size) {
        const qint64 count = std::min<qint64>(size, xml.size() - at);
        std::memcpy(into, xml.constData() + at, static_cast<std::size_t>(count));
        at += count;
        return count;
      },
      chunk);
  QString out;
  for (qsizetype tokens = 0;; ++tokens) {
    require(tokens <= 2 * xml.size() + 2, "every token consumes the input");
    switch (scanner.next()) {
      case XmlScanner::Token::StartElement:
        out += u'<' + text_of(scanner.qualified_name());
        for (const bool declarations : {false, true}) {
          for (qsizetype i = 0; i < scanner.attribute_count(); ++i) {
            const auto [name, value] = scanner.attribute_at(i);
            if ((name == "xmlns" || name.starts_with("xmlns:")) != declarations) continue;
            out += u' ' + text_of(name) + u'[' + text_of(value) + u']';
          }
        }
        out += u'>';
        break;
      case XmlScanner::Token::EndElement:
        out += QStringLiteral("</") + text_of(scanner.qualified_name()) + u'>';
        break;
      case XmlScanner::Token::Characters:
        out += u'{' + text_of(scanner.text()) + u'}';
        break;
      case XmlScanner::Token::EndDocument:
        return out.replace(QStringLiteral("}{"), QString());
      case XmlScanner::Token::Invalid:
        return out.replace(QStringLiteral("}{"), QString()) + u'!';
    }
  }
}

QString read_by_qt(const QByteArray& xml) {
  QXmlStreamReader reader(xml);
  QString out;
  int depth = 0;
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::StartElement:
        ++depth;
        out += u'<' + reader.qualifiedName().toString();
        for (const QXmlStreamAttribute& a : reader.attributes())
          out += u' ' + a.qualifiedName().toString() + u'[' + a.value().toString() + u']';
        for (const QXmlStreamNamespaceDeclaration& d : reader.namespaceDeclarations()) {
          out += (d.prefix().isEmpty() ? QStringLiteral(" xmlns")
                                       : QStringLiteral(" xmlns:") + d.prefix().toString()) +
                 u'[' + d.namespaceUri().toString() + u']';
        }
        out += u'>';
        break;
      case QXmlStreamReader::EndElement:
        --depth;
        out += QStringLiteral("</") + reader.qualifiedName().toString() + u'>';
        break;
      case QXmlStreamReader::Characters:
        if (depth > 0) out += u'{' + reader.text().toString() + u'}';
        break;
      default:
        break;
    }
  }
  out.replace(QStringLiteral("}{"), QString());
  return reader.hasError() ? out + u'!' : out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const qsizetype chunk = 1 + data[size - 1] % 64;
  const QByteArray xml(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size - 1));
  const QString whole = scanned(xml, XmlScanner::kDefaultChunkSize);
  require(scanned(xml, chunk) == whole, "the chunk size changes nothing");
  if (!whole.endsWith(u'!')) require(read_by_qt(xml) == whole, "read as QXmlStreamReader reads");
  return 0;
}
