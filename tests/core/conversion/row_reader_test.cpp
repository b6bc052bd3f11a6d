#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>

#include "core/conversion/row_reader.h"

namespace tsubakuro {
namespace {

struct ReadRow {
  QByteArray bytes;
  bool unclosed = false;
  bool operator==(const ReadRow&) const = default;
};

void PrintTo(const ReadRow& row, std::ostream* os) {
  *os << (row.bytes.size() > 40
              ? row.bytes.left(20).toStdString() + "...(" + std::to_string(row.bytes.size()) + ")"
              : row.bytes.toStdString())
      << (row.unclosed ? " unclosed" : "");
}

QList<ReadRow> rows_of(const QByteArray& content) {
  QByteArray data = content;
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  RowReader reader(buffer);
  QList<ReadRow> rows;
  QByteArray row;
  while (!reader.at_end()) {
    EXPECT_TRUE(reader.read_row(row));
    EXPECT_FALSE(reader.too_long());
    EXPECT_EQ(reader.row_bytes(), row.size());
    rows.append({row, reader.unclosed()});
  }
  EXPECT_FALSE(reader.read_row(row));
  EXPECT_FALSE(reader.failed());
  return rows;
}

struct RowCase {
  const char* name;
  QByteArray content;
  QList<ReadRow> rows;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class QuotedLines : public ::testing::TestWithParam<RowCase> {};

TEST_P(QuotedLines, JoinOnlyWhereAQuotedFieldHoldsTheBreak) {
  EXPECT_EQ(rows_of(GetParam().content), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuotedLines,
    ::testing::Values(
        RowCase{"no_quotes", "a,b\r\nc\nd\re", {{"a,b"}, {"c"}, {"d"}, {"e"}}},
        RowCase{"closed_on_its_line", "\"a,b\",\"c\"\"\"\r\nd", {{"\"a,b\",\"c\"\"\""}, {"d"}}},
        RowCase{"crlf_in_quotes", "a,\"b\r\nc\",d\r\ne", {{"a,\"b\r\nc\",d"}, {"e"}}},
        RowCase{"lf_in_quotes", "a,\"b\nc\",d\ne", {{"a,\"b\nc\",d"}, {"e"}}},
        RowCase{"cr_in_quotes", "a,\"b\rc\",d\re", {{"a,\"b\rc\",d"}, {"e"}}},
        RowCase{"several_breaks_and_empty_lines",
                "\"a\r\n\r\n\nb\",c\r\nd",
                {{"\"a\r\n\r\n\nb\",c"}, {"d"}}},
        RowCase{
            "doubled_quote_before_the_break", "\"a\"\"\r\nb\"\r\nc", {{"\"a\"\"\r\nb\""}, {"c"}}},
        // A quote at a line's end closes its field: the next line's quote opens
        // another row's field, not an escape.
        RowCase{"quote_ends_the_line", "\"a\"\r\n\"b\"", {{"\"a\""}, {"\"b\""}}},
        RowCase{"quote_inside_an_unquoted_field", "a\"b,c\r\nd\"", {{"a\"b,c"}, {"d\""}}},
        RowCase{
            "unclosed_to_the_end", "1,\"a\r\n2,b\r\n3,c\r\n", {{"1,\"a", true}, {"2,b"}, {"3,c"}}},
        RowCase{"closed_two_lines_below",
                "1,\"a\r\n2,b\r\n3,\"c\r\nd\"",
                {{"1,\"a\r\n2,b\r\n3,\"c"}, {"d\""}}},
        RowCase{"every_row_unclosed",
                "x\",\"\r\nx\",\"\r\nx\",\"",
                {{"x\",\"", true}, {"x\",\"", true}, {"x\",\"", true}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The closing quote is looked for within a row of the line reader's limit, no
// further: a quote closed past it leaves the lines below to be rows of their own.
TEST(RowReader, LooksForTheClosingQuoteWithinTheRowLimit) {
  constexpr qsizetype kLimit = LineReader::kMaxLineBytes;
  const QByteArray within(kLimit - 6, 'w');
  EXPECT_EQ(rows_of("a,\"\r\n" + within + "\"\r\nb"),
            (QList<ReadRow>{{"a,\"\r\n" + within + "\""}, {"b"}}));
  const QByteArray past(kLimit - 3, 'p');
  EXPECT_EQ(rows_of("a,\"\r\n" + past + "\"\r\nb"),
            (QList<ReadRow>{{"a,\"", true}, {past + "\""}, {"b"}}));
}

// Rows that each open a quote no later line closes look ahead as far as the limit;
// the lines looked past are not looked at again for every row below.
TEST(RowReader, StrayQuotesCostTheirLinesOnce) {
  QByteArray content;
  const int kLines = 400'000;
  for (int i = 0; i < kLines; ++i) content += "x\",\"\r\n";
  QElapsedTimer timer;
  timer.start();
  const QList<ReadRow> rows = rows_of(content);
  EXPECT_LT(timer.elapsed(), 20'000);
  ASSERT_EQ(rows.size(), kLines);
  EXPECT_TRUE(std::ranges::all_of(rows, [](const ReadRow& row) { return row.unclosed; }));
}

}  // namespace
}  // namespace tsubakuro
