#include "core/text/write_notation.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

namespace tsubakuro {
namespace {

QStringList read_all(const QString& text) {
  WriteNotationReader reader(text);
  QStringList items;
  while (!reader.at_end()) items << reader.read_item();
  return items;
}

TEST(WriteNotationWriter, WritesOneValuePerLineWithCrLf) {
  WriteNotationWriter writer;
  writer.write_text(u"ｻﾝﾌﾟﾙ,商事");
  writer.write_number(120);
  writer.write_empty();
  writer.write_text(u"");
  writer.write_number(-5);
  EXPECT_EQ(writer.text(), QStringLiteral("\"ｻﾝﾌﾟﾙ,商事\"\r\n120\r\n\r\n\"\"\r\n-5\r\n"));
}

TEST(WriteNotationReader, ReadsBackWhatTheWriterWrote) {
  WriteNotationWriter writer;
  writer.write_text(u"  leading blanks kept inside quotes ");
  writer.write_text(u"a,b,c");
  writer.write_empty();
  writer.write_number(258);
  writer.write_text(u"");
  writer.write_text(u"ｱｲｳ ｴｵ");
  EXPECT_EQ(read_all(writer.text()),
            (QStringList{u"  leading blanks kept inside quotes "_qs, u"a,b,c"_qs, u""_qs, u"258"_qs,
                         u""_qs, u"ｱｲｳ ｴｵ"_qs}));
}

struct ReaderCase {
  const char* name;
  const char16_t* text;
  QStringList items;
};

class WriteNotationReaderTable : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(WriteNotationReaderTable, ReadsItems) {
  EXPECT_EQ(read_all(QString::fromUtf16(GetParam().text)), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WriteNotationReaderTable,
    ::testing::Values(
        ReaderCase{"LfLineEnds", u"\"a\"\n1\n\n\"b\"\n", {"a", "1", "", "b"}},
        ReaderCase{"CrLineEnds", u"\"a\"\r1\r\r\"b\"\r", {"a", "1", "", "b"}},
        ReaderCase{"MixedLineEnds", u"1\r\n2\n3\r4", {"1", "2", "3", "4"}},
        ReaderCase{"NoFinalLineEnd", u"\"x\"\r\n7", {"x", "7"}},
        ReaderCase{"LeadingBlanksSkipped", u"   \"q\"\r\n \t 12\r\n", {"q", "12"}},
        ReaderCase{"BareValueStopsAtComma", u"12,34\r\n", {"12", "34"}},
        ReaderCase{"BareValueTrailingBlanksDropped", u"abc  \r\n", {"abc"}},
        ReaderCase{"TextAfterClosingQuoteDropped", u"\"ab\"cd\r\n\"e\"\r\n", {"ab", "e"}},
        ReaderCase{"TextAfterClosingQuoteUpToComma", u"\"ab\"cd,9\r\n", {"ab", "9"}},
        ReaderCase{"UnterminatedQuoteEndsAtLineEnd", u"\"abc\r\n\"d\"\r\n", {"abc", "d"}},
        ReaderCase{"UnterminatedQuoteAtEnd", u"\"abc", {"abc"}},
        ReaderCase{"LoneQuote", u"\"", {""}},
        ReaderCase{"BlankLineIsEmptyValue", u"1\r\n   \r\n2\r\n", {"1", "", "2"}},
        ReaderCase{"TrailingLineEndsAreTheEnd", u"1\r\n\r\n\r\n", {"1"}},
        ReaderCase{"OnlyLineEnds", u"\r\n\n\r", {}}, ReaderCase{"Empty", u"", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteNotationReader, NeverReadsPastTheEnd) {
  WriteNotationReader reader(u"\"abc"_qs);
  EXPECT_EQ(reader.read_item(), u"abc"_qs);
  EXPECT_TRUE(reader.at_end());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(reader.read_item(), QString());
  EXPECT_TRUE(reader.at_end());
}

TEST(WriteNotationReader, ReadingAnyTextComesToAnEnd) {
  // Every item must move the reader on, or a loader waiting for at_end() would
  // hang on a malformed file.
  QRandomGenerator random(7);
  for (int round = 0; round < 200; ++round) {
    QString text;
    for (int i = random.bounded(60); i > 0; --i) text += QChar(u"\"\r\n, \tｱ1"[random.bounded(8)]);
    WriteNotationReader reader(text);
    qsizetype items = 0;
    while (!reader.at_end() && items <= text.size()) {
      reader.read_item();
      ++items;
    }
    EXPECT_TRUE(reader.at_end()) << text.toStdString();
  }
}

}  // namespace
}  // namespace tsubakuro
