#include "core/zengin/zengin_record_reader.h"

#include <gtest/gtest.h>
#include <QRandomGenerator>

#include "gui/viewers/result_data_model.h"
#include "gui/viewers/result_view_layout.h"
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

TEST(ZenginRecordReader, ALengthItDoesNotWriteCountsAs120) {
  testing::ScopedWorkingDir dir;
  testing::write_file("out.dat", QByteArray(240, '9'));
  for (int length : {0, -5, 125}) {
    ZenginRecordReader reader;
    ASSERT_TRUE(reader.open("out.dat", length));
    EXPECT_EQ(reader.record_length(), 120);
    EXPECT_EQ(reader.record_count(), 2);
    EXPECT_EQ(reader.read(2).bytes.size(), 120);
  }
}

TEST(ZenginRecordReader, RefusesWhatIsNoFile) {
  testing::ScopedWorkingDir dir;
  ZenginRecordReader reader;
  EXPECT_FALSE(reader.open("missing.dat", 120));
  EXPECT_FALSE(reader.open(".", 120));
  EXPECT_FALSE(reader.is_open());
}

TEST(ZenginRecordReader, AnyBytesReadAndCutWithoutHarm) {
  // Random files, mostly made of slots that begin with a data-kind code, read
  // at every length: every record the count promises is read or found past the
  // end, every piece stays within its field, and the data grid's model shows any
  // row it is asked for.
  testing::ScopedWorkingDir dir;
  QRandomGenerator random(20261207);
  const int lengths[] = {120, 122, 128, 130, 256, 258};
  const char kinds[] = {'1', '2', '8', '9', '\r', '\x81'};
  for (int round = 0; round < 100; ++round) {
    QByteArray bytes(random.bounded(0, 2600), '\0');
    for (char& byte : bytes) byte = static_cast<char>(random.bounded(256));
    for (qsizetype at = 0; at < bytes.size(); at += 120) bytes[at] = kinds[random.bounded(6)];
    write_file("any.dat", bytes);
    const int length = lengths[random.bounded(6)];
    ZenginRecordReader reader;
    ASSERT_TRUE(reader.open("any.dat", length));
    const qint64 count = reader.record_count();
    EXPECT_LE(count * length, bytes.size() + length / 2);
    for (qint64 n = 1; n <= count + 1; ++n) {
      const RecordRead read = reader.read(n);
      const bool inside = (n - 1) * length + 120 <= bytes.size();
      ASSERT_EQ(read.ok(), inside) << n;
      if (!inside) continue;
      EXPECT_EQ(read.bytes, bytes.mid((n - 1) * length, 120));
      for (TransferKind transfer : {TransferKind::Credit, TransferKind::Debit}) {
        for (RecordKind record :
             {RecordKind::Header, RecordKind::Data, RecordKind::Trailer, RecordKind::End}) {
          const auto layout = record_layout(transfer, record);
          const QStringList pieces = cut_record(read.bytes, layout);
          ASSERT_EQ(pieces.size(), static_cast<qsizetype>(layout.size()));
          for (qsizetype i = 0; i < pieces.size(); ++i)
            EXPECT_LE(pieces[i].size(), layout[i].width);
        }
      }
    }
    ResultDataModel model(reader, TransferKind::Credit, round % 2 == 0, QStringList(15));
    model.show_through_record(count);
    for (int row = 0; row < model.rowCount(); ++row) {
      model.headerData(row, Qt::Vertical);
      for (int column = 0; column < model.columnCount(); ++column) model.index(row, column).data();
    }
  }
}

}  // namespace
}  // namespace tsubakuro
