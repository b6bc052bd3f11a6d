#!/usr/bin/env python3
"""Writes the expected bank files and logs of the two sample conversions.

They are computed here from examples/ by the Zengin layout itself, not by the
program, so the end-to-end tests compare the converter with a second, plain
reading of the format. The logs hold "YYYY/MM/DD H:MM:SS" where a run writes
its date and time. Only the checks that the sample's rows can fail are made
here (its header is valid). Run it again whenever the sample company changes.
"""

from pathlib import Path

HERE = Path(__file__).resolve().parent
EXAMPLES = HERE.parents[2] / "examples"
KANA = set("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝﾞﾟｧｨｩｪｫｬｭｮｯ ")
STAMP = "YYYY/MM/DD H:MM:SS"


def zero_right(value, width):
    return ("0" * width + value)[-width:]


def space_left(value, width):
    # By bytes: a name in double-byte characters still fills exactly its width.
    data = value.encode("cp932")[:width]
    return data + b" " * (width - len(data))


def digits(text):
    return text != "" and all("0" <= c <= "9" for c in text)


def characters(text):
    return all(c in KANA for c in text)


def read_lines(name):
    return (EXAMPLES / name).read_bytes().decode("cp932").split("\r\n")[:-1]


def settings():
    values = [line[1:-1] if line.startswith('"') else line
              for line in read_lines("サンプル商事.cfg")]
    sections = {}
    for kind, start, footer in (("振込", 0, 60), ("振替", 30, 61)):
        sections[kind] = {
            "input": values[start], "output": values[start + 1],
            "header": values[start + 2:start + 14],
            "columns": [int(c) if c else 0 for c in values[start + 14:start + 28]],
            "skip": int(values[start + 28] or 0), "skip_footer": values[footer] == "1",
        }
    return sections


def header(h):
    record = (b"1" + space_left(h[0], 2) + space_left(h[1], 1) + space_left(h[2], 10)
              + space_left(h[3], 40) + zero_right(h[4][:2], 2).encode()
              + zero_right(h[4][-2:], 2).encode() + zero_right(h[5], 4).encode()
              + space_left(h[6], 15) + zero_right(h[7], 3).encode() + space_left(h[8], 15)
              + space_left(h[9], 1) + zero_right(h[10], 7).encode() + space_left(h[11], 17))
    return record


def data(row, columns, number, errors, names, account_types):
    v = [row[c - 1] if 0 < c <= len(row) else "" for c in columns]
    fields = [
        b"2", zero_right(v[0], 4).encode(), space_left(v[1], 15), zero_right(v[2], 3).encode(),
        space_left(v[3], 15), space_left(v[4], 4), space_left(v[5], 1),
        zero_right(v[6], 7).encode(), space_left(v[7], 30), zero_right(v[8], 10).encode(),
        space_left(v[9], 1), zero_right(v[10], 10).encode(), zero_right(v[11], 10).encode(),
        space_left(v[12], 1), space_left(v[13], 8),
    ]
    checks = {7: v[5] in account_types, 9: characters(v[7]), 8: digits(zero_right(v[6], 7)),
              10: digits(zero_right(v[8], 10))}
    for field in sorted(checks):
        if not checks[field]:
            errors.append(f"ボディ：{number:06d}件目の[{field}]{names[field]}が正しくありません。")
    return b"".join(fields)


def convert(kind, section, names):
    lines = read_lines(section["input"])[section["skip"]:]
    if section["skip_footer"]:
        lines = lines[:-1]
    records, errors, total = [header(section["header"])], [], 0
    for number, line in enumerate(lines, start=1):
        row = line.split(",")
        # A 振込 pays into 貯蓄 (4) accounts too; a 振替 draws from 1, 2 and 9 only.
        account_types = ("1", "2", "4", "9") if kind == "振込" else ("1", "2", "9")
        records.append(data(row, section["columns"], number, errors, names, account_types))
        total += int(row[section["columns"][8] - 1])
    records.append(b"8" + zero_right(str(len(lines)), 6).encode()
                   + zero_right(str(total), 12).encode() + b" " * 101)
    records.append(b"9" + b" " * 119)
    assert all(len(record) == 120 for record in records)
    bank_file = b"".join(record + b"\r\n" for record in records)
    company_name = section["header"][3].rstrip(" ")
    log = ([f"サンプル商事【{company_name}】:{kind}", f"★★変換開始★★ {STAMP}"] + errors
           + [f"★★変換終了★★ {STAMP}"])
    log_bytes = "".join(f'"{line}"\r\n' for line in log).encode("cp932")
    return bank_file, log_bytes


def main():
    names = {7: "預金種目", 8: "口座番号", 9: "預金者名", 10: None}
    for kind, section in settings().items():
        names[10] = "振込金額" if kind == "振込" else "引落金額"
        bank_file, log = convert(kind, section, names)
        folder = HERE / ("sample_credit" if kind == "振込" else "sample_debit")
        folder.mkdir(exist_ok=True)
        (folder / section["output"]).write_bytes(bank_file)
        (folder / "サンプル商事.log").write_bytes(log)


if __name__ == "__main__":
    main()
