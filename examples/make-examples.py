#!/usr/bin/env python3
"""Writes the sample company of ツバクロ into this folder, as the program reads it.

Every file is Shift-JIS (code page 932) with CR LF line ends:
  tbk.ini            the system settings, with サンプル商事 selected for 振込
  tsubakuro.ini      the program's own settings (UTF-8, LF): all three of the
                     banks' rules on, as a first start in an empty folder writes them
  サンプル商事.cfg    the company settings, both transfer kinds enabled
  振込データ.csv      a payment list for credit transfers (salaries and suppliers)
  振替データ.csv      a payment list for direct debits, ending in a total row

Two rows of 振込データ.csv are wrong on purpose, so that a conversion of the
sample shows how field errors are logged: row 12 holds a name in full-width
characters and row 20 a 預金種目 of 3, which no 振込 takes.

Run it again after changing the data below; the files are committed as written.
"""

from pathlib import Path

HERE = Path(__file__).resolve().parent
COMPANY = "サンプル商事"
KANA_TABLE = "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝﾞﾟｧｨｩｪｫｬｭｮｯ"
RECORD_LENGTH = 122  # 120 characters and CR LF: one record per line
TRANSFER_DATE = "0425"


def text(value):
    return f'"{value}"'


def number(value):
    return str(value)


