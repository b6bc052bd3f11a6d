#include "cli/command_line.h"

#include <QCommandLineParser>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

#include "core/text/result.h"
#include "core/zengin/bank_list.h"
#include "core/zengin/transfer_date.h"

namespace tsubakuro::cli {

namespace {

// Full-width digits, slashes and letters typed with a Japanese input method
// become their ASCII forms, so "０４０５" and "４／５" work as well.
QString normalized(const QString& text) {
  return text.normalized(QString::NormalizationForm_KC).trimmed();
}

std::optional<TransferKind> parse_kind(const QString& text) {
  const QString kind = normalized(text);
  if (kind == transfer_kind_word(TransferKind::Credit)) return TransferKind::Credit;
  if (kind == transfer_kind_word(TransferKind::Debit)) return TransferKind::Debit;
  return std::nullopt;
}

std::optional<bool> parse_switch(const QString& text) {
  const QString value = normalized(text).toLower();
  if (value == QLatin1String("on")) return true;
  if (value == QLatin1String("off")) return false;
  return std::nullopt;
}

Result<> set_switch(const QString& option, const QString& value, std::optional<bool>& rule) {
  rule = parse_switch(value);
  if (!rule)
    return failure(QStringLiteral("%1 には on か off を指定してください（指定された値: %2）。")
                       .arg(option, value));
  return {};
}

// Takes one value of an option, spelled `option` as given ("--kind"), into what
// the user asked for; a flag's value is empty.
using ApplyOption = Result<> (*)(const QString& option, const QString& value,
                                 ParsedCommandLine& parsed);

struct OptionSpec {
  const char* name;        // given as --name
  const char* short_name;  // given as -x; nullptr when there is none
  const char* value_name;  // nullptr for a flag
  // One help line per line of text, under one another.
  const char* description;
  ApplyOption apply;
};

// Every option the program takes, in the order --help lists them: the parser,
// the checks of the values and the help text all read this table.
const OptionSpec kOptions[] = {
    {"dir", nullptr, "フォルダ",
     "このフォルダで作業します（省略時は現在のフォルダ）。\n"
     "tbk.ini、会社名.cfg、会社名.log はこのフォルダにあり、\n"
     "設定の入力・出力ファイル名もここからの相対パスです。",
     [](const QString&, const QString& value, ParsedCommandLine& parsed) -> Result<> {
       if (value.isEmpty()) return failure(QStringLiteral("--dir にフォルダを指定してください。"));
       parsed.request.directory = value;
       return {};
     }},
    {"company", nullptr, "会社名",
     "変換する会社（省略時は tbk.ini で選ばれている会社）。\n"
     "設定は「会社名.cfg」から読みます。",
     [](const QString&, const QString& value, ParsedCommandLine& parsed) -> Result<> {
       parsed.request.company = value;
       return {};
     }},
    {"kind", nullptr, "振込|振替",
     "振込か振替か（省略時は tbk.ini で選ばれている種別）。\n"
     "環境設定で「使用する」にチェックのない種別は変換しません。",
     [](const QString&, const QString& value, ParsedCommandLine& parsed) -> Result<> {
       parsed.request.kind = parse_kind(value);
       if (!parsed.request.kind)
         return failure(
             QStringLiteral("--kind には 振込 か 振替 を指定してください（指定された値: %1）。")
                 .arg(value));
       return {};
     }},
    {"date", nullptr, "月日",
     "振込指定日・振替指定日。0405、4/5、4-5、4月5日 の形で\n"
     "指定します。指定すると会社名.cfg に保存してから変換します\n"
     "（変換処理の日付入力と同じです）。省略時は保存済みの日付。",
     [](const QString&, const QString& value, ParsedCommandLine& parsed) -> Result<> {
       parsed.request.transfer_date = parse_transfer_date(value);
       if (!parsed.request.transfer_date)
         return failure(QStringLiteral("--date には月日を MMDD（例 0405）か 月/日（例 4/5）で"
                                       "指定してください（指定された値: %1）。")
                            .arg(value));
       return {};
     }},
    {"check-characters", nullptr, "on|off",
     "名前の欄（会社名・銀行名・支店名・預金者名）が全銀協の使用可能\n"
     "文字だけかを確認します（省略時は tsubakuro.ini の設定）。",
     [](const QString& option, const QString& value, ParsedCommandLine& parsed) {
       return set_switch(option, value, parsed.request.check_characters);
     }},
    {"normalize-names", nullptr, "on|off",
     "名前の欄の全角カナ・ひらがな・小書きのカナ・小文字などを\n"
     "全銀協の文字に直します（省略時は tsubakuro.ini の設定）。",
     [](const QString& option, const QString& value, ParsedCommandLine& parsed) {
       return set_switch(option, value, parsed.request.normalize_names);
     }},
    {"check-codes", nullptr, "on|off",
     "銀行・支店コードを銀行一覧で確認し、空の銀行名・支店名を\n"
     "補います（省略時は tsubakuro.ini の設定）。",
     [](const QString& option, const QString& value, ParsedCommandLine& parsed) {
       return set_switch(option, value, parsed.request.check_codes);
     }},
    // Reading back the results of a 振替 file.
    {"results", nullptr, "銀行ファイル",
     "変換の代わりに、銀行から返された振替ファイルの振替結果を読み、\n"
     "振替済・振替不能の件数と金額を理由別に表示します。\n"
     "会社を指定しなくても読めます（--company は --failed-csv の列にだけ使います）。",
     [](const QString& option, const QString& value, ParsedCommandLine& parsed) -> Result<> {
       if (value.isEmpty())
         return failure(QStringLiteral("%1 に銀行ファイルを指定してください。").arg(option));
       parsed.results.bank_file = value;
       return {};
     }},
    {"failed-csv", nullptr, "CSVファイル",
     "--results と一緒に指定し、振替不能のレコードを Shift-JIS の\n"
     "CSV に書き出します。--company の会社の振替の列に並べるので、\n"
     "翌月の支払一覧としてそのまま変換できます。会社を指定しない\n"
     "ときは 引落銀行番号…振替結果 の決まった列で書きます。",
     [](const QString& option, const QString& value, ParsedCommandLine& parsed) -> Result<> {
       if (value.isEmpty())
         return failure(QStringLiteral("%1 に書き出すファイルを指定してください。").arg(option));
       parsed.results.failed_csv = value;
       return {};
     }},
    // The transfer list (振込・振替一覧表).
    {"list-pdf", nullptr, "PDF", "変換した銀行ファイルの振込・振替一覧表を PDF に書きます。",
     [](const QString& option, const QString& value, ParsedCommandLine& parsed) -> Result<> {
       if (value.isEmpty())
         return failure(QStringLiteral("%1 に PDF のファイル名を指定してください。").arg(option));
       parsed.request.list_pdf = value;
       return {};
     }},
    {"print-list", nullptr, "PDF 銀行ファイル",
     "変換はせず、銀行ファイルの振込・振替一覧表を PDF に書きます。\n"
     "終了コードは、0 が書けた、1 が合計件数・合計金額がトレーラ\n"
     "レコードと一致しない、2 が銀行ファイルを読めない・PDF を書けない。",
     [](const QString& option, const QString& value, ParsedCommandLine& parsed) -> Result<> {
       if (value.isEmpty())
         return failure(QStringLiteral("%1 に PDF のファイル名を指定してください。").arg(option));
       parsed.print_list = PrintListRequest{value, QString()};
       return {};
     }},
    {"help", "h", nullptr, "この説明を表示します。",
     [](const QString&, const QString&, ParsedCommandLine& parsed) -> Result<> {
       parsed.show_help = true;
       return {};
     }},
    {"version", nullptr, nullptr, "版と、使っている銀行一覧の日付を表示します。",
     [](const QString&, const QString&, ParsedCommandLine& parsed) -> Result<> {
       parsed.show_version = true;
       return {};
     }},
};

const OptionSpec* find_option(const QString& name) {
  for (const OptionSpec& spec : kOptions) {
    if (name == QLatin1String(spec.name) ||
        (spec.short_name && name == QLatin1String(spec.short_name)))
      return &spec;
  }
  return nullptr;
}

QString spelled(const OptionSpec& spec) { return QStringLiteral("--") + QLatin1String(spec.name); }

// "--kind 振込|振替", as the usage and the option list show an option.
QString synopsis(const OptionSpec& spec) {
  if (!spec.value_name) return spelled(spec);
  return spelled(spec) + u' ' + QString::fromUtf8(spec.value_name);
}

void add_options(QCommandLineParser& parser) {
  for (const OptionSpec& spec : kOptions) {
    QStringList names = {QLatin1String(spec.name)};
    if (spec.short_name) names.prepend(QLatin1String(spec.short_name));
    parser.addOption(
        QCommandLineOption(names, QString::fromUtf8(spec.description),
                           spec.value_name ? QString::fromUtf8(spec.value_name) : QString()));
  }
}

// The parser's own messages are in English; the user is told in the program's
// words what it refused.
QString parser_refusal(const QCommandLineParser& parser, const QStringList& arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) {
    QString option = QStringLiteral("--") + unknown.first();
    // The parser reads "-dir" letter by letter; the user is shown what they typed.
    if (unknown.first().size() == 1) {
      const auto typed = std::find_if(arguments.begin(), arguments.end(), [&](const QString& a) {
        return a.startsWith(u'-') && !a.startsWith(QLatin1String("--")) &&
               a.mid(1).contains(unknown.first());
      });
      option = typed != arguments.end() ? *typed : u'-' + unknown.first();
    }
    return QStringLiteral("不明なオプションです: %1").arg(option);
  }
  // An option's value is taken from the next argument whatever it says, so a
  // missing one can only be that of the last argument.
  const QString& last = arguments.last();
  const OptionSpec* spec =
      last.startsWith(QLatin1String("--")) ? find_option(last.mid(2)) : nullptr;
  if (spec && spec->value_name) return QStringLiteral("%1 の後に値を指定してください。").arg(last);
  // Otherwise a flag was given a value, as in "--help=all".
  for (const QString& argument : arguments) {
    const QString name = argument.section(u'=', 0, 0);
    spec = name.startsWith(QLatin1String("--")) ? find_option(name.mid(2)) : nullptr;
    if (spec && !spec->value_name && argument.contains(u'='))
      return QStringLiteral("%1 に値は指定できません。").arg(name);
  }
  return QStringLiteral("引数を使えません（%1）。").arg(parser.errorText());
}

QString usage_hint() {
  return QStringLiteral("使い方は tsubakuro-convert --help で表示できます。");
}

// Columns a text takes on a terminal: the option names are ASCII, the value
// names and the headings full-width Japanese.
int columns(QStringView text) {
  int count = 0;
  for (const QChar c : text) count += c.unicode() < 0x80 ? 1 : 2;
  return count;
}

QString usage_lines() {
  constexpr int kWidth = 100;
  const QString start = QStringLiteral("使い方: tsubakuro-convert");
  const QString indent(columns(start), u' ');
  QString usage = start;
  int line_columns = columns(start);
  for (const OptionSpec& spec : kOptions) {
    if (!spec.value_name) continue;  // --help and --version stand alone
    const QString item = u'[' + synopsis(spec) + u']';
    if (line_columns + 1 + columns(item) > kWidth) {
      usage += u'\n' + indent + item;
      line_columns = indent.size() + columns(item);
    } else {
      usage += u' ' + item;
      line_columns += 1 + columns(item);
    }
  }
  return usage + u'\n';
}

QString option_lines() {
  constexpr int kDescriptionColumn = 21;
  const QString indent(kDescriptionColumn, u' ');
  QString lines;
  for (const OptionSpec& spec : kOptions) {
    const QString head = QStringLiteral("  ") + synopsis(spec);
    const int head_columns = columns(head);
    // Two blanks at least between an option and its description.
    if (head_columns + 2 <= kDescriptionColumn)
      lines += head + QString(kDescriptionColumn - head_columns, u' ');
    else
      lines += head + u'\n' + indent;
    lines += QString::fromUtf8(spec.description).replace(u'\n', u'\n' + indent) + u'\n';
  }
  return lines;
}

// Reading results converts nothing: an option that shapes a conversion would do
// nothing with it, and is refused rather than left unused.
Result<> check_results_request(const ParsedCommandLine& parsed) {
  const ConvertRequest& request = parsed.request;
  if (!parsed.results.bank_file) {
    if (parsed.results.failed_csv)
      return failure(QStringLiteral("--failed-csv は --results と一緒に指定してください。"));
    return {};
  }
  const std::pair<bool, const char*> unused[] = {
      {request.kind.has_value(), "--kind"},
      {request.transfer_date.has_value(), "--date"},
      {request.check_characters.has_value(), "--check-characters"},
      {request.normalize_names.has_value(), "--normalize-names"},
      {request.check_codes.has_value(), "--check-codes"},
  };
  for (const auto& [given, name] : unused) {
    if (given)
      return failure(
          QStringLiteral("--results と %1 は一緒に指定できません。").arg(QLatin1String(name)));
  }
  return {};
}

}  // namespace

