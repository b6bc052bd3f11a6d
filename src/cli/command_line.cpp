#include "cli/command_line.h"

#include <QRegularExpression>

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

QString usage_hint() {
  return QStringLiteral("使い方は tsubakuro-convert --help で表示できます。");
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

  for (qsizetype i = 0; i < arguments.size(); ++i) {
    QString option = arguments[i];
    std::optional<QString> value;
    // "--dir=DIR" as well as "--dir DIR".
    if (option.startsWith(QLatin1String("--")) && option.contains(QLatin1Char('='))) {
      value = option.section(QLatin1Char('='), 1);
      option = option.section(QLatin1Char('='), 0, 0);
    }
    if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
      parsed.show_help = true;
      continue;
    }
    if (option == QLatin1String("--version")) {
      parsed.show_version = true;
      continue;
    }
    const bool takes_value =
        option == QLatin1String("--dir") || option == QLatin1String("--company") ||
        option == QLatin1String("--kind") || option == QLatin1String("--date") ||
        option == QLatin1String("--check-characters") ||
        option == QLatin1String("--normalize-names") || option == QLatin1String("--check-codes");
    if (!takes_value) {
      if (option.startsWith(QLatin1Char('-')))
        return fail(QStringLiteral("不明なオプションです: %1").arg(option));
      return fail(QStringLiteral("余分な引数があります: %1").arg(option));
    }
    if (!value) {
      if (i + 1 >= arguments.size())
        return fail(QStringLiteral("%1 の後に値を指定してください。").arg(option));
      value = arguments[++i];
    }

    if (option == QLatin1String("--dir")) {
      if (value->isEmpty()) return fail(QStringLiteral("--dir にフォルダを指定してください。"));
      parsed.request.directory = *value;
    } else if (option == QLatin1String("--company")) {
      parsed.request.company = *value;
    } else if (option == QLatin1String("--kind")) {
      parsed.request.kind = parse_kind(*value);
      if (!parsed.request.kind)
        return fail(
            QStringLiteral("--kind には 振込 か 振替 を指定してください（指定された値: %1）。")
                .arg(*value));
    } else if (option == QLatin1String("--check-characters") ||
               option == QLatin1String("--normalize-names") ||
               option == QLatin1String("--check-codes")) {
      const std::optional<bool> on = parse_switch(*value);
      if (!on)
        return fail(QStringLiteral("%1 には on か off を指定してください（指定された値: %2）。")
                        .arg(option, *value));
      if (option == QLatin1String("--check-characters"))
        parsed.request.check_characters = on;
      else if (option == QLatin1String("--normalize-names"))
        parsed.request.normalize_names = on;
      else
        parsed.request.check_codes = on;
    } else {
      parsed.request.transfer_date = parse_transfer_date(*value);
      if (!parsed.request.transfer_date)
        return fail(QStringLiteral("--date には月日を MMDD（例 0405）か 月/日（例 4/5）で"
                                   "指定してください（指定された値: %1）。")
                        .arg(*value));
    }
  }
  return parsed;
}

QString help_text() {
  return QStringLiteral(
      "使い方: tsubakuro-convert [--dir フォルダ] [--company 会社名] [--kind 振込|振替] "
      "[--date 月日]\n"
      "                         [--check-characters on|off] [--normalize-names on|off]\n"
      "                         [--check-codes on|off]\n"
      "\n"
      "支払一覧（カンマ区切りの Shift-JIS テキスト）を全銀協規定フォーマットの\n"
      "振込・振替ファイルに変換します。デスクトップ版ツバクロの「変換処理」と同じ\n"
      "設定ファイルを読み、同じ出力ファイルとエラーログを書きます。\n"
      "\n"
      "  --dir フォルダ     このフォルダで作業します（省略時は現在のフォルダ）。\n"
      "                     tbk.ini、会社名.cfg、会社名.log はこのフォルダにあり、\n"
      "                     設定の入力・出力ファイル名もここからの相対パスです。\n"
      "  --company 会社名   変換する会社（省略時は tbk.ini で選ばれている会社）。\n"
      "                     設定は「会社名.cfg」から読みます。\n"
      "  --kind 振込|振替   振込か振替か（省略時は tbk.ini で選ばれている種別）。\n"
      "                     環境設定で「使用する」にチェックのない種別は変換しません。\n"
      "  --date 月日        振込指定日・振替指定日。0405、4/5、4-5、4月5日 の形で\n"
      "                     指定します。指定すると会社名.cfg に保存してから変換します\n"
      "                     （変換処理の日付入力と同じです）。省略時は保存済みの日付。\n"
      "  --check-characters on|off\n"
      "                     名前の欄（会社名・銀行名・支店名・預金者名）が全銀協の使用可能\n"
      "                     文字だけかを確認します（省略時は tsubakuro.ini の設定）。\n"
      "  --normalize-names on|off\n"
      "                     名前の欄の全角カナ・ひらがな・小書きのカナ・小文字などを\n"
      "                     全銀協の文字に直します（省略時は tsubakuro.ini の設定）。\n"
      "  --check-codes on|off\n"
      "                     銀行・支店コードを銀行一覧で確認し、空の銀行名・支店名を\n"
      "                     補います（省略時は tsubakuro.ini の設定）。\n"
      "  --help             この説明を表示します。\n"
      "  --version          版と、使っている銀行一覧の日付を表示します。\n"
      "\n"
      "変換中は Ctrl+C で中止できます（出力ファイルはそれまでのレコードだけになります）。\n"
      "端末で大きなファイルを変換するときは、標準エラーに進み具合を表示します。\n"
      "\n"
      "終了コード:\n"
      "  0    変換が終了しました（エラーなし）。\n"
      "  1    変換は終了しましたが、変換エラーがあります（会社名.log を見てください）。\n"
      "  2    変換できませんでした（引数の誤り、会社別CFGファイルがない、入力ファイルが\n"
      "       ない、使用しない種別、ファイルを開けない・書けない など）。\n"
      "  130  Ctrl+C で変換を中止しました。\n");
}

QString version_text() {
  const auto banks = shipped_bank_list();
  return QStringLiteral("tsubakuro-convert %1\n銀行一覧: %2")
      .arg(QStringLiteral(TSUBAKURO_VERSION),
           banks ? banks->edition() : QStringLiteral("見つかりません"));
}

}  // namespace tsubakuro::cli
