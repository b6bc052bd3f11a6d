#include "core/settings/bank_rules_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <optional>

#include "core/files/save_file.h"
#include "core/settings/settings_messages.h"
#include "core/settings/system_settings.h"

namespace tsubakuro {
namespace {

constexpr QStringView kGroup = u"bank_rules";

// One row per rule: its key in the group and its place in BankRules.
struct RuleKey {
  QStringView key;
  bool BankRules::*flag;
};

constexpr RuleKey kRuleKeys[] = {
    {u"check_characters", &BankRules::check_characters},
    {u"normalize_names", &BankRules::normalize_names},
    {u"check_codes", &BankRules::check_codes},
};

// A settings file is a few lines; a stray huge file is no settings file.
constexpr qint64 kMaxFileBytes = 1 << 20;

QString settings_path() { return QString::fromLatin1(kProgramSettingsFile); }

const RuleKey* rule_named(QStringView key) {
  for (const RuleKey& rule : kRuleKeys) {
    if (key.compare(rule.key, Qt::CaseInsensitive) == 0) return &rule;
  }
  return nullptr;
}

// The spellings of a yes-or-no that people write in INI files; anything else is a
// mistake to be told, not a rule to be dropped.
std::optional<bool> flag_value(QStringView value) {
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
    value = value.sliced(1, value.size() - 2).trimmed();
  for (const QStringView yes : {u"true", u"on", u"yes", u"1"}) {
    if (value.compare(yes, Qt::CaseInsensitive) == 0) return true;
  }
  for (const QStringView no : {u"false", u"off", u"no", u"0"}) {
    if (value.compare(no, Qt::CaseInsensitive) == 0) return false;
  }
  return std::nullopt;
}

// The file's lines, or why they cannot be read. Nothing when the file is missing.
Result<std::optional<QStringList>> read_lines(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists() && !info.isSymLink()) return std::optional<QStringList>();
  if (info.isDir()) return failure(unreadable_program_settings_message(path, u"フォルダです"));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return failure(unreadable_program_settings_message(path, info.exists() && !info.isReadable()
                                                                 ? u"読み取りが許可されていません"
                                                                 : u"開けません"));
  }
  const QByteArray bytes = file.read(kMaxFileBytes + 1);
  if (file.error() != QFileDevice::NoError)
    return failure(unreadable_program_settings_message(path, u"読み込めません"));
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(bytes);
  if (bytes.size() > kMaxFileBytes || bytes.contains('\0') || utf8.hasError())
    return failure(unreadable_program_settings_message(path, u"テキストではありません"));
  QStringList lines = text.split(u'\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QString& line : lines) {
    if (line.endsWith(u'\r')) line.chop(1);
  }
  return std::optional<QStringList>(std::move(lines));
}

// How each line of the file reads: a group, a key and its value, or nothing.
struct IniLine {
  std::optional<QString> group;  // a group header
  QString key;                   // empty on a blank line, a comment or a header
  QString value;
};

Result<IniLine> read_ini_line(const QString& path, int number, QStringView line) {
  const QStringView text = line.trimmed();
  if (text.isEmpty() || text.startsWith(u';') || text.startsWith(u'#')) return IniLine{};
  if (text.startsWith(u'[') && text.endsWith(u']'))
    return IniLine{text.sliced(1, text.size() - 2).trimmed().toString(), {}, {}};
  const qsizetype equals = text.indexOf(u'=');
  if (equals <= 0) return failure(program_settings_line_message(path, number, text.toString()));
  return IniLine{std::nullopt, text.first(equals).trimmed().toString(),
                 text.sliced(equals + 1).trimmed().toString()};
}

QString rule_line(const RuleKey& rule, const BankRules& rules) {
  return rule.key.toString() + u'=' +
         (rules.*rule.flag ? QStringLiteral("true") : QStringLiteral("false"));
}

}  // namespace

BankRules BankRules::all_on() {
  BankRules rules;
  for (const RuleKey& rule : kRuleKeys) rules.*rule.flag = true;
  return rules;
}

Result<BankRules> load_bank_rules() {
  const QString path = settings_path();
  const Result<std::optional<QStringList>> lines = read_lines(path);
  if (!lines) return lines.failure();
  BankRules rules;
  if (!*lines) return rules;
  QString group;
  int number = 0;
  for (const QString& line : **lines) {
    const Result<IniLine> read = read_ini_line(path, ++number, line);
    if (!read) return read.failure();
    if (read->group) group = *read->group;
    if (read->key.isEmpty() || group.compare(kGroup, Qt::CaseInsensitive) != 0) continue;
    // Keys of rules this program does not know belong to a later one, and stay.
    const RuleKey* rule = rule_named(read->key);
    if (!rule) continue;
    const std::optional<bool> value = flag_value(read->value);
    if (!value)
      return failure(
          program_settings_value_message(path, kGroup.toString(), read->key, read->value));
    rules.*rule->flag = *value;
  }
  return rules;
}

Result<void> save_bank_rules(const BankRules& rules) {
  const QString path = settings_path();
  // A file that cannot be read has nothing to keep: it is written anew, which is
  // how the user mends it.
  const Result<std::optional<QStringList>> read = read_lines(path);
  QStringList lines = read && *read ? **read : QStringList();
  bool written[std::size(kRuleKeys)] = {};
  QString group;
  qsizetype group_end = -1;  // where the group's missing rules go
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const Result<IniLine> line = read_ini_line(path, int(i + 1), lines[i]);
    if (!line) continue;
    if (line->group) group = *line->group;
    if (group.compare(kGroup, Qt::CaseInsensitive) != 0) continue;
    if (line->key.isEmpty() && !line->group) continue;
    group_end = i + 1;
    if (const RuleKey* rule = rule_named(line->key)) {
      lines[i] = rule_line(*rule, rules);
      written[rule - kRuleKeys] = true;
    }
  }
  if (group_end < 0) {
    lines.append(u'[' + kGroup.toString() + u']');
    group_end = lines.size();
  }
  for (qsizetype r = std::size(kRuleKeys) - 1; r >= 0; --r) {
    if (!written[r]) lines.insert(group_end, rule_line(kRuleKeys[r], rules));
  }
  const Result<void> saved = save_file(path, (lines.join(u'\n') + u'\n').toUtf8());
  if (saved) return {};
  return failure(unwritable_program_settings_message(path));
}

void prepare_program_settings_on_first_start() {
  if (QFileInfo::exists(QString::fromLatin1(kSystemSettingsFile)) ||
      QFileInfo::exists(settings_path()))
    return;
  // Nothing to tell the user if it fails: the rules then stay off, as before.
  (void)save_bank_rules(BankRules::all_on());
}

}  // namespace tsubakuro
