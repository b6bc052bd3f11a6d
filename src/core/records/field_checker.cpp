#include "core/records/field_checker.h"

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
    : allowed_(0x10000, false) {
  constexpr RecordKind kRecords[kParts] = {RecordKind::Header, RecordKind::Data,
                                           RecordKind::Trailer};
  for (int part = 0; part < kParts; ++part) {
    const QStringList& kinds = field_kinds.of(transfer, kRecords[part]);
    for (int field = 1; field < kMaxFields && field <= kinds.size(); ++field) {
      // The settings file keeps one letter per field, so only the first one counts.
      const QString& kind = kinds[field - 1];
      if (kind.startsWith(u'C'))
        kinds_[part][field] = 'C';
      else if (kind.startsWith(u'N'))
        kinds_[part][field] = 'N';
    }
  }
  for (const QChar c : std::as_const(allowed_kana)) allowed_[c.unicode()] = true;
  allowed_[u' '] = true;
}

FieldCheck FieldChecker::check_field(QStringView text, int part, int field) const {
  if (part < 1 || part > kParts || field < 1 || field >= kMaxFields) return FieldCheck::Unchecked;
  switch (kinds_[part - 1][field]) {
    case 'C':
      for (const QChar c : text) {
        if (!allowed_[c.unicode()]) return FieldCheck::Fails;
      }
      return FieldCheck::Passes;
    case 'N':
      return check_digits(text) == 0 ? FieldCheck::Passes : FieldCheck::Fails;
    default:
      return FieldCheck::Unchecked;
  }
}

QString allowed_kana(const SystemSettings& system, const CompanySettings& company) {
  return take_conversion_options(system, company).kana_table;
}

FieldCheck check_field(const SystemSettings& system, const CompanySettings& company,
                       QStringView text, int part, int field) {
  return FieldChecker(system.field_kinds, system.transfer_kind, allowed_kana(system, company))
      .check_field(text, part, field);
}

}  // namespace tsubakuro
