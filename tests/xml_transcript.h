#pragma once

// One line for what an XML reader read, to hold the worksheet scanner to
// QXmlStreamReader: elements with their qualified and local names, attributes
// (namespace declarations last, as QXmlStreamReader lists them apart), text with
// adjacent pieces joined, and "!" at the end when the reader gave up. Shared by
// the scanner's tests and its fuzz target, so both compare the same things.

#include <QStringDecoder>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/workbook/xml_scanner.h"

namespace tsubakuro::testing {

// Not QString::fromUtf8, which drops a leading U+FEFF.
inline QString utf8_text(std::string_view bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// The scanner's line for `xml`, read `chunk` bytes at a time.
inline QString scanned(const QByteArray& xml, qsizetype chunk) {
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
    if (tokens > 2 * xml.size() + 2) {
      std::fprintf(stderr, "the scanner gives tokens without consuming its input\n");
      std::abort();
    }
    switch (scanner.next()) {
      case XmlScanner::Token::StartElement:
        out += u'<' + utf8_text(scanner.qualified_name()) + u'|' + utf8_text(scanner.name());
        for (const bool declarations : {false, true}) {
          for (qsizetype i = 0; i < scanner.attribute_count(); ++i) {
            const auto [name, value] = scanner.attribute_at(i);
            if ((name == "xmlns" || name.starts_with("xmlns:")) != declarations) continue;
            out += u' ' + utf8_text(name) + u'[' + utf8_text(value) + u']';
          }
        }
        out += u'>';
        break;
      case XmlScanner::Token::EndElement:
        out += QStringLiteral("</") + utf8_text(scanner.qualified_name()) + u'>';
        break;
      case XmlScanner::Token::Characters:
        out += u'{' + utf8_text(scanner.text()) + u'}';
        break;
      case XmlScanner::Token::EndDocument:
        return out.replace(QStringLiteral("}{"), QString());
      case XmlScanner::Token::Invalid:
        return out.replace(QStringLiteral("}{"), QString()) + u'!';
    }
  }
}

// The same line from QXmlStreamReader.
inline QString read_by_qt(const QByteArray& xml) {
  QXmlStreamReader reader(xml);
  QString out;
  int depth = 0;
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::StartElement:
        ++depth;
        out += u'<' + reader.qualifiedName().toString() + u'|' + reader.name().toString();
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

}  // namespace tsubakuro::testing
