#include "core/settings/system_settings.h"

#include <QFileInfo>

#include "core/settings/company_name.h"
#include "core/settings/settings_file.h"
#include "core/text/write_notation.h"

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

// "振込 ボディの項目[9]（預金者名）の名前": the built-in name says which field is
// meant even when the working name is the one at fault.
QString field_caption(TransferKind transfer, RecordKind record, int number, const QString& what) {
  return QStringLiteral("%1 %2の項目[%3]（%4）の%5")
      .arg(transfer_kind_word(transfer), record_kind_word(record), QString::number(number),
           QString::fromUtf16(record_layout(transfer, record)[number - 1].name), what);
}

class ItemReader {
 public:
  explicit ItemReader(QString text) : reader_(std::move(text)) {}

  // The next value, or nothing once the file has ended: the setting then keeps
  // the value it had.
  std::optional<QString> next() {
    if (reader_.at_end()) return std::nullopt;
    return reader_.read_item();
  }
  void text(QString& value) {
    if (auto item = next()) value = *item;
  }
  void flag(int& value) {
    if (auto item = next()) value = settings_flag(*item);
  }
  void integer(int& value) {
    if (auto item = next()) value = settings_integer(*item);
  }

 private:
  WriteNotationReader reader_;
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
  settings.kana_table = QString::fromUtf16(kDefaultKanaTable);
  settings.bank_rules = load_bank_rules();

  if (!QFileInfo(QString::fromLatin1(kSystemSettingsFile)).isFile()) return;
  const std::optional<QString> text = read_settings_text(QString::fromLatin1(kSystemSettingsFile));
  if (!text) return;

  ItemReader reader(*text);
  reader.text(settings.kana_table);
  reader.flag(settings.crlf_each_record);
  reader.flag(settings.credit_20digit);
  reader.flag(settings.debit_20digit);
  reader.flag(settings.debit_trailer_zero);
  reader.text(settings.current_company);
  if (auto item = reader.next())
    settings.transfer_kind =
        settings_integer(*item) == 1 ? TransferKind::Debit : TransferKind::Credit;
  if (auto item = reader.next())
    settings.record_length =
        item->isEmpty() ? std::nullopt : std::optional(settings_integer(*item));
  reader.flag(settings.debit_data_zero);
  reader.flag(settings.company_specific);
  reader.flag(settings.skip_name_check);

  QString credit_kinds;
  QString debit_kinds;
  reader.text(credit_kinds);
  reader.text(debit_kinds);
  distribute_kinds(credit_kinds, TransferKind::Credit, builtin_kinds, settings.field_kinds);
  distribute_kinds(debit_kinds, TransferKind::Debit, builtin_kinds, settings.field_kinds);
  settings.field_kinds.of(TransferKind::Debit, RecordKind::Trailer).last() =
      builtin_kinds.of(TransferKind::Debit, RecordKind::Trailer).last();

  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      for (QString& name : settings.field_names.of(transfer, record)) reader.text(name);
    }
  }
  for (int slot = 0; slot < kWindowSlotCount; ++slot) {
    reader.integer(settings.window_top[slot]);
    reader.integer(settings.window_left[slot]);
    reader.integer(settings.window_height[slot]);
    reader.integer(settings.window_width[slot]);
  }
}

QString system_settings_problem(const SystemSettings& settings) {
  QString problem =
      unstorable_text_problem(QStringLiteral("「半角ｶﾀｶﾅ変換対象文字列」"), settings.kana_table);
  if (problem.isEmpty()) problem = stored_company_name_problem(settings.current_company);
  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      const int count = static_cast<int>(record_layout(transfer, record).size());
      for (int number = 1; problem.isEmpty() && number <= count; ++number) {
        problem = unstorable_text_problem(field_caption(transfer, record, number, u"名前"_qs),
                                          settings.field_names.at(transfer, record, number));
        if (problem.isEmpty() && number <= kinds_in_file(transfer, record)) {
          problem =
              unstorable_text_problem(field_caption(transfer, record, number, u"文字種別"_qs),
                                      settings.field_kinds.at(transfer, record, number).left(1));
        }
      }
    }
  }
  return problem;
}

SaveResult save_system_settings(const SystemSettings& settings) {
  const QString problem = system_settings_problem(settings);
  if (!problem.isEmpty()) return SaveResult::failure(problem);

  WriteNotationWriter writer;
  writer.write_text(settings.kana_table);
  writer.write_number(settings.crlf_each_record);
  writer.write_number(settings.credit_20digit);
  writer.write_number(settings.debit_20digit);
  writer.write_number(settings.debit_trailer_zero);
  writer.write_text(settings.current_company);
  writer.write_number(static_cast<int>(settings.transfer_kind));
  if (settings.record_length)
    writer.write_number(*settings.record_length);
  else
    writer.write_empty();
  writer.write_number(settings.debit_data_zero);
  writer.write_number(settings.company_specific);
  writer.write_number(settings.skip_name_check);
  writer.write_text(kind_string(settings.field_kinds, TransferKind::Credit));
  writer.write_text(kind_string(settings.field_kinds, TransferKind::Debit));
  for (TransferKind transfer : kTransferKinds) {
    for (RecordKind record : kRecordKinds) {
      const int count = static_cast<int>(record_layout(transfer, record).size());
      for (int number = 1; number <= count; ++number)
        writer.write_text(settings.field_names.at(transfer, record, number));
    }
  }
  for (int slot = 0; slot < kWindowSlotCount; ++slot) {
    writer.write_number(settings.window_top[slot]);
    writer.write_number(settings.window_left[slot]);
    writer.write_number(settings.window_height[slot]);
    writer.write_number(settings.window_width[slot]);
  }
  return write_settings_file(QString::fromLatin1(kSystemSettingsFile), writer.text());
}

}  // namespace tsubakuro
