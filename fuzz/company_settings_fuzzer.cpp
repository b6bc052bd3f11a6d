// Loads any bytes as a company's .cfg. Whatever was read, saving it and loading
// it again must give the same settings: a file must not drift each time it is saved.
#include "core/settings/company_settings.h"
#include "fuzz_support.h"

using tsubakuro::fuzz::require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tsubakuro::fuzz::enter_scratch_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString company = QStringLiteral("会社");
  tsubakuro::fuzz::write_whole_file(QStringLiteral("会社.cfg"), data, size);
  const tsubakuro::Result<tsubakuro::LoadedCompanySettings> read =
      tsubakuro::load_company_settings(company);
  require(read.ok(), "an existing file loads");
  const tsubakuro::CompanySettings& loaded = read->settings;

  const tsubakuro::Result<void> saved = tsubakuro::save_company_settings(company, loaded);
  if (!saved.ok()) {
    require(!saved.message().isEmpty(), "a refused save says why");
    require(tsubakuro::fuzz::read_whole_file(QStringLiteral("会社.cfg")) ==
                QByteArrayView(data, static_cast<qsizetype>(size)),
            "a refused save leaves the file as it was");
    return 0;
  }
  const tsubakuro::Result<tsubakuro::LoadedCompanySettings> reloaded =
      tsubakuro::load_company_settings(company);
  require(reloaded.ok(), "a saved file loads");
  require(reloaded->settings == loaded, "a saved file reads back as it was saved");
  return 0;
}
