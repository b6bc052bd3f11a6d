#include "core/zengin/bank_list.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <algorithm>

namespace tsubakuro {
namespace {

constexpr QStringView kHeaderMark = u"#zengin-code\t";
const QString kFileName = QStringLiteral("banks.tsv");

// -1 unless `text` is exactly `length` ASCII digits.
int code_number(QStringView text, qsizetype length) {
  if (text.size() != length) return -1;
  int number = 0;
  for (const QChar character : text) {
    if (character < u'0' || character > u'9') return -1;
    number = number * 10 + (character.unicode() - u'0');
  }
  return number;
}

bool all_digits(QStringView text) {
  return !text.isEmpty() &&
         std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

char16_t large_kana(char16_t c) {
  // ァィゥェォ ッ ャュョ ヮ ヵヶ: each small kana sits just below its large one,
  // except ヵ and ヶ.
  switch (c) {
    case u'ァ':
    case u'ィ':
    case u'ゥ':
    case u'ェ':
    case u'ォ':
    case u'ッ':
    case u'ャ':
    case u'ュ':
    case u'ョ':
    case u'ヮ':
      return c + 1;
    case u'ヵ':
      return u'カ';
    case u'ヶ':
      return u'ケ';
    default:
      return c;
  }
}

}  // namespace

QString bank_name_key(QStringView name) {
  const QString folded = name.toString().normalized(QString::NormalizationForm_KC);
  QString key;
  key.reserve(folded.size());
  for (const QChar character : folded) {
    char16_t c = character.unicode();
    if (c == u' ' || c == u'\u3000') continue;
    if (c >= u'ぁ' && c <= u'ゖ') c += u'ァ' - u'ぁ';
    c = large_kana(c);
    if (c == u'ー' || c == u'‐' || c == u'―' || c == u'−' || c == u'–') c = u'-';
    if (c >= u'a' && c <= u'z') c -= u'a' - u'A';
    key.append(QChar(c));
  }
  return key;
}

Result<std::shared_ptr<const BankList>> BankList::read(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return failure(QStringLiteral("銀行一覧「%1」を開けません。").arg(path));
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(file.readAll());
  Result<std::shared_ptr<const BankList>> list = parse(text);
  if (!list || utf8.hasError() || file.error() != QFileDevice::NoError)
    return failure(QStringLiteral("銀行一覧「%1」を読めません。").arg(path));
  return list;
}

// Lines that do not fit the format are passed over, so a list edited by hand
// still serves the rest; a list without any bank is refused.
Result<std::shared_ptr<const BankList>> BankList::parse(QString text) {
  auto list = std::shared_ptr<BankList>(new BankList);
  list->text_ = std::move(text);
  const QString& all = list->text_;
  list->banks_.reserve(2048);
  list->branches_.reserve(all.size() / 24);

  qsizetype start = 0;
  while (start < all.size()) {
    qsizetype end = all.indexOf(u'\n', start);
    if (end < 0) end = all.size();
    QStringView line = QStringView(all).sliced(start, end - start);
    if (line.endsWith(u'\r')) line.chop(1);
    const qsizetype line_start = start;
    start = end + 1;

    if (line.startsWith(kHeaderMark)) {
      const QList<QStringView> parts = line.sliced(kHeaderMark.size()).split(u'\t');
      list->version_ = parts.value(0).toString();
      list->date_ = QDate::fromString(parts.value(1).toString(), Qt::ISODate);
      continue;
    }
    const qsizetype first_tab = line.indexOf(u'\t');
    const qsizetype second_tab = first_tab < 0 ? -1 : line.indexOf(u'\t', first_tab + 1);
    if (second_tab < 0) continue;
    Row row;
    row.code_text = {line_start, first_tab};
    row.kana = {line_start + first_tab + 1, second_tab - first_tab - 1};
    row.name = {line_start + second_tab + 1, line.size() - second_tab - 1};
    row.kana_key = bank_name_key(line.sliced(first_tab + 1, second_tab - first_tab - 1));
    row.name_key = bank_name_key(line.sliced(second_tab + 1));
    const QStringView code = line.first(first_tab);
    if ((row.code = code_number(code, 4)) >= 0) {
      list->banks_.push_back({std::move(row), qsizetype(list->branches_.size()), 0});
    } else if ((row.code = code_number(code, 3)) >= 0 && !list->banks_.empty()) {
      list->branches_.push_back(std::move(row));
    } else {
      continue;
    }
    list->banks_.back().branch_end = qsizetype(list->branches_.size());
  }

  if (list->banks_.empty()) return failure(QStringLiteral("銀行一覧に銀行がありません。"));
  // Look-ups bisect, so the order is made sure of rather than trusted.
  const auto by_code = [](const auto& a, const auto& b) { return a.code < b.code; };
  for (BankRow& bank : list->banks_) {
    std::stable_sort(list->branches_.begin() + bank.first_branch,
                     list->branches_.begin() + bank.branch_end, by_code);
  }
  std::stable_sort(list->banks_.begin(), list->banks_.end(),
                   [](const BankRow& a, const BankRow& b) { return a.row.code < b.row.code; });
  list->bank_keys_.reserve(list->banks_.size());
  for (const BankRow& bank : list->banks_)
    list->bank_keys_.push_back(bank_name_key(list->entry(bank.row).kana));
  return std::shared_ptr<const BankList>(std::move(list));
}

QString BankList::edition() const {
  const QString source = QStringLiteral("zengin-code %1").arg(version_);
  if (!date_.isValid()) return source;
  return QStringLiteral("%1年%2月%3日版（%4）")
      .arg(date_.year())
      .arg(date_.month())
      .arg(date_.day())
      .arg(source);
}

BankListEntry BankList::entry(const Row& row) const {
  const QStringView all(text_);
  return {all.sliced(row.code_text.start, row.code_text.length),
          all.sliced(row.kana.start, row.kana.length), all.sliced(row.name.start, row.name.length),
          row.kana_key};
}

const BankList::BankRow* BankList::find_bank(QStringView code) const {
  const int number = code_number(code, 4);
  if (number < 0) return nullptr;
  const auto found =
      std::lower_bound(banks_.begin(), banks_.end(), number,
                       [](const BankRow& bank, int wanted) { return bank.row.code < wanted; });
  return found != banks_.end() && found->row.code == number ? &*found : nullptr;
}

std::optional<BankListEntry> BankList::bank(QStringView code) const {
  const BankRow* found = find_bank(code);
  if (!found) return std::nullopt;
  return entry(found->row);
}

std::optional<BankListEntry> BankList::branch(QStringView bank_code,
                                              QStringView branch_code) const {
  const BankRow* bank = find_bank(bank_code);
  const int number = code_number(branch_code, 3);
  if (!bank || number < 0) return std::nullopt;
  const auto first = branches_.begin() + bank->first_branch;
  const auto last = branches_.begin() + bank->branch_end;
  const auto found = std::lower_bound(first, last, number,
                                      [](const Row& row, int wanted) { return row.code < wanted; });
  if (found == last || found->code != number) return std::nullopt;
  return entry(*found);
}

std::optional<BankListEntry> BankList::bank_named(QStringView key) const {
  if (key.isEmpty()) return std::nullopt;
  for (std::size_t i = 0; i < banks_.size(); ++i) {
    if (bank_keys_[i] == key) return entry(banks_[i].row);
  }
  return std::nullopt;
}

std::optional<BankListEntry> BankList::branch_named(QStringView bank_code, QStringView key) const {
  const BankRow* bank = find_bank(bank_code);
  if (!bank || key.isEmpty()) return std::nullopt;
  for (qsizetype i = bank->first_branch; i < bank->branch_end; ++i) {
    const BankListEntry branch = entry(branches_[i]);
    if (bank_name_key(branch.kana) == key) return branch;
  }
  return std::nullopt;
}

bool BankList::matches(const Row& row, QStringView code_prefix, QStringView key) const {
  if (!code_prefix.isEmpty()) return entry(row).code.startsWith(code_prefix);
  if (key.isEmpty()) return true;
  return row.kana_key.startsWith(key) || row.name_key.startsWith(key);
}

namespace {

struct Query {
  QString code_prefix;
  QString key;
};

Query prepare_query(QStringView text) {
  const QString key = bank_name_key(text);
  if (all_digits(key)) return {key, {}};
  return {{}, key};
}

}  // namespace

QList<BankListEntry> BankList::find_banks(QStringView query_text, int limit) const {
  const Query query = prepare_query(query_text);
  QList<BankListEntry> found;
  for (const BankRow& bank : banks_) {
    if (limit > 0 && found.size() >= limit) break;
    if (matches(bank.row, query.code_prefix, query.key)) found.append(entry(bank.row));
  }
  return found;
}

QList<BankListEntry> BankList::find_branches(QStringView bank_code, QStringView query_text,
                                             int limit) const {
  const BankRow* bank = find_bank(bank_code);
  if (!bank) return {};
  const Query query = prepare_query(query_text);
  QList<BankListEntry> found;
  for (qsizetype i = bank->first_branch; i < bank->branch_end; ++i) {
    if (limit > 0 && found.size() >= limit) break;
    if (matches(branches_[i], query.code_prefix, query.key)) found.append(entry(branches_[i]));
  }
  return found;
}

QStringList bank_list_locations() {
  QStringList locations;
  if (QCoreApplication::instance()) {
    const QString program_dir = QCoreApplication::applicationDirPath();
    locations << program_dir + u'/' + kFileName
              << program_dir + QStringLiteral("/../share/tsubakuro/") + kFileName;
  }
  locations << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                         QStringLiteral("tsubakuro/") + kFileName);
#ifdef TSUBAKURO_SOURCE_DATA_DIR
  locations << QStringLiteral(TSUBAKURO_SOURCE_DATA_DIR "/") + kFileName;
#endif
  locations.removeDuplicates();
  return locations;
}

const Result<std::shared_ptr<const BankList>>& load_shipped_bank_list() {
  // A damaged first list is told, not passed over for an older one elsewhere.
  static const Result<std::shared_ptr<const BankList>> list =
      []() -> Result<std::shared_ptr<const BankList>> {
    const QStringList locations = bank_list_locations();
    for (const QString& location : locations) {
      if (QFile::exists(location)) return BankList::read(location);
    }
    return failure(QStringLiteral("銀行一覧「%1」が見つかりません（探した場所：%2）。")
                       .arg(kFileName, locations.join(QStringLiteral("、"))));
  }();
  return list;
}

std::shared_ptr<const BankList> shipped_bank_list() {
  const Result<std::shared_ptr<const BankList>>& list = load_shipped_bank_list();
  return list ? *list : nullptr;
}

}  // namespace tsubakuro
