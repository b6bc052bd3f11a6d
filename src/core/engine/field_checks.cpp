#include "core/engine/field_checks.h"

namespace tsubakuro {

int check_characters(QStringView text, QStringView allowed) {
  for (QChar c : text) {
    if (c != u' ' && !allowed.contains(c)) return 1;
  }
  return 0;
}

int check_digits(QStringView text) {
  for (QChar c : text) {
    if (c < u'0' || c > u'9') return 1;
  }
  return 0;
}

FieldChecker::FieldChecker(const FieldTable& field_kinds, TransferKind transfer,
                           QString allowed_kana)
    : field_kinds_(field_kinds), transfer_(transfer), allowed_kana_(std::move(allowed_kana)) {}

std::optional<int> FieldChecker::check_field(QStringView text, int part, int field) const {
  RecordKind record;
  switch (part) {
    case 1:
      record = RecordKind::Header;
      break;
    case 2:
      record = RecordKind::Data;
      break;
    case 3:
      record = RecordKind::Trailer;
      break;
    default:
      return std::nullopt;
  }
  // The settings file keeps one letter per field, so only the first one counts.
  const QString kind = field_kinds_.at(transfer_, record, field).left(1);
  if (kind == u"C") return check_characters(text, allowed_kana_);
  if (kind == u"N") return check_digits(text);
  return std::nullopt;
}

QString allowed_kana(const SystemSettings& system, const CompanySettings& company) {
  return take_conversion_options(system, company).kana_table;
}

std::optional<int> check_field(const SystemSettings& system, const CompanySettings& company,
                               QStringView text, int part, int field) {
  return FieldChecker(system.field_kinds, system.transfer_kind, allowed_kana(system, company))
      .check_field(text, part, field);
}

}  // namespace tsubakuro