std::optional<TransferDate> parse_transfer_date(const QString& text) {
  const QString date = normalized(text);
  static const QRegularExpression kDigits(QStringLiteral("^(\\d{2})(\\d{2})$"));
  static const QRegularExpression kMonthAndDay(
      QStringLiteral("^(\\d{1,2})\\s*(?:/|-|\\.|月)\\s*(\\d{1,2})\\s*日?$"));
  for (const QRegularExpression* form : {&kDigits, &kMonthAndDay}) {
    const QRegularExpressionMatch match = form->match(date);
    if (match.hasMatch()) return TransferDate::typed(match.capturedView(1), match.capturedView(2));
  }
  return std::nullopt;
}

ParsedCommandLine parse_command_line(const QStringList& arguments) {
  ParsedCommandLine parsed;
  const auto fail = [&parsed](const QString& message) {
    parsed.error = message + QLatin1Char('\n') + usage_hint();
    return parsed;
  };

  QCommandLineParser parser;
  add_options(parser);
  if (!parser.parse(QStringList{QStringLiteral("tsubakuro-convert")} + arguments))
    return fail(parser_refusal(parser, arguments));

  // A bare "--" ends the options for the parser; the program has no use for it
  // and refuses it as any unknown option. Every "--" is either an option's
  // value, an argument after the first one, or that first one.
  const auto dash_dash = QStringLiteral("--");
  qsizetype separators = arguments.count(dash_dash) - parser.positionalArguments().count(dash_dash);
  for (const OptionSpec& spec : kOptions)
    separators -= parser.values(QLatin1String(spec.name)).count(dash_dash);
  if (separators > 0) return fail(QStringLiteral("不明なオプションです: --"));

  // --print-list takes the bank file after its PDF; nothing else takes an argument.
  QStringList positional = parser.positionalArguments();
  QString bank_file;
  if (parser.isSet(QStringLiteral("print-list")) && !positional.isEmpty() &&
      !positional.first().startsWith(u'-'))
    bank_file = positional.takeFirst();
  if (!positional.isEmpty()) {
    const QString& extra = positional.first();
    // "-" alone reaches the parser's arguments; it is no option here either.
    if (extra.startsWith(u'-')) return fail(QStringLiteral("不明なオプションです: %1").arg(extra));
    return fail(QStringLiteral("余分な引数があります: %1").arg(extra));
  }

  // In the order given, each value checked, so the first wrong one is named
  // and a repeated option's last value stands.
  QHash<const OptionSpec*, qsizetype> seen;
  for (const QString& name : parser.optionNames()) {
    const OptionSpec* spec = find_option(name);
    const qsizetype occurrence = seen[spec]++;
    const QString value =
        spec->value_name ? parser.values(QLatin1String(spec->name)).value(occurrence) : QString();
    if (const Result<> applied = spec->apply(spelled(*spec), value, parsed); !applied)
      return fail(applied.message());
  }
  if (const Result<> results = check_results_request(parsed); !results)
    return fail(results.message());
  if (parsed.print_list) {
    if (bank_file.isEmpty())
      return fail(QStringLiteral("--print-list の PDF の後に銀行ファイルを指定してください。"));
    parsed.print_list->bank_file = bank_file;
  }
  return parsed;
}

