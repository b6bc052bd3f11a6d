#!/usr/bin/env python3
"""Turns an unpacked zengin-code npm package into ツバクロ's bank list.

    convert-bank-data.py PACKAGE_FOLDER OUTPUT_FILE

PACKAGE_FOLDER holds the package as `npm pack` ships it: package.json and
lib/zengin-data.js, one JavaScript module whose object maps each bank code to its
code, name, kana, hira, roma and branches (the same fields per branch code).

The output is UTF-8 text, one line per bank followed by its branches, sorted by
code, each line the code, the kana and the name separated by tabs:

    #zengin-code<TAB>1.0.0-p20260824<TAB>2026-08-24
    0001<TAB>ﾐｽﾞﾎ<TAB>みずほ
    001<TAB>ﾄｳｷﾖｳ<TAB>東京営業部

A bank's code has four digits and a branch's three, so a branch belongs to the
bank line above it. The kana are written as a bank file needs them: half-width
katakana with the voicing marks split (ガ → ｶﾞ), the long-vowel and dash marks
as "-", full-width letters, digits, dots and parentheses as ASCII. The package
already gives small kana in their large form (トウキヨウ), so they are kept as
given. Hiragana and romaji are not kept: a search in hiragana is turned into
kana first, which finds the same entries.

The first line names the package's version and the date of its data, taken from
the version's "pYYYYMMDD" part unless --date gives it. Nothing else in the file
depends on when or where it was made, so the same package version always gives
the same bytes.
"""

import argparse
import json
import re
import sys
import unicodedata
from pathlib import Path

VOICED = "\u3099"
SEMI_VOICED = "\u309a"
DASHES = "ー－‐―−ｰ"


def half_width_table():
    table = {}
    for code in range(0xFF61, 0xFFA0):
        half = chr(code)
        if half in "ﾞﾟｰ":
            continue
        full = unicodedata.normalize("NFKC", half)
        table[full] = half
        for mark, half_mark in ((VOICED, "ﾞ"), (SEMI_VOICED, "ﾟ")):
            composed = unicodedata.normalize("NFC", full + mark)
            if len(composed) == 1:
                table[composed] = half + half_mark
    for dash in DASHES:
        table[dash] = "-"
    table["\u3000"] = " "
    return table


HALF_WIDTH = half_width_table()


def to_bank_kana(text):
    """The kana of the list as half-width katakana; None when a character has none."""
    out = []
    for character in unicodedata.normalize("NFC", text):
        if "\u3041" <= character <= "\u3096":  # hiragana to katakana
            character = chr(ord(character) + 0x60)
        if character in HALF_WIDTH:
            out.append(HALF_WIDTH[character])
            continue
        if "\uff61" <= character <= "\uff9f" or " " <= character <= "~":
            out.append(character)
            continue
        folded = unicodedata.normalize("NFKC", character)
        if len(folded) == 1 and " " <= folded <= "~":
            out.append(folded.upper())
            continue
        return None
    return "".join(out)


def read_package(folder):
    package = json.loads((folder / "package.json").read_text(encoding="utf-8"))
    source = (folder / "lib" / "zengin-data.js").read_text(encoding="utf-8")
    start, end = source.find("{"), source.rfind("}")
    if start < 0 or end < start:
        raise ValueError("lib/zengin-data.js holds no object")
    return package["version"], json.loads(source[start:end + 1])


def data_date(version):
    found = re.search(r"p(\d{4})(\d{2})(\d{2})", version)
    return f"{found[1]}-{found[2]}-{found[3]}" if found else None


def entry_line(code, entry, where, problems):
    kana = to_bank_kana(entry.get("kana", ""))
    name = entry.get("name", "")
    if kana is None:
        problems.append(f"{where}: kana {entry.get('kana')!r} has a character a bank file cannot hold")
        kana = ""
    if not kana.strip():
        problems.append(f"{where}: no kana")
    if any(c in name for c in "\t\r\n"):
        problems.append(f"{where}: name {name!r} holds a tab or line break")
    return f"{code}\t{kana}\t{name}"


def convert(folder, date=None):
    version, banks = read_package(folder)
    date = date or data_date(version)
    if not date:
        raise ValueError(f"version {version} names no date; give one with --date")
    lines = [f"#zengin-code\t{version}\t{date}"]
    problems = []
    for bank_code in sorted(banks):
        bank = banks[bank_code]
        if not re.fullmatch(r"\d{4}", bank_code):
            problems.append(f"bank {bank_code!r}: not a four-digit code")
            continue
        lines.append(entry_line(bank_code, bank, f"bank {bank_code}", problems))
        branches = bank.get("branches") or {}
        for branch_code in sorted(branches):
            if not re.fullmatch(r"\d{3}", branch_code):
                problems.append(f"bank {bank_code} branch {branch_code!r}: not a three-digit code")
                continue
            lines.append(entry_line(branch_code, branches[branch_code],
                                    f"bank {bank_code} branch {branch_code}", problems))
    if problems:
        raise ValueError("\n".join(problems))
    return "".join(line + "\n" for line in lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("package", type=Path)
    parser.add_argument("output", type=Path)
    parser.add_argument("--date", help="the data's date (YYYY-MM-DD) when the version has none")
    args = parser.parse_args()
    try:
        text = convert(args.package, args.date)
    except (OSError, ValueError, KeyError, json.JSONDecodeError) as problem:
        print(f"convert-bank-data: {problem}", file=sys.stderr)
        return 1
    args.output.write_bytes(text.encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
