#include "core/workbook/xml_scanner.h"

#include <gtest/gtest.h>

#include "xml_transcript.h"

namespace tsubakuro {
namespace {

using testing::read_by_qt;
using testing::scanned;

constexpr qsizetype kChunkSizes[] = {1, 2, 3, 5, 8, 13, 64, XmlScanner::kDefaultChunkSize};

TEST(XmlScanner, ReadsWhatItTakesAsQtDoesWhereverTheChunksEnd) {
  const char* const documents[] = {
      "<a/>",
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n<a>x</a>\r\n",
      "<?xml version='1.0'?><x:c xmlns:x='urn:s' r='B2' t=\"s\"><x:v>12</x:v></x:c>",
      "<c t=\"s\" r='A1' ><v >3</v ></c >",
      "<row r=\"1\"><c r=\"A1\"/><c/><c s=\"2\"></c></row>",
      "<v>&lt;&gt;&amp;&quot;&apos;&#65;&#x42;&#x3042;&#128512;&#x0000043;</v>",
      "<t a=\"1\r\n2\t3&#9;4&#13;5 &lt; &#x3042;\">p\r\nq\rr&#13;s\n</t>",
      "<t>x<![CDATA[<y> & ]] ]>]]>z<!-- a - b --><?pi ? > ?>w</t>",
      "<t>銀行番号 ﾐﾂﾋﾞｼ 𠮷 ①～</t>",
      "<t attr='ｶﾅ&amp;漢字'>]] ]>]></t>",
      "<!-- before --><?pi x?><a xmlns='urn:d' xmlns:p='urn:p' p:q='1'><p:b xml:space='preserve'>"
      " </p:b></a><!-- after -->\n",
      "<a><b xmlns:p='urn:1'><p:c/></b><b xmlns:p='urn:2'><p:c/></b></a>",
      "<?xml version = '1.0' standalone='no' ?><a/>",
      "<a><?p i?"
      "?><?q?>\xEF\xBB\xBF</a>",
  };
  for (const char* document : documents) {
    SCOPED_TRACE(document);
    const QString expected = read_by_qt(QByteArray(document));
    ASSERT_FALSE(expected.endsWith(u'!')) << expected.toStdString();
    for (const qsizetype chunk : kChunkSizes) {
      SCOPED_TRACE(chunk);
      EXPECT_EQ(scanned(QByteArray(document), chunk), expected);
    }
  }
}

TEST(XmlScanner, StopsAtWhatIsNotWellFormed) {
  const char* const documents[] = {
      "",
      "   ",
      "<a>",
      "<a></b>",
      "<a><b></a></b>",
      "</a>",
      "<a/><b/>",
      "<a/>text",
      "<a>]]></a>",
      "<a><!-- x -- y --></a>",
      "<a><!-- x ---></a>",
      "<x:a/>",
      "<a x:b='1'/>",
      "<a b='1' b='2'/>",
      "<a b=\"<\"/>",
      "<a b='&unknown;'/>",
      "<a>&unknown;</a>",
      "<a>&#0;</a>",
      "<a>&#xD800;</a>",
      "<a>&#xFFFE;</a>",
      "<a>&#x110000;</a>",
      "<a>&#;</a>",
      "<a>& b</a>",
      "<a>\x01</a>",
      "<a b='\x02'/>",
      "<a>\xFF\xFE</a>",
      "<a>\xC0\xAF</a>",
      "<a>\xED\xA0\x80</a>",
      "<a>\xEF\xBF\xBF</a>",
      "<a>\xE3\x81</a>",
      "<1a/>",
      "<a:b:c xmlns:a='u'/>",
      "<a xmlns:p=''/>",
      // A prefix used again after its declaration went out of scope.
      "<a><b xmlns:p='u'><p:c/><p:c/></b><p:c/></a>",
      " <?xml version='1.0'?><a/>",
      "<a><?xml version='1.0'?></a>",
      "<a b='1'c='2'/>",
      "<a b=1/>",
      "<a b/>",
      "<a/ >",
      "<a><![CDATA[x]]</a>",
      "<![CDATA[x]]><a/>",
      "<a><!-- open</a>",
      "<a><?pi open</a>",
      "<a><!ENTITY x 'y'></a>",
      // Truncated after a start tag, inside a tag, an entity and a character.
      "<a><b>",
      "<a><b c='1",
      "<a>&am",
      "<a>\xE3\x81",
  };
  for (const char* document : documents) {
    SCOPED_TRACE(document);
    ASSERT_TRUE(read_by_qt(QByteArray(document)).endsWith(u'!'));
    for (const qsizetype chunk : kChunkSizes) {
      SCOPED_TRACE(chunk);
      EXPECT_TRUE(scanned(QByteArray(document), chunk).endsWith(u'!'));
    }
  }
}

TEST(XmlScanner, EveryCutOfADocumentIsRefused) {
  const QByteArray whole(
      "<?xml version=\"1.0\"?><w xmlns:x=\"urn:x\"><x:row r=\"1\"><x:c r=\"A1\" t=\"s\">"
      "<x:v>1&amp;2</x:v></x:c><c><is><t>ﾀﾅｶ<![CDATA[<>]]></t></is></c></x:row></w>");
  ASSERT_FALSE(scanned(whole, 1).endsWith(u'!'));
  for (qsizetype size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_TRUE(scanned(whole.left(size), 3).endsWith(u'!'));
  }
}

TEST(XmlScanner, RefusesWhatQtReadsInWaysItDoesNot) {
  // Declared entities, other encodings and names outside ASCII are left to a
  // reader that knows them.
  for (const char* document : {"<!DOCTYPE a [<!ENTITY e 'zz'>]><a>&e;</a>",
                               "<?xml version='1.0' encoding='ISO-8859-1'?><a>\xE9</a>",
                               "<\xC3\xA9/>", "<a \xC3\xA9='1'/>"}) {
    SCOPED_TRACE(document);
    EXPECT_TRUE(scanned(QByteArray(document), 64).endsWith(u'!'));
  }
}

TEST(XmlScanner, PrefixesAreFoundByTheirNamespaceWhereTheScannerIs) {
  const QByteArray xml(
      "<r xmlns='urn:d' xmlns:a='urn:1'><s xmlns:a='urn:2' xmlns:b='urn:1'><e/></s>"
      "<s xmlns:c='urn:1'/></r>");
  qsizetype at = 0;
  XmlScanner scanner([&](char* into, qint64 size) {
    const qint64 count = std::min<qint64>(size, xml.size() - at);
    std::memcpy(into, xml.constData() + at, static_cast<std::size_t>(count));
    at += count;
    return count;
  });
  // The prefix bound to each namespace at each tag, "?" for two of them.
  QStringList seen;
  quint64 generation = scanner.namespace_generation();
  int changes = 0;
  while (scanner.next() != XmlScanner::Token::EndDocument && seen.size() < 10) {
    changes += generation != scanner.namespace_generation();
    generation = scanner.namespace_generation();
    QString line = QString::fromLatin1(scanner.name().data(), scanner.name().size()) + u':';
    for (const char* uri : {"urn:d", "urn:1", "urn:2", "urn:none"}) {
      bool ambiguous = false;
      const std::optional<std::string_view> prefix = scanner.prefix_of(uri, ambiguous);
      line += u' ' + (ambiguous ? QStringLiteral("?")
                      : prefix  ? u'[' + QString::fromLatin1(prefix->data(), prefix->size()) + u']'
                                : QStringLiteral("-"));
    }
    seen.append(line);
  }
  EXPECT_EQ(seen.join(u'|'), QStringLiteral("r: [] [a] - -|s: [] [b] [a] -|e: [] [b] [a] -|"
                                            "e: [] [b] [a] -|s: [] [a] - -|s: [] ? - -|"
                                            "s: [] [a] - -|r: - - - -"));
  EXPECT_EQ(changes, 6);  // at each tag that brings declarations in or takes them out
}

TEST(XmlScanner, AFailingSourceIsInvalid) {
  XmlScanner scanner([](char*, qint64) { return qint64(-1); });
  EXPECT_EQ(scanner.next(), XmlScanner::Token::Invalid);
  EXPECT_EQ(scanner.next(), XmlScanner::Token::Invalid);
  EXPECT_FALSE(scanner.error().isEmpty());
}

}  // namespace
}  // namespace tsubakuro
