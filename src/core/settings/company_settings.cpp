#include "core/settings/company_settings.h"

#include <QFileInfo>

#include "core/settings/company_name.h"
#include "core/settings/settings_file.h"
#include "core/zengin/record_layout.h"

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

QString section_problem(const TransferSettings& transfer, TransferKind kind,
                        const FieldTable& field_names) {
  const QString word = transfer_kind_word(kind);
  auto caption = [&word](const QString& group, const QString& name) {
    return QStringLiteral("%1の%2「%3」").arg(word, group, name);
  };
  QString problem =
      unstorable_text_problem(caption(u"ﾌｧｲﾙ設定"_qs, u"入力ﾌｧｲﾙ"_qs), transfer.input_file);
  if (problem.isEmpty())
    problem =
        unstorable_text_problem(caption(u"ﾌｧｲﾙ設定"_qs, u"出力ﾌｧｲﾙ"_qs), transfer.output_file);
  for (int i = 0; problem.isEmpty() && i < kHeaderValueCount; ++i) {
    problem = unstorable_text_problem(
        caption(u"ﾍｯﾀﾞｰ情報"_qs, field_names.at(kind, RecordKind::Header, i + 2)),
        transfer.header_values[i]);
  }
  for (int i = 0; problem.isEmpty() && i < kBodyColumnCount; ++i) {
    problem = unstorable_text_problem(
        caption(u"ﾎﾞﾃﾞｨ情報"_qs, field_names.at(kind, RecordKind::Data, i + 2)),
        transfer.body_columns[i]);
  }
  if (problem.isEmpty())
    problem = unstorable_text_problem(caption(u"読み飛し"_qs, u"ﾍｯﾀﾞｰ行数"_qs),
                                      transfer.skip_header_rows);
  return problem;
}

}  // namespace

bool load_company_settings(const QString& company, CompanySettings& settings, Notifier& notifier,
                           int* values_read) {
  if (values_read != nullptr) *values_read = 0;
  const QString error_title = QStringLiteral("エラー");
  const std::optional<QString> file_name = company_settings_file(company);
  if (!file_name) {
    notifier.show_notice(error_title, company_name_problem(company));
    return false;
  }
  if (!QFileInfo(*file_name).isFile()) {
    notifier.show_notice(error_title, QStringLiteral("会社別CFGファイルが存在しません"));
    return false;
  }
  const std::optional<QString> text = read_settings_text(*file_name);
  if (!text) {
    notifier.show_notice(
        error_title, QStringLiteral("会社別CFGファイル「%1」を読み込めません。").arg(*file_name));
    return false;
  }

  // skip_footer and the option copies are not cleared: a short file leaves the
  // previous company's values there.
  clear_section(settings.credit);
  clear_section(settings.debit);
  SettingsItemReader reader(*text);
  for_each_value(settings, reader);
  if (values_read != nullptr) *values_read = reader.items_read();
  return true;
}

SaveResult save_company_settings(const QString& company, const CompanySettings& settings) {
  const std::optional<QString> file_name = company_settings_file(company);
  if (!file_name) return SaveResult::failure(company_name_problem(company));
  const QString problem = company_settings_problem(settings);
  if (!problem.isEmpty()) return SaveResult::failure(problem);

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

QString company_settings_problem(const CompanySettings& settings, const FieldTable& field_names) {
  QString problem = section_problem(settings.credit, TransferKind::Credit, field_names);
  if (problem.isEmpty())
    problem = section_problem(settings.debit, TransferKind::Debit, field_names);
  if (problem.isEmpty())
    problem = unstorable_text_problem(QStringLiteral("共通の「半角ｶﾀｶﾅ変換対象文字列」"),
                                      settings.options.kana_table);
  return problem;
}

}  // namespace tsubakuro
