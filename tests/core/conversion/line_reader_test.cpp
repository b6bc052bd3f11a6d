#include <gtest/gtest.h>

#include <QBuffer>

#include "core/conversion/line_reader.h"

namespace tsubakuro {
namespace {

QList<QByteArray> lines_of(const QByteArray& content) {
  QByteArray data = content;
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  LineReader reader(buffer);
  QList<QByteArray> lines;
  QByteArray line;
  while (!reader.at_end()) {
    EXPECT_TRUE(reader.read_line(line));
    lines.append(line);
  }
  EXPECT_FALSE(reader.read_line(line));
  EXPECT_FALSE(reader.failed());
  return lines;
}

struct LineCase {
  const char* name;
  QByteArray content;
  QList<QByteArray> lines;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, CutTheInputIntoLines) {
  EXPECT_EQ(lines_of(GetParam().content), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, LineEnds,
                         ::testing::Values(LineCase{"empty", "", {}},
                                           LineCase{"crlf", "a\r\nb\r\n", {"a", "b"}},
                                           LineCase{"lf", "a\nb\n", {"a", "b"}},
                                           LineCase{"cr", "a\rb\r", {"a", "b"}},
                                           LineCase{"last_line_unterminated", "a\r\nb", {"a", "b"}},
                                           LineCase{"mixed", "a\nb\r\nc\rd", {"a", "b", "c", "d"}},
                                           LineCase{"lf_cr_is_two_ends", "a\n\rb", {"a", "", "b"}},
                                           LineCase{"empty_lines_count", "\r\n\r\n", {"", ""}},
                                           LineCase{"lone_terminator", "\n", {""}},
                                           LineCase{"trailing_cr", "a\r", {"a"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The reader takes the input a chunk at a time: line ends and long lines must
// come out the same wherever the chunks are cut.
TEST(LineReader, ReadsLinesAcrossChunkBoundaries) {
  const QByteArray long_line(200'000, 'x');
  const QByteArray content = long_line + "\r\n" + QByteArray(65'535 - 2, 'y') + "\r\nz";
  EXPECT_EQ(lines_of(content), (QList<QByteArray>{long_line, QByteArray(65'533, 'y'), "z"}));
  for (qsizetype cr_at : {65'534, 65'535, 65'536, 131'071}) {
    QByteArray split(cr_at, 'a');
    split += "\r\nb";
    EXPECT_EQ(lines_of(split), (QList<QByteArray>{QByteArray(cr_at, 'a'), "b"})) << cr_at;
  }
}

// One endless line must not cost its length in memory: it is dropped as read,
// comes back empty and marked, and the lines around it are untouched.
TEST(LineReader, ALineOverTheLimitIsDroppedAndMarked) {
  constexpr qsizetype kLimit = LineReader::kMaxLineBytes;
  const QByteArray at_limit(kLimit, 'k');
  for (qsizetype over : {kLimit + 1, 3 * kLimit + 17}) {
    // The CR of the long line's end lands on every side of a chunk boundary.
    QByteArray content =
        "a\r\n" + at_limit + "\r\n" + QByteArray(over, 'x') + "\r\nb\n" + QByteArray(over, 'y');
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QByteArray line;
    QList<std::pair<QByteArray, bool>> read;
    QList<qint64> sizes;
    while (reader.read_line(line)) {
      read.append({line.size() > 16 ? line.left(1) + QByteArray::number(line.size()) : line,
                   reader.too_long()});
      sizes.append(reader.line_bytes());
    }
    const QList<std::pair<QByteArray, bool>> expected = {{"a", false},
                                                         {"k" + QByteArray::number(kLimit), false},
                                                         {"", true},
                                                         {"b", false},
                                                         {"", true}};
    EXPECT_EQ(read, expected) << over;
    EXPECT_EQ(sizes, (QList<qint64>{1, kLimit, over, 1, over}));
    EXPECT_FALSE(reader.failed());
  }
}

}  // namespace
}  // namespace tsubakuro
