// Reads any bytes as a company's error log, as the log viewer does: the entries
// must come to an end, and none may hold a line end.
#include "core/log/log_entry_reader.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tsubakuro::fuzz::enter_scratch_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString name = QStringLiteral("会社.log");
  tsubakuro::fuzz::write_whole_file(name, data, size);
  tsubakuro::LogEntryReader reader(name);
  require(reader.open().ok(), "an existing log opens");
  size_t entries = 0;
  while (!reader.at_end()) {
    const QString entry = reader.read_entry();
    require(!entry.contains(u'\r') && !entry.contains(u'\n'), "an entry stays on its line");
    require(++entries <= size + 1, "every entry consumes the log");
  }
  require(reader.read_entry().isEmpty(), "reading past the end gives nothing");
  return 0;
}
