// Decodes any bytes as CP932, and checks that what was read can be written back
// byte for byte as wide as the field fitting counts it.
#include "core/text/cp932.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(data, static_cast<qsizetype>(size));
  const QString text = tsubakuro::decode_cp932(bytes);
  require(text.size() <= bytes.size(), "no byte becomes more than one character");

  const tsubakuro::Cp932Encoding encoded = tsubakuro::encode_cp932(text);
  if (text.contains(QChar(0xFFFD))) return 0;  // U+FFFD has no CP932 form
  require(encoded.complete, "every decoded character encodes again");
  require(tsubakuro::decode_cp932(encoded.bytes) == text, "encoding then decoding is lossless");
  qsizetype counted = 0;
  for (const QChar character : text) counted += tsubakuro::cp932_byte_count(character);
  require(counted == encoded.bytes.size(), "cp932_byte_count agrees with the encoder");
  return 0;
}