def write_lines(name, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp932")
    (HERE / name).write_bytes(data)


# --- field dictionary: the working names and kinds tbk.ini carries ------------

HEADER = [("データ区分", "N"), ("種別コード", "N"), ("コード区分", "N"), ("会社コード", "N"),
          ("会社名", "C"), ("振込指定日", "N"), ("取引銀行番号", "N"), ("取引銀行名", "C"),
          ("取引支店番号", "N"), ("取引支店名", "C"), ("預金種目", "N"), ("口座番号", "N"),
          ("未使用", "C")]
CREDIT_DATA = [("データ区分", "N"), ("振込銀行番号", "N"), ("振込銀行名", "C"),
               ("振込支店番号", "N"), ("振込支店名", "C"), ("手形交換所番号", "N"),
               ("預金種目", "N"), ("口座番号", "N"), ("預金者名", "C"), ("振込金額", "N"),
               ("新規コード", "N"), ("振込取引先番号", "N"), ("その他分類", "N"),
               ("振込指定区分", "C"), ("未使用", "C")]
DEBIT_DATA = [("データ区分", "N"), ("引落銀行番号", "N"), ("引落銀行名", "C"),
              ("引落支店番号", "N"), ("引落支店名", "C"), ("手形交換所番号", "N"),
              ("預金種目", "N"), ("口座番号", "N"), ("預金者名", "C"), ("引落金額", "N"),
              ("新規コード", "N"), ("引落取引先番号", "N"), ("その他分類", "N"),
              ("振替結果コード", "N"), ("未使用", "C")]
CREDIT_TRAILER = [("データ区分", "N"), ("合計件数", "N"), ("合計金額", "N"), ("未使用", "C")]
DEBIT_TRAILER = [("データ区分", "N"), ("合計件数", "N"), ("合計金額", "N"),
                 ("振替返済済件数", "N"), ("振替済金額", "N"), ("振替不能件数", "N"),
                 ("振替不能金額", "N"), ("未使用", "C")]
END = [("データ区分", "N"), ("未使用", "C")]

CREDIT_FIELDS = [HEADER, CREDIT_DATA, CREDIT_TRAILER, END]
DEBIT_FIELDS = [[(name.replace("振込指定日", "振替指定日"), kind) for name, kind in HEADER],
                DEBIT_DATA, DEBIT_TRAILER, END]


def kind_string(parts, trailer_count):
    header, data, trailer, end = parts
    fields = header + data + trailer[:trailer_count] + end
    return "".join(kind for _, kind in fields)


def system_settings():
    # Every window opens at the screen's top-left corner, as on a first start; the
    # main window gets a size of its own (twips).
    geometry = [[0, 0, 0, 0] for _ in range(12)]
    geometry[0] = [0, 0, 9000, 12000]
    lines = [
        text(KANA_TABLE),
        number(1),  # crlf_each_record
        number(0),  # credit_20digit
        number(0),  # debit_20digit
        number(0),  # debit_trailer_zero
        text(COMPANY),
        number(0),  # transfer_kind: 振込
        number(RECORD_LENGTH),
        number(0),  # debit_data_zero
        number(0),  # company_specific
        number(0),  # skip_name_check
        text(kind_string(CREDIT_FIELDS, 4)),
        text(kind_string(DEBIT_FIELDS, 7)),
    ]
    for parts in (CREDIT_FIELDS, DEBIT_FIELDS):
        for part in parts:
            lines += [text(name) for name, _ in part]
    for slot in geometry:
        lines += [number(value) for value in slot]
    assert len(lines) == 133
    return lines


# --- the company ---------------------------------------------------------------

# Real banks and branches, with the kana the bank list (data/banks.tsv) gives
# them, so the sample converts clean with the code check on; none holds a "-",
# which the kana table below does not take.
BANK = ("0001", "ﾐｽﾞﾎ", "001", "ﾄｳｷﾖｳ", "1", "1234567")


def header_values(kind_code, company_code):
    bank_code, bank_name, branch_code, branch_name, deposit_kind, account = BANK
    return [kind_code, "0", company_code, "ｻﾝﾌﾟﾙｼｮｳｼﾞ", TRANSFER_DATE, bank_code, bank_name,
            branch_code, branch_name, deposit_kind, account, ""]


# Input columns of both payment lists: 1 銀行コード, 2 銀行名, 3 支店コード,
# 4 支店名, 5 預金種目, 6 口座番号, 7 名義, 8 金額, 9 取引先番号 / 顧客番号,
# 10 摘要 (not converted).
BODY_COLUMNS = ["1", "2", "3", "4", "", "5", "6", "7", "8", "", "9", "", "", ""]


def section(input_file, output_file, kind_code, company_code):
    return ([text(input_file), text(output_file)]
            + [text(value) for value in header_values(kind_code, company_code)]
            + [text(value) for value in BODY_COLUMNS]
            + [text("1"),  # skip_header_rows
               number(1)])  # enabled


def company_settings():
    lines = (section("振込データ.csv", "FURIKOMI.DAT", "21", "1234567890")
             + section("振替データ.csv", "FURIKAE.DAT", "91", "9876543210")
             + [number(0),  # credit skip_footer
                number(1),  # debit skip_footer: the list ends in a total row
                text(KANA_TABLE), number(1), number(0), number(0), number(0), number(0),
                number(RECORD_LENGTH), number(0)])
    assert len(lines) == 70
    return lines


# --- payment lists ---------------------------------------------------------------

BRANCHES = [("0001", "ﾐｽﾞﾎ", "004", "ﾏﾙﾉｳﾁﾁﾕｳｵｳ"), ("0033", "ﾍﾟｲﾍﾟｲ", "002", "ｽｽﾞﾒ"),
            ("0009", "ﾐﾂｲｽﾐﾄﾓ", "015", "ﾄｳｷﾖｳﾁﾕｳｵｳ"), ("0010", "ﾘｿﾅ", "005", "ﾃﾝﾘ"),
            ("0137", "ｷﾗﾎﾞｼ", "006", "ｼﾝｼﾞﾕｸ"), ("0134", "ﾁﾊﾞ", "017", "ｱｷﾊﾊﾞﾗ"),
            ("0001", "ﾐｽﾞﾎ", "009", "ｶﾝﾀﾞｴｷﾏｴ")]

PAYEES = [
    ("ﾔﾏﾀﾞ ﾀﾛｳ", 285000, "4月分給与"), ("ｽｽﾞｷ ﾊﾅｺ", 243500, "4月分給与"),
    ("ﾀﾅｶ ｲﾁﾛｳ", 312000, "4月分給与"), ("ｻﾄｳ ﾐｻｷ", 228700, "4月分給与"),
    ("ﾀｶﾊｼ ｹﾝｼﾞ", 351200, "4月分給与"), ("ﾜﾀﾅﾍﾞ ﾕｳｺ", 198000, "4月分給与"),
    ("ｲﾄｳ ｼｮｳﾀ", 264300, "4月分給与"), ("ﾅｶﾑﾗ ｱﾔ", 207800, "4月分給与"),
    ("ｺﾊﾞﾔｼ ﾀﾞｲｽｹ", 298400, "4月分給与"), ("ｶﾄｳ ﾒｸﾞﾐ", 221000, "4月分給与"),
    ("ﾖｼﾀﾞ ﾂﾖｼ", 276500, "4月分給与"), ("山田　花子", 189000, "4月分給与"),
    ("ﾔﾏﾓﾄ ﾅｵｺ", 233300, "4月分給与"), ("ｻｻｷ ﾘｮｳ", 305000, "4月分給与"),
    ("ﾔﾏｸﾞﾁ ｱｽｶ", 216900, "4月分給与"), ("ﾏﾂﾓﾄ ｺｳｼﾞ", 342100, "4月分給与"),
    ("ｲﾉｳｴ ﾏｲ", 187600, "4月分給与"), ("ｷﾑﾗ ﾀｸﾔ", 259000, "4月分給与"),
    ("ﾊﾔｼ ｴﾘｶ", 224400, "4月分給与"), ("ｼﾐｽﾞ ﾕｳｷ", 268800, "4月分給与"),
    ("ﾔﾏｻﾞｷ ｼﾞｭﾝ", 247000, "4月分給与"), ("ﾓﾘ ｻﾄｼ", 231500, "4月分給与"),
    ("ｱﾍﾞ ﾁﾋﾛ", 209900, "4月分給与"), ("ｲｹﾀﾞ ﾏｺﾄ", 286200, "4月分給与"),
    ("ﾐﾄﾞﾘｼｮｳｶｲ", 1320000, "3月分仕入代金"), ("ﾊﾔﾃｳﾝﾕ", 86400, "3月分運送料"),
    ("ｱｵｿﾞﾗｼﾞﾑｷ", 45980, "事務用品"), ("ｶﾜｾﾃﾞﾝｷ", 512600, "3月分仕入代金"),
    ("ﾋｶﾘｹｲﾋﾞ", 132000, "4月分警備料"), ("ﾐﾅﾄｾﾂﾋﾞ", 77000, "空調点検"),
]

SUBSCRIBERS = [
    ("ｵｶﾞﾜ ｼﾝｲﾁ", 5500), ("ﾏｴﾀﾞ ｷｮｳｺ", 3300), ("ﾌｼﾞﾀ ﾏｻﾙ", 5500), ("ｺﾞﾄｳ ﾕｷ", 8800),
    ("ｵｶﾀﾞ ﾋﾛｼ", 3300), ("ﾊｾｶﾞﾜ ｱｲ", 5500), ("ｲｼｶﾜ ﾄｵﾙ", 11000), ("ﾑﾗｶﾐ ｻﾔｶ", 3300),
    ("ｺﾝﾄﾞｳ ﾃﾂﾔ", 5500), ("ｻｶﾓﾄ ﾐﾎ", 8800), ("ｴﾝﾄﾞｳ ﾀｹｼ", 3300), ("ｱｵｷ ﾅﾂﾐ", 5500),
    ("ﾌｸﾀﾞ ｶｽﾞﾔ", 3300), ("ﾆｼﾑﾗ ﾘｴ", 5500), ("ｵｵﾀ ｼｭﾝ", 8800), ("ﾏﾂﾀﾞ ｶｵﾘ", 3300),
    ("ﾅｶｼﾞﾏ ﾕｳﾀ", 5500), ("ﾊﾗﾀﾞ ｴﾐ", 3300), ("ｵﾉ ｹｲｽｹ", 11000), ("ﾀﾑﾗ ｱｷﾗ", 5500),
    ("ﾀｹｳﾁ ﾓﾓｺ", 3300), ("ｶﾈｺ ｼﾞﾛｳ", 5500), ("ﾜﾀﾞ ﾁｶ", 8800), ("ﾅｶﾔﾏ ｺｳﾀ", 3300),
]


def payment_rows(people, first_number, deposit_kind_of):
    rows = []
    for index, (name, amount, *memo) in enumerate(people):
        bank_code, bank_name, branch_code, branch_name = BRANCHES[index % len(BRANCHES)]
        account = f"{(1234567 + index * 2718281) % 10000000:07d}"
        rows.append([bank_code, bank_name, branch_code, branch_name, deposit_kind_of(index),
                     account, name, str(amount), str(first_number + index)] + memo)
    return rows


def credit_list():
    def deposit_kind(index):
        if index == 19:
            return "3"  # wrong on purpose: a 振込's 預金種目 is 1, 2, 4 or 9
        return "2" if index % 6 == 5 else "1"

    rows = [["銀行コード", "銀行名", "支店コード", "支店名", "預金種目", "口座番号",
             "受取人名", "振込金額", "取引先番号", "摘要"]]
    rows += payment_rows(PAYEES, 1001, deposit_kind)
    return [",".join(row) for row in rows]


def debit_list():
    rows = [["銀行コード", "銀行名", "支店コード", "支店名", "預金種目", "口座番号",
             "預金者名", "引落金額", "顧客番号"]]
    rows += payment_rows(SUBSCRIBERS, 20250001, lambda index: "1")
    total = sum(amount for _, amount in SUBSCRIBERS)
    rows.append(["合計", "", "", "", "", "", "", str(total), ""])
    return [",".join(row) for row in rows]


def program_settings():
    # Every one of the banks' rules on: the characters checked, the names mended,
    # and the bank and branch codes checked against the bank list.
    return ("[bank_rules]\ncheck_characters=true\nnormalize_names=true\n"
            "check_codes=true\n")


def main():
    write_lines("tbk.ini", system_settings())
    (HERE / "tsubakuro.ini").write_text(program_settings(), encoding="utf-8", newline="\n")
    write_lines(f"{COMPANY}.cfg", company_settings())
    write_lines("振込データ.csv", credit_list())
    write_lines("振替データ.csv", debit_list())


if __name__ == "__main__":
    main()
