#include "record_test_support.h"

#include "core/settings/system_settings.h"
#include "core/text/cp932.h"

namespace tsubakuro::testing {

BuiltinChecker::BuiltinChecker(TransferKind transfer)
    : kinds_(builtin_field_kinds()),
      checker_(kinds_, transfer, QString::fromUtf16(kDefaultKanaTable)) {}

ConversionOptions default_options() {
  ConversionOptions options;
  options.kana_table = QString::fromUtf16(kDefaultKanaTable);
  options.record_length = 120;
  return options;
}

QByteArray record_of(std::initializer_list<QString> fields) {
  QString text;
  for (const QString& field : fields) text += field;
  return encode_cp932(text).bytes;
}

}  // namespace tsubakuro::testing
