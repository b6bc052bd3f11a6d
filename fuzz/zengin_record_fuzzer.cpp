// Reads any bytes as a bank file, as the result viewer does, under any stored
// record length: every record inside the file reads as its 120 bytes, the rest
// read as past the end, and every record cuts into exactly its layout's fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <limits>

#include "core/zengin/zengin_record_reader.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

namespace {

tsubakuro::RecordKind record_kind_of(char data_kind) {
  switch (data_kind) {
    case '1':
      return tsubakuro::RecordKind::Header;
    case '8':
      return tsubakuro::RecordKind::Trailer;
    case '9':
      return tsubakuro::RecordKind::End;
    default:
      return tsubakuro::RecordKind::Data;
  }
}

void check_cut(QByteArrayView record, tsubakuro::TransferKind transfer) {
  const auto layout =
      tsubakuro::record_layout(transfer, record_kind_of(record.isEmpty() ? '2' : record.front()));
  const QStringList pieces = tsubakuro::cut_record(record, layout);
  require(pieces.size() == static_cast<qsizetype>(layout.size()), "one piece per field");
  for (qsizetype i = 0; i < pieces.size(); ++i)
    require(pieces[i].size() <= layout[i].width, "no piece is wider than its field");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tsubakuro::fuzz::enter_scratch_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int stored_length = input.ConsumeIntegral<int>();
  const auto transfer =
      input.ConsumeBool() ? tsubakuro::TransferKind::Debit : tsubakuro::TransferKind::Credit;
  const std::string rest = input.ConsumeRemainingBytesAsString();
  const QByteArray file(rest.data(), static_cast<qsizetype>(rest.size()));
  const QString name = QStringLiteral("FURIKOMI.DAT");
  tsubakuro::fuzz::write_whole_file(name, reinterpret_cast<const uint8_t*>(file.constData()),
                                    static_cast<size_t>(file.size()));

  // The viewer reads with the length a conversion would write.
  const int length = tsubakuro::effective_record_length(stored_length);
  tsubakuro::ZenginRecordReader reader;
  require(reader.open(name, length).ok(), "an existing file opens");
  const qint64 count = reader.record_count();
  require(count >= 0 && std::abs(count * length - file.size()) * 2 <= length,
          "the count is the size over the length, rounded");

  for (qint64 number = 1; number <= count + 1; ++number) {
    const tsubakuro::RecordRead read = reader.read(number);
    const qint64 offset = (number - 1) * length;
    if (offset + tsubakuro::kLogicalRecordLength <= file.size()) {
      require(read.ok(), "a record inside the file reads");
      require(read.bytes == file.sliced(offset, tsubakuro::kLogicalRecordLength),
              "a record is the 120 bytes at its place");
      check_cut(read.bytes, transfer);
    } else {
      require(read.status == tsubakuro::RecordRead::Status::PastEnd && read.bytes.isEmpty(),
              "a record beyond the file reads as past the end");
      if (offset < file.size()) check_cut(file.sliced(offset), transfer);
    }
  }
  require(reader.read(0).status == tsubakuro::RecordRead::Status::Unreadable, "record 0");
  require(reader.read(std::numeric_limits<qint64>::max()).status ==
              tsubakuro::RecordRead::Status::PastEnd,
          "the last possible record number");
  return 0;
}
