#include "core/zengin/zengin_record_reader.h"

#include <gtest/gtest.h>
#include <QBuffer>

namespace tsubakuro {
namespace {

// A header, two data records, a trailer and the end record, as a bank file
// holds them: digits where the records' kinds and codes stand, so that a wrong
// length would meet digits at shifted offsets too.
QList<QByteArray> logical_records() {
  const auto record = [](const QByteArray& start) {
    return start + QByteArray(120 - start.size(), ' ');
  };
  return {record("1910000000001ｶﾌﾞｼｷｶﾞｲｼｬ"), record("200012223334444555666777888999"),
          record("282345678901234567890"), record("8000002000000012345"), record("9")};
}

// Each record cut or padded to its slot, as the program writes it: with CR LF
// the slot's last two bytes are the line end.
QByteArray bank_file(int length, bool crlf, QByteArrayView line_end = "\r\n") {
  QByteArray file;
  for (const QByteArray& logical : logical_records()) {
    const qsizetype body = crlf ? length - line_end.size() : length;
    QByteArray slot = logical.left(body);
    slot.append(body - slot.size(), ' ');
    if (crlf) slot.append(line_end);
    file += slot;
  }
  return file;
}

Result<DetectedRecordLength> detect(QByteArray bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return detect_record_length(buffer);
}

TEST(DetectRecordLength, FindsEveryLengthAndLineEndTheProgramWrites) {
  for (const int length : kRecordLengths) {
    for (const bool crlf : {false, true}) {
      SCOPED_TRACE(testing::Message() << length << (crlf ? " with CR LF" : " without line ends"));
      const Result<DetectedRecordLength> detected = detect(bank_file(length, crlf));
      ASSERT_TRUE(detected.ok()) << detected.message().toStdString();
      EXPECT_EQ(detected->record_length, length);
      EXPECT_EQ(detected->crlf, crlf);
      EXPECT_TRUE(detected->unambiguous);
      // A file whose last line end went missing still rounds to its records.
      if (crlf) {
        EXPECT_EQ(detect(bank_file(length, crlf).chopped(2))->record_length, length);
      }
    }
  }
}

TEST(DetectRecordLength, RefusesFilesThatFitNoLength) {
  QByteArray no_header = bank_file(120, false);
  no_header[0] = '2';
  QByteArray no_end = bank_file(120, false);
  no_end[480] = '8';
  QByteArray stray_second = bank_file(122, true);
  stray_second[122] = '7';
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"empty", {}},
      {"a header and an end only",
       bank_file(120, false).first(120) + bank_file(120, false).last(120)},
      {"no header first", no_header},
      {"no end record last", no_end},
      {"a second record of no data or trailer kind", stray_second},
      {"records of 124 bytes", bank_file(124, false)},
      {"120 bytes ended by LF", bank_file(121, true, "\n")},
      {"120 bytes and one more at each record's end", bank_file(121, false)},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(detect(c.bytes).ok()) << c.name;
  }
}

TEST(DetectRecordLength, TakesTheShortestAndSaysSoWhenALongerLengthFitsToo) {
  // Sixteen records of 120 bytes also read as fifteen of 128 when byte 128 holds
  // a data record's kind and byte 1792 (in the trailer) an end record's.
  QList<QByteArray> records = logical_records();
  const QByteArray data = records[1];
  while (records.size() < 16) records.insert(1, data);
  QByteArray file = records.join();
  file[128] = '2';
  file[1792] = '9';
  const Result<DetectedRecordLength> detected = detect(file);
  ASSERT_TRUE(detected.ok());
  EXPECT_EQ(detected->record_length, 120);
  EXPECT_FALSE(detected->unambiguous);
}

}  // namespace
}  // namespace tsubakuro
