#include "viewers/zengin_record_reader.h"

#include <gtest/gtest.h>

#include "result_viewer_fixture.h"
#include "test_support.h"

namespace tsubakuro {
namespace {

using testing::physical_record;
using testing::write_file;

TEST(ZenginRecordCount, RoundsHalvesToEven) {
  struct Case {
    qint64 bytes;
    int length;
    qint64 count;
  };
  const Case cases[] = {
      {0, 120, 0},    {59, 120, 0},
      {60, 120, 0},   {61, 120, 1},
      {300, 120, 2},  {420, 120, 4},
      {720, 120, 6},  {1050, 120, 9},
      {732, 122, 6},  {720, 122, 6},
      {180, 120, 2},  {540, 120, 4},
      {1290, 258, 5}, {120000000, 120, 1000000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(zengin_record_count(c.bytes, c.length), c.count)
        << c.bytes << " bytes at " << c.length;
  }
}

TEST(CutRecord, DecodesEveryPieceByItself) {
  // 預金者名 holds a double-byte character whose second byte lies in 振込金額:
  // each piece shows a replacement character, and the pieces after it keep
  // their places.
  QByteArray record = testing::credit_data_record(1);
  const QByteArray kanji = "\x93\x8C";  // 東
  record.replace(79, 2, kanji);
  const QStringList pieces =
      cut_record(record, record_layout(TransferKind::Credit, RecordKind::Data));
  ASSERT_EQ(pieces.size(), 15);
  EXPECT_EQ(pieces[8].size(), 30);
  EXPECT_EQ(pieces[8].back(), QChar(0xFFFD));
  EXPECT_EQ(pieces[9].front(), QChar(0xFFFD));
  EXPECT_EQ(pieces[9].mid(1), QStringLiteral("500000001"));
  EXPECT_EQ(pieces[10], QStringLiteral("0"));

  // A whole double-byte character inside one piece is shown as such.
  record.replace(50, 2, kanji);
  EXPECT_EQ(cut_record(record, record_layout(TransferKind::Credit, RecordKind::Data))[8].front(),
            QChar(u'東'));
}

TEST(CutRecord, ShortRecordGivesShortPieces) {
  const QStringList pieces =
      cut_record("8000003", record_layout(TransferKind::Credit, RecordKind::Trailer));
  EXPECT_EQ(pieces, QStringList({"8", "000003", "", ""}));
}

TEST(ZenginRecordReader, ReadsTheFirst120BytesOfEverySlot) {
  testing::ScopedWorkingDir dir;
  write_file("bank.dat", physical_record(testing::credit_header_record(), 130, true) +
                             physical_record(testing::end_record(), 130, true) + "9xx");
  ZenginRecordReader reader;
  ASSERT_TRUE(reader.open("bank.dat", 130));
  EXPECT_EQ(reader.record_count(), 2);

  const RecordRead second = reader.read(2);
  ASSERT_TRUE(second.ok());
  EXPECT_EQ(second.data_kind(), '9');
  EXPECT_EQ(second.bytes.size(), 120);

  EXPECT_EQ(reader.read(3).status, RecordRead::Status::PastEnd);  // 3 bytes of a slot
  EXPECT_EQ(reader.read(0).status, RecordRead::Status::Unreadable);
  EXPECT_EQ(reader.read(-5).status, RecordRead::Status::Unreadable);
  EXPECT_EQ(reader.read(std::numeric_limits<qint64>::max()).status, RecordRead::Status::PastEnd);
  // Reading on after a failed read still finds the records.
  EXPECT_EQ(reader.read(1).data_kind(), '1');

  reader.close();
  EXPECT_EQ(reader.read(1).status, RecordRead::Status::Unreadable);
}

TEST(ZenginRecordReader, RefusesWhatIsNoFile) {
  testing::ScopedWorkingDir dir;
  ZenginRecordReader reader;
  EXPECT_FALSE(reader.open("missing.dat", 120));
  EXPECT_FALSE(reader.open(".", 120));
  EXPECT_FALSE(reader.is_open());
}

}  // namespace
}  // namespace tsubakuro
