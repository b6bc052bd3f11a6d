// Loads any bytes as "tbk.ini". Whatever was read, a save must read back to the
// same file: the program writes tbk.ini at every exit and must not drift.
#include "core/settings/system_settings.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

namespace {

tsubakuro::SystemSettings load_fresh() {
  tsubakuro::SystemSettings settings;
  tsubakuro::init_field_dictionary(settings);
  tsubakuro::load_system_settings(settings);
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tsubakuro::fuzz::enter_scratch_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString file_name = QString::fromLatin1(tsubakuro::kSystemSettingsFile);
  tsubakuro::fuzz::write_whole_file(file_name, data, size);
  const tsubakuro::SystemSettings loaded = load_fresh();

  const tsubakuro::Result<void> saved = tsubakuro::save_system_settings(loaded);
  if (!saved.ok()) {
    require(!saved.message().isEmpty(), "a refused save says why");
    const tsubakuro::Result<void> checked = tsubakuro::check_system_settings(loaded);
    require(!checked.ok() && checked.message() == saved.message(),
            "the dialogs are warned of what the save refuses");
    return 0;
  }
  const QByteArray first = tsubakuro::fuzz::read_whole_file(file_name);
  require(tsubakuro::save_system_settings(load_fresh()).ok(), "a saved file saves again");
  require(tsubakuro::fuzz::read_whole_file(file_name) == first,
          "a saved file reads back as it was saved");
  return 0;
}
