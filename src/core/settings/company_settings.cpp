#include "core/settings/company_settings.h"

#include <QFileInfo>

#include "core/settings/company_name.h"
#include "core/settings/settings_file.h"
#include "core/settings/settings_messages.h"
#include "core/zengin/record_kinds.h"

namespace tsubakuro {

namespace {

// The 70 values in the order of the file, handed to `visit`'s text, flag and
// length. The two skip_footer flags stand after the whole 振替 section, where files
// written by every earlier version keep them.
template <typename Settings, typename Visitor>
void for_each_value(Settings& settings, Visitor&& visit) {
  auto section = [&](auto& transfer) {
    visit.text(transfer.input_file);
    visit.text(transfer.output_file);
    for (auto& value : transfer.header_values) visit.text(value);
    for (auto& value : transfer.body_columns) visit.text(value);
    visit.text(transfer.skip_header_rows);
    visit.flag(transfer.enabled);
  };
  section(settings.credit);
  section(settings.debit);
  visit.flag(settings.credit.skip_footer);
  visit.flag(settings.debit.skip_footer);
  auto& options = settings.options;
  visit.text(options.kana_table);
  visit.flag(options.crlf_each_record);
  visit.flag(options.credit_20digit);
  visit.flag(options.debit_20digit);
  visit.flag(options.debit_trailer_zero);
  visit.flag(options.debit_data_zero);
  visit.length(options.record_length);
  visit.flag(options.skip_name_check);
}

void clear_section(TransferSettings& transfer) {
  transfer.input_file.clear();
  transfer.output_file.clear();
  for (QString& value : transfer.header_values) value.clear();
  for (QString& value : transfer.body_columns) value.clear();
  transfer.skip_header_rows.clear();
  transfer.enabled = false;
}

Result<void> check_section(const TransferSettings& transfer, TransferKind kind,
                           const FieldTable& field_names) {
  Result<void> checked = check_storable_text(input_file_caption(kind), transfer.input_file);
  if (checked) checked = check_storable_text(output_file_caption(kind), transfer.output_file);
  for (int i = 0; checked && i < kHeaderValueCount; ++i) {
    checked = check_storable_text(
        header_value_caption(kind, field_names.at(kind, RecordKind::Header, i + 2)),
        transfer.header_values[i]);
  }
  for (int i = 0; checked && i < kBodyColumnCount; ++i) {
    checked = check_storable_text(
        body_column_caption(kind, field_names.at(kind, RecordKind::Data, i + 2)),
        transfer.body_columns[i]);
  }
  if (checked)
    checked = check_storable_text(skip_header_rows_caption(kind), transfer.skip_header_rows);
  return checked;
}

}  // namespace

Result<LoadedCompanySettings> load_company_settings(const QString& company,
                                                    CompanySettings previous) {
  const Result<QString> file_name = company_settings_file(company);
  if (!file_name) return file_name.failure();
  if (!QFileInfo(*file_name).isFile()) return failure(missing_company_settings_message());
  const Result<QString> text = read_settings_text(*file_name);
  if (!text) return failure(unreadable_company_settings_message(*file_name));

  // skip_footer and the option copies are not cleared: a short file leaves the
  // previous company's values there.
  LoadedCompanySettings loaded{std::move(previous)};
  clear_section(loaded.settings.credit);
  clear_section(loaded.settings.debit);
  SettingsItemReader reader(*text);
  for_each_value(loaded.settings, reader);
  loaded.values_read = reader.items_read();
  return loaded;
}

Result<void> save_company_settings(const QString& company, const CompanySettings& settings) {
  const Result<QString> file_name = company_settings_file(company);
  if (!file_name) return file_name.failure();
  if (Result<void> checked = check_company_settings(settings); !checked) return checked;

  SettingsItemWriter writer;
  for_each_value(settings, writer);
  return write_settings_file(*file_name, writer.file_text());
}

int values_through_section(TransferKind kind) {
  // input_file, output_file, the header values, the body columns,
  // skip_header_rows and enabled, as for_each_value reads them.
  constexpr int kSectionValues = 2 + kHeaderValueCount + kBodyColumnCount + 2;
  return kind == TransferKind::Debit ? 2 * kSectionValues : kSectionValues;
}

Result<void> check_company_settings(const CompanySettings& settings,
                                    const FieldTable& field_names) {
  Result<void> checked = check_section(settings.credit, TransferKind::Credit, field_names);
  if (checked) checked = check_section(settings.debit, TransferKind::Debit, field_names);
  if (checked)
    checked = check_storable_text(company_kana_table_caption(), settings.options.kana_table);
  return checked;
}

}  // namespace tsubakuro
