#!/usr/bin/env python3
"""Writes a large payment list in the columns of the sample company サンプル商事.

    bench/make-payment-list.py ROWS OUTPUT [--errors-every N]

The list is Shift-JIS (code page 932) with CR LF line ends and one header row,
as examples/振込データ.csv: 銀行コード, 銀行名, 支店コード, 支店名, 預金種目,
口座番号, 受取人名, 振込金額, 取引先番号, 摘要. Every row is valid unless
--errors-every N is given, which puts a full-width name into every Nth row.
The rows are the same on every run, so figures can be compared.
"""

import argparse

BANKS = [("0310", "ﾐﾅﾄｷﾞﾝｺｳ"), ("0325", "ﾂﾊﾞｷｼﾝｷﾝ"), ("0348", "ｶｴﾃﾞｷﾞﾝｺｳ"),
         ("0352", "ｻｸﾗｶﾞﾜｷﾞﾝｺｳ"), ("0377", "ﾋﾊﾞﾘｼﾝｸﾐ")]
BRANCHES = [("001", "ﾎﾝﾃﾝ"), ("102", "ｴｷﾏｴ"), ("215", "ﾐﾅﾐｸﾞﾁ"), ("318", "ｷﾀﾏﾁ"),
            ("420", "ｺｳｴﾝﾄﾞｵﾘ")]
FAMILY = ["ﾔﾏﾀﾞ", "ｽｽﾞｷ", "ﾀﾅｶ", "ｻﾄｳ", "ﾀｶﾊｼ", "ﾜﾀﾅﾍﾞ", "ｲﾄｳ", "ﾅｶﾑﾗ", "ｺﾊﾞﾔｼ", "ｶﾄｳ",
          "ﾖｼﾀﾞ", "ﾔﾏﾓﾄ", "ｻｻｷ", "ﾔﾏｸﾞﾁ", "ﾏﾂﾓﾄ", "ｲﾉｳｴ", "ｷﾑﾗ"]
GIVEN = ["ﾀﾛｳ", "ﾊﾅｺ", "ｲﾁﾛｳ", "ﾐｻｷ", "ｹﾝｼﾞ", "ﾕｳｺ", "ｼｮｳﾀ", "ｱﾔ", "ﾀﾞｲｽｹ", "ﾒｸﾞﾐ",
         "ﾂﾖｼ", "ﾅｵｺ", "ﾘｮｳ"]
HEADER = "銀行コード,銀行名,支店コード,支店名,預金種目,口座番号,受取人名,振込金額,取引先番号,摘要"


def row(index, errors_every):
    bank_code, bank_name = BANKS[index % len(BANKS)]
    branch_code, branch_name = BRANCHES[(index // 5) % len(BRANCHES)]
    deposit_kind = "2" if index % 7 == 6 else "1"
    account = f"{(1234567 + index * 2718281) % 10000000:07d}"
    if errors_every and index % errors_every == errors_every - 1:
        name = "山田　花子"
    else:
        name = f"{FAMILY[index % len(FAMILY)]} {GIVEN[(index // 3) % len(GIVEN)]}"
    amount = 1000 + (index * 7919) % 999000
    return (f"{bank_code},{bank_name},{branch_code},{branch_name},{deposit_kind},{account},"
            f"{name},{amount},{100000 + index},給与")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("rows", type=int)
    parser.add_argument("output")
    parser.add_argument("--errors-every", type=int, default=0)
    arguments = parser.parse_args()
    with open(arguments.output, "wb") as output:
        output.write((HEADER + "\r\n").encode("cp932"))
        batch = []
        for index in range(arguments.rows):
            batch.append(row(index, arguments.errors_every))
            if len(batch) == 10000:
                output.write(("\r\n".join(batch) + "\r\n").encode("cp932"))
                batch = []
        if batch:
            output.write(("\r\n".join(batch) + "\r\n").encode("cp932"))


if __name__ == "__main__":
    main()
