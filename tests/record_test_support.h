#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <initializer_list>

#include "core/records/field_checker.h"
#include "core/settings/conversion_options.h"
#include "core/zengin/field_dictionary.h"

namespace tsubakuro::testing {

// The built-in kinds and the default kana set, as a run starts with them.
class BuiltinChecker {
 public:
  explicit BuiltinChecker(TransferKind transfer);
  const FieldChecker& operator*() const { return checker_; }

 private:
  FieldTable kinds_;
  FieldChecker checker_;
};

ConversionOptions default_options();

// Joins hand-written fields and encodes them as the file holds them.
QByteArray record_of(std::initializer_list<QString> fields);

}  // namespace tsubakuro::testing