QString help_text() {
  return usage_lines() +
         QStringLiteral(
             "\n"
             "支払一覧（カンマ区切りの Shift-JIS テキスト）を全銀協規定フォーマットの\n"
             "振込・振替ファイルに変換します。デスクトップ版ツバクロの「変換処理」と同じ\n"
             "設定ファイルを読み、同じ出力ファイルとエラーログを書きます。\n"
             "\n") +
         option_lines() +
         QStringLiteral(
             "\n"
             "変換中は Ctrl+C で中止できます。出力ファイルは変更されず、前のファイルが残ります。\n"
             "変換が始まっていれば、エラーログには中止までの記録と「★★キャンセル★★」を書きます。\n"
             "もう一度 Ctrl+C を押すとその場で終了し、エラーログも前のままです。\n"
             "端末で大きなファイルを変換するときは、標準エラーに進み具合を表示します。\n"
             "\n"
             "終了コード:\n"
             "  0    変換が終了しました（エラーなし）。\n"
             "  1    変換は終了しましたが、変換エラーがあります（会社名.log を見てください）。\n"
             "  2    変換できませんでした（引数の誤り、会社別CFGファイルがない、入力ファイルが\n"
             "       ない、使用しない種別、ファイルを開けない・書けない、tsubakuro.ini が\n"
             "       読めない、確認に要る銀行一覧がない など）。\n"
             "  130  Ctrl+C で変換を中止しました。\n") +
         QStringLiteral(
             "\n"
             "--results を指定したときの終了コード:\n"
             "  0    すべてのレコードが振替済です。\n"
             "  1    振替不能のレコードがあるか、トレーラの件数・金額がレコードと合いません。\n"
             "  2    ファイルを読めませんでした（振替結果のない振替ファイル、振込のファイル、\n"
             "       CSV を書けない場合を含みます）。\n");
}

QString version_text() {
  // Where the list was looked for, or which file would not read, is what a
  // user needs to put it right.
  const Result<std::shared_ptr<const BankList>>& banks = load_shipped_bank_list();
  return QStringLiteral("tsubakuro-convert %1\n銀行一覧: %2")
      .arg(QStringLiteral(TSUBAKURO_VERSION), banks ? (*banks)->edition() : banks.message());
}

}  // namespace tsubakuro::cli
