#include "core/settings/system_settings.h"

#include <QFileInfo>

#include "core/settings/company_name.h"
#include "core/settings/settings_file.h"
#include "core/settings/settings_messages.h"
#include "core/zengin/record_layout.h"

namespace tsubakuro {

namespace {

constexpr TransferKind kTransferKinds[] = {TransferKind::Credit, TransferKind::Debit};
constexpr RecordKind kRecordKinds[] = {RecordKind::Header, RecordKind::Data, RecordKind::Trailer,
                                       RecordKind::End};

// How many fields of a record the kind string of the file holds: all of them,
// except the eighth 振替 trailer field (未使用), which never had a position and
// always keeps the dictionary's kind.
int kinds_in_file(TransferKind transfer, RecordKind record) {
  const int count = static_cast<int>(record_layout(transfer, record).size());
  return transfer == TransferKind::Debit && record == RecordKind::Trailer ? count - 1 : count;
}

// Gives every list of a table the dictionary's length, so that a table that was
// never filled, or filled wrongly, can neither be read nor written out of range.
void ensure_shape(FieldTable& table, const FieldTable& builtin) {
  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      QStringList& list = table.of(transfer, record);
      if (list.size() != builtin.of(transfer, record).size()) list = builtin.of(transfer, record);
    }
  }
}

// A kind the string does not reach (a file cut short) is the built-in one: a
// blank there would turn the field's check off without anyone having chosen it.
void distribute_kinds(const QString& kinds, TransferKind transfer, const FieldTable& builtin,
                      FieldTable& field_kinds) {
  qsizetype position = 0;
  for (RecordKind record : kRecordKinds) {
    QStringList& list = field_kinds.of(transfer, record);
    for (int i = 0; i < kinds_in_file(transfer, record); ++i, ++position)
      list[i] = position < kinds.size() ? kinds.mid(position, 1) : builtin.of(transfer, record)[i];
  }
}

QString kind_string(const FieldTable& field_kinds, TransferKind transfer) {
  QString kinds;
  for (RecordKind record : kRecordKinds) {
    for (int number = 1; number <= kinds_in_file(transfer, record); ++number) {
      const QString kind = field_kinds.at(transfer, record, number);
      kinds += kind.isEmpty() ? QChar(u' ') : kind[0];
    }
  }
  return kinds;
}

// The values in the order of "tbk.ini", handed to `visit` (see SettingsItemReader).
// The kinds travel as one string per transfer kind; the field names and window
// places follow in table order.
template <typename Settings, typename Visitor>
void for_each_value(Settings& settings, Visitor&& visit) {
  auto& options = settings.options;
  visit.text(options.kana_table);
  visit.flag(options.crlf_each_record);
  visit.flag(options.credit_20digit);
  visit.flag(options.debit_20digit);
  visit.flag(options.debit_trailer_zero);
  visit.text(settings.current_company);
  visit.transfer_kind(settings.transfer_kind);
  visit.length(options.record_length);
  visit.flag(options.debit_data_zero);
  visit.flag(settings.company_specific);
  visit.flag(options.skip_name_check);
  for (TransferKind transfer : kTransferKinds) visit.kinds(settings.field_kinds, transfer);
  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      const int count = static_cast<int>(record_layout(transfer, record).size());
      for (int number = 1; number <= count; ++number)
        visit.field_name(settings.field_names, transfer, record, number);
    }
  }
  for (int slot = 0; slot < kWindowSlotCount; ++slot) {
    visit.integer(settings.window_top[slot]);
    visit.integer(settings.window_left[slot]);
    visit.integer(settings.window_height[slot]);
    visit.integer(settings.window_width[slot]);
  }
}

// What "tbk.ini" holds beyond the values every settings file has.
class SystemItemReader : public SettingsItemReader {
 public:
  SystemItemReader(const QString& text, const FieldTable& builtin_kinds)
      : SettingsItemReader(text), builtin_kinds_(builtin_kinds) {}

  void transfer_kind(TransferKind& kind) {
    if (auto item = next())
      kind = settings_integer(*item) == 1 ? TransferKind::Debit : TransferKind::Credit;
  }
  void kinds(FieldTable& field_kinds, TransferKind transfer) {
    distribute_kinds(next().value_or(QString()), transfer, builtin_kinds_, field_kinds);
  }
  // The table has the dictionary's shape (ensure_shape) before the file is read.
  void field_name(FieldTable& names, TransferKind transfer, RecordKind record, int number) {
    text(names.of(transfer, record)[number - 1]);
  }

 private:
  const FieldTable& builtin_kinds_;
};

class SystemItemWriter : public SettingsItemWriter {
 public:
  void transfer_kind(TransferKind kind) { integer(static_cast<int>(kind)); }
  void kinds(const FieldTable& field_kinds, TransferKind transfer) {
    text(kind_string(field_kinds, transfer));
  }
  void field_name(const FieldTable& names, TransferKind transfer, RecordKind record, int number) {
    text(names.at(transfer, record, number));
  }
};

}  // namespace

void init_field_dictionary(SystemSettings& settings) {
  settings.field_names = builtin_field_names();
  settings.field_kinds = builtin_field_kinds();
}

void load_system_settings(SystemSettings& settings) {
  const FieldTable builtin_kinds = builtin_field_kinds();
  ensure_shape(settings.field_names, builtin_field_names());
  ensure_shape(settings.field_kinds, builtin_kinds);
  settings.current_company.clear();
  settings.transfer_kind = TransferKind::Credit;
  settings.window_top.fill(0);
  settings.window_left.fill(0);
  settings.window_height.fill(0);
  settings.window_width.fill(0);
  settings.options.kana_table = QString::fromUtf16(kDefaultKanaTable);
  const Result<BankRules> rules = load_bank_rules();
  settings.bank_rules = rules.value_or(BankRules{});
  settings.bank_rules_read = rules ? Result<void>() : Result<void>(rules.failure());

  if (!QFileInfo(QString::fromLatin1(kSystemSettingsFile)).isFile()) return;
  const Result<QString> text = read_settings_text(QString::fromLatin1(kSystemSettingsFile));
  if (!text) return;

  SystemItemReader reader(*text, builtin_kinds);
  for_each_value(settings, reader);
  settings.field_kinds.of(TransferKind::Debit, RecordKind::Trailer).last() =
      builtin_kinds.of(TransferKind::Debit, RecordKind::Trailer).last();
}

Result<void> check_system_settings(const SystemSettings& settings) {
  Result<void> checked =
      check_storable_text(system_kana_table_caption(), settings.options.kana_table);
  if (checked) checked = check_stored_company_name(settings.current_company);
  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      const int count = static_cast<int>(record_layout(transfer, record).size());
      for (int number = 1; checked && number <= count; ++number) {
        checked = check_storable_text(field_name_caption(transfer, record, number),
                                      settings.field_names.at(transfer, record, number));
        if (checked && number <= kinds_in_file(transfer, record)) {
          checked = check_storable_text(field_kind_caption(transfer, record, number),
                                        settings.field_kinds.at(transfer, record, number).left(1));
        }
      }
    }
  }
  return checked;
}

Result<void> save_system_settings(const SystemSettings& settings) {
  if (Result<void> checked = check_system_settings(settings); !checked) return checked;

  SystemItemWriter writer;
  for_each_value(settings, writer);
  return write_settings_file(QString::fromLatin1(kSystemSettingsFile), writer.file_text());
}

}  // namespace tsubakuro
