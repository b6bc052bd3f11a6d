// Reads any decoded text item by item as the settings loaders do: it must come to
// an end, and a text read must read back the same once written.
#include <QStringList>

#include "core/text/cp932.h"
#include "core/text/write_notation.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = tsubakuro::decode_cp932(QByteArrayView(data, static_cast<qsizetype>(size)));
  tsubakuro::WriteNotationReader reader(text);
  QStringList items;
  while (!reader.at_end()) {
    items.append(reader.read_item());
    require(items.size() <= text.size(), "every item consumes text");
  }
  require(reader.read_item().isEmpty(), "reading past the end gives nothing");

  tsubakuro::WriteNotationWriter writer;
  QStringList storable;
  for (const QString& item : items) {
    require(!item.contains(u'\r') && !item.contains(u'\n'), "an item stays on its line");
    if (item.contains(u'"')) continue;  // the notation cannot store a quote
    writer.write_text(item);
    storable.append(item);
  }
  tsubakuro::WriteNotationReader again(writer.text());
  for (const QString& item : storable)
    require(!again.at_end() && again.read_item() == item, "a written text reads back");
  require(again.at_end(), "nothing more was written");
  return 0;
}
