#!/usr/bin/python3
"""Writes the corpus of workbooks made by programs other than the office suite.

Each workbook is a payment list as the sample company keeps one (a heading row and
payment rows), with the cell kinds other programs write and the office suite reads
in its own way: dates in several formats, times, numbers at the 15th significant
digit, percentages, booleans, error cells, empty strings, text with line breaks,
cells without a data style.

  openpyxl-*.xlsx     openpyxl (python3-openpyxl)
  xlsxwriter-*.xlsx   XlsxWriter (python3-xlsxwriter)
  odfpy-*.ods         odfpy (python3-odf)
  gnumeric-*.xlsx/ods Gnumeric's ssconvert, from a Gnumeric XML sheet (and an .xls,
                      which only the office suite reads)
  suite-only-*        workbooks whose values only a recalculation gives (volatile
                      and array formulas): expected to go to the office suite, and
                      not compared byte for byte

Run it again after changing the data below, with the programs installed by
`scripts/install-deps.sh python3-openpyxl python3-xlsxwriter python3-odf gnumeric`;
the workbooks are committed as written, so the tests need none of these.
"""

import datetime
import io
import os
import re
import shutil
import subprocess
import tempfile
import zipfile
from pathlib import Path
from xml.sax.saxutils import escape

HERE = Path(__file__).resolve().parent
SHEET = "振込データ"

HEADING = ["銀行コード", "銀行名", "支店コード", "支店名", "預金種目", "口座番号",
           "受取人名", "振込金額", "取引先番号", "摘要"]
PAYMENTS = [
    ["0001", "ﾐｽﾞﾎ", "004", "ﾏﾙﾉｳﾁﾁﾕｳｵｳ", 1, "1234567", "ﾔﾏﾀﾞ ﾀﾛｳ", 285000, 1001, "4月分給与"],
    ["0033", "ﾍﾟｲﾍﾟｲ", "002", "ｽｽﾞﾒ", 1, "3952848", "ｽｽﾞｷ ﾊﾅｺ", 243500, 1002, "4月分給与"],
    ["0009", "ﾐﾂｲｽﾐﾄﾓ", "015", "ﾄｳｷﾖｳﾁﾕｳｵｳ", 1, "6671129", "ﾀﾅｶ ｲﾁﾛｳ", 312000, 1003,
     "4月分給与"],
    ["0010", "ﾘｿﾅ", "005", "ﾃﾝﾘ", 2, "9389410", "ｻﾄｳ ﾐｻｷ", 228700, 1004, "4月分給与"],
]

DAY = datetime.datetime(2025, 4, 10)
# Times of day below ten hours, one with a fraction of a second.
MORNING = datetime.time(9, 30, 15)
FRACTION = datetime.time(8, 5, 7, 250000)
AFTERNOON = datetime.time(14, 0, 59, 900000)
# Numbers whose 15th significant digit is where the programs differ.
NUMBERS = [0.970295726275997, 1e-14, 1.5e-5, 123456789012345.6, 0.1 + 0.2, 1 / 3, -2.5e-9,
           1e15, 12345678901234567890.0, 0.000123456789012345]
DATE_FORMATS = ["yyyy/mm/dd", "yyyy-mm-dd", "[$-409]m/d/yyyy", 'yyyy"年"m"月"d"日"',
                "[$-411]ggge\"年\"m\"月\"d\"日\"", "yyyy-mm-dd hh:mm:ss", "yyyy/m/d h:mm",
                "[$-409]m/d/yyyy h:mm AM/PM"]
TIME_FORMATS = ["h:mm:ss", "hh:mm:ss", "[$-409]h:mm:ss AM/PM", "h:mm", "hh:mm:ss.00"]


def write(name, data):
    (HERE / name).write_bytes(data)


def patch_member(path, member, change):
    """Rewrites one member of a zip archive, keeping the others as they were."""
    source = zipfile.ZipFile(path)
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as target:
        for info in source.infolist():
            data = source.read(info.filename)
            if info.filename == member:
                data = change(data.decode("utf-8")).encode("utf-8")
            target.writestr(info, data)
    source.close()
    Path(path).write_bytes(out.getvalue())


# --- openpyxl ------------------------------------------------------------------

def openpyxl_books():
    import openpyxl
    from openpyxl.styles import Alignment

    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = SHEET
    sheet.append(HEADING + ["支払日", "時刻", "率", "値", "確認"])
    for index, row in enumerate(PAYMENTS):
        sheet.append(row + [DAY, MORNING, 0.085, NUMBERS[index], index % 2 == 0])
    row = sheet.max_row
    for index, code in enumerate(DATE_FORMATS):
        cell = sheet.cell(row=2 + index, column=17, value=DAY + datetime.timedelta(days=index))
        cell.number_format = code
    for index, code in enumerate(TIME_FORMATS):
        cell = sheet.cell(row=2 + index, column=18,
                          value=[MORNING, FRACTION, AFTERNOON, MORNING, FRACTION][index])
        cell.number_format = code
    for index in range(2, row + 1):
        sheet.cell(row=index, column=11).number_format = "yyyy/mm/dd"
        sheet.cell(row=index, column=12).number_format = "h:mm:ss"
        sheet.cell(row=index, column=13).number_format = "0.0%"
    for index, value in enumerate(NUMBERS):
        sheet.cell(row=2 + index, column=19, value=value)
    for index, error in enumerate(["#REF!", "#VALUE!", "#NULL!", "#DIV/0!", "#N/A", "#NAME?",
                                   "#NUM!"]):
        cell = sheet.cell(row=2 + index, column=20, value=error)
        cell.data_type = "e"
    note = sheet.cell(row=2, column=21, value="4月分給与\n(賞与含む)")
    note.alignment = Alignment(wrap_text=True)
    sheet.cell(row=3, column=21, value="一行目\r\n二行目")
    book.save(HERE / "openpyxl-payments.xlsx")

    # The first sheet is empty; the list is on the second.
    book = openpyxl.Workbook()
    book.active.title = "空"
    second = book.create_sheet(SHEET)
    second.append(HEADING)
    for row in PAYMENTS:
        second.append(row)
    book.save(HERE / "openpyxl-empty-sheet.xlsx")

    # A 振替 list with a total row, and rows of empty strings between, as pasting
    # values over =IF(…,"",…) rows leaves them.
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "振替データ"
    sheet.append(HEADING)
    for row in PAYMENTS:
        sheet.append(row)
    sheet.append([""] * 10)
    sheet.append(["", "", "", "", "", "", "", "", "", ""])
    sheet.append(["合計", "", "", "", "", "", "", sum(r[7] for r in PAYMENTS), "", ""])
    sheet.append(["", "", "", "", "", "", "", "", "", "", "", ""])
    book.save(HERE / "openpyxl-empty-strings.xlsx")
    # openpyxl writes "" as an inline string cell without text; Excel also keeps an
    # inline "" with its text element, and a formula whose result is "".
    def empty_strings(xml):
        row = xml[xml.index('<row r="7"'):xml.index('<row r="8"')]
        xml = xml.replace(row, row.replace('t="inlineStr"></c>',
                                           't="inlineStr"><is><t></t></is></c>'))
        row = xml[xml.index('<row r="9"'):xml.index('</sheetData>')]
        return xml.replace(row, row.replace('t="inlineStr"></c>',
                                            't="str"><f>IF(1=2,1,"")</f><v></v></c>'))
    patch_member(HERE / "openpyxl-empty-strings.xlsx", "xl/worksheets/sheet1.xml",
                 empty_strings)
    # Saved by a spreadsheet: the results stand, no recalculation is asked for.
    patch_member(HERE / "openpyxl-empty-strings.xlsx", "xl/workbook.xml",
                 lambda xml: xml.replace(' fullCalcOnLoad="1"', ""))

    # Formulas whose saved results are errors, as a spreadsheet saves them.
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = SHEET
    sheet.append(HEADING)
    for row in PAYMENTS:
        sheet.append(row)
    formulas = [("1/0", "#DIV/0!"), ('"a"+1', "#VALUE!"), ("A1:A2 C1:C2", "#NULL!"),
                ("#REF!", "#REF!"), ("SQRT(-1)", "#NUM!"), ("NA()", "#N/A"),
                ("UNKNOWNNAME", "#NAME?")]
    for c, (formula, _) in enumerate(formulas, start=1):
        sheet.cell(row=6, column=c, value="=" + formula)
    book.save(HERE / "openpyxl-error-results.xlsx")

    def saved_errors(xml):
        for formula, error in formulas:
            xml = xml.replace(f"<f>{escape(formula, {chr(34): '&quot;'})}</f><v></v>",
                              f"<f>{escape(formula)}</f><v>{escape(error)}</v>")
            xml = xml.replace(f"<f>{escape(formula)}</f><v></v>",
                              f"<f>{escape(formula)}</f><v>{escape(error)}</v>")
        return xml.replace("><f>", " t=\"e\"><f>")
    patch_member(HERE / "openpyxl-error-results.xlsx", "xl/worksheets/sheet1.xml", saved_errors)
    patch_member(HERE / "openpyxl-error-results.xlsx", "xl/workbook.xml",
                 lambda xml: xml.replace(' fullCalcOnLoad="1"', ""))

    # Volatile and array formulas: only a recalculation gives their values.
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = SHEET
    sheet.append(HEADING)
    for row in PAYMENTS:
        sheet.append(row)
    sheet["H2"] = "=IF(TODAY()>DATE(2025,4,25),ROUND(285000*1.05,0),285000)"
    book.save(HERE / "suite-only-openpyxl-today.xlsx")


# --- XlsxWriter ----------------------------------------------------------------

def xlsxwriter_books():
    import xlsxwriter

    for name, options in [("xlsxwriter-payments.xlsx", {}),
                          ("xlsxwriter-inline.xlsx", {"constant_memory": True})]:
        book = xlsxwriter.Workbook(str(HERE / name), options)
        sheet = book.add_worksheet(SHEET)
        formats = [book.add_format({"num_format": code}) for code in DATE_FORMATS]
        times = [book.add_format({"num_format": code}) for code in TIME_FORMATS]
        percent = book.add_format({"num_format": "0.00%"})
        wrap = book.add_format({"text_wrap": True})
        sheet.write_row(0, 0, HEADING + ["支払日", "時刻", "率", "値", "確認", "備考"])
        for r, row in enumerate(PAYMENTS, start=1):
            sheet.write_row(r, 0, row)
            sheet.write_datetime(r, 10, DAY + datetime.timedelta(days=r), formats[r % 6])
            sheet.write_datetime(r, 11, [MORNING, FRACTION, AFTERNOON, MORNING][r - 1],
                                 times[r - 1])
            sheet.write_number(r, 12, [0.085, 0.1, 1.0, 0.123456][r - 1], percent)
            sheet.write_number(r, 13, NUMBERS[r - 1])
            sheet.write_boolean(r, 14, r % 2 == 1)
            sheet.write_string(r, 15, ["4月分給与\n(賞与含む)", "", "a,b", '"引用"'][r - 1], wrap)
        sheet.write_datetime(5, 10, DAY, formats[5])
        sheet.write_datetime(5, 11, FRACTION, times[4])
        for c, value in enumerate(NUMBERS):
            sheet.write_number(6, c, value)
        # Every date format, on a moment with a time of day.
        for c, fmt in enumerate(formats):
            sheet.write_datetime(7, c, DAY + datetime.timedelta(hours=9, minutes=5, seconds=7.25),
                                 fmt)
        # The formats Excel numbers without spelling them, as it writes most dates.
        builtin = [14, 15, 16, 17, 18, 19, 20, 21, 22, 45, 47, 9, 10, 2, 4]
        moment = DAY + datetime.timedelta(hours=9, minutes=5, seconds=7)
        for c, index in enumerate(builtin):
            if index in (18, 19, 20, 21, 45, 47):
                value = datetime.time(9, 5, 7)
            elif index in (9, 10, 2, 4):
                value = 0.123456
            else:
                value = moment
            cell_format = book.add_format({"num_format": index})
            if isinstance(value, float):
                sheet.write_number(9, c, value, cell_format)
            else:
                sheet.write_datetime(9, c, value, cell_format)
        # A row of empty shared strings, below the list.
        sheet.write_row(8, 0, ["EMPTY-STRING"] * 10)
        book.close()
        if not options:
            patch_member(HERE / name, "xl/sharedStrings.xml",
                         lambda xml: xml.replace("<t>EMPTY-STRING</t>", "<t></t>"))

    # Every formula is saved as 0 and the workbook asks for a recalculation on
    # opening: its saved results are no results.
    book = xlsxwriter.Workbook(str(HERE / "xlsxwriter-formulas.xlsx"))
    sheet = book.add_worksheet(SHEET)
    sheet.write_row(0, 0, HEADING)
    for r, row in enumerate(PAYMENTS, start=1):
        sheet.write_row(r, 0, row[:7])
        sheet.write_formula(r, 7, f"={row[7]}*1")
        sheet.write_row(r, 8, row[8:])
    book.close()


# --- odfpy ---------------------------------------------------------------------

def odfpy_books():
    from odf.opendocument import OpenDocumentSpreadsheet
    from odf.table import Table, TableRow, TableCell
    from odf.text import P, LineBreak, Span
    from odf.style import Style
    from odf.number import (DateStyle, Year, Month, Day, Text as NumberText, PercentageStyle,
                            Number, TimeStyle, Hours, Minutes, Seconds, BooleanStyle, Boolean)

    def text_cell(value):
        cell = TableCell(valuetype="string")
        for line in value.split("\n"):
            cell.addElement(P(text=line))
        return cell

    def number_cell(value, style=None):
        cell = TableCell(valuetype="float", value=value)
        if style is not None:
            cell.setAttribute("stylename", style)
        cell.addElement(P(text=str(value)))
        return cell

    def payment_row(row):
        tr = TableRow()
        for value in row:
            tr.addElement(number_cell(value) if isinstance(value, int) else text_cell(value))
        return tr

    document = OpenDocumentSpreadsheet()
    date_style = DateStyle(name="D1")
    date_style.addElement(Year(style="long"))
    date_style.addElement(NumberText(text="-"))
    date_style.addElement(Month(style="long"))
    date_style.addElement(NumberText(text="-"))
    date_style.addElement(Day(style="long"))
    document.automaticstyles.addElement(date_style)
    time_style = TimeStyle(name="T1")
    time_style.addElement(Hours())
    time_style.addElement(NumberText(text=":"))
    time_style.addElement(Minutes(style="long"))
    time_style.addElement(NumberText(text=":"))
    time_style.addElement(Seconds(style="long"))
    document.automaticstyles.addElement(time_style)
    percent_style = PercentageStyle(name="P1")
    percent_style.addElement(Number(decimalplaces="1", minintegerdigits="1"))
    percent_style.addElement(NumberText(text="%"))
    document.automaticstyles.addElement(percent_style)
    boolean_style = BooleanStyle(name="B1")
    boolean_style.addElement(Boolean())
    document.automaticstyles.addElement(boolean_style)
    styled = {}
    for name, data in [("ce1", "D1"), ("ce2", "T1"), ("ce3", "P1"), ("ce4", "B1")]:
        style = Style(name=name, family="table-cell", datastylename=data)
        document.automaticstyles.addElement(style)
        styled[data] = style

    table = Table(name=SHEET)
    heading = TableRow()
    for value in HEADING + ["支払日", "時刻", "率", "確認", "値", "日付", "備考"]:
        heading.addElement(text_cell(value))
    table.addElement(heading)
    for r, row in enumerate(PAYMENTS):
        tr = payment_row(row)
        # With a data style, and below without one (the suite then writes the
        # cell's number).
        date = TableCell(valuetype="date", datevalue=f"2025-04-{10 + r:02d}",
                         stylename=styled["D1"])
        date.addElement(P(text=f"2025-04-{10 + r:02d}"))
        tr.addElement(date)
        clock = TableCell(valuetype="time", timevalue=["PT09H30M15S", "PT08H05M07.25S",
                                                       "PT14H00M59.9S", "PT00H00M00S"][r],
                          stylename=styled["T1"])
        clock.addElement(P(text="x"))
        tr.addElement(clock)
        percent = TableCell(valuetype="percentage", value=[0.085, 0.1, 1, 0.125][r],
                            stylename=styled["P1"])
        percent.addElement(P(text="x"))
        tr.addElement(percent)
        flag = TableCell(valuetype="boolean", booleanvalue=["true", "false"][r % 2],
                         stylename=styled["B1"])
        flag.addElement(P(text="x"))
        tr.addElement(flag)
        tr.addElement(number_cell(NUMBERS[r]))
        plain_date = TableCell(valuetype="date", datevalue="2025-04-10")
        plain_date.addElement(P(text="2025-04-10"))
        tr.addElement(plain_date)
        if r == 0:
            memo = TableCell(valuetype="string")
            p = P(text="4月分給与")
            p.addElement(LineBreak())
            p.addText("(賞与含む)")
            memo.addElement(p)
        else:
            memo = text_cell(["", "一行目\n二行目", "a,b", '"引用"'][r])
        tr.addElement(memo)
        table.addElement(tr)
    # Cells without a data style: the suite writes their numbers.
    tr = TableRow()
    for cell in [TableCell(valuetype="percentage", value="0.085"),
                 TableCell(valuetype="boolean", booleanvalue="true"),
                 TableCell(valuetype="boolean", booleanvalue="false"),
                 TableCell(valuetype="time", timevalue="PT09H30M15S"),
                 TableCell(valuetype="date", datevalue="2025-04-10T09:30:15"),
                 TableCell(valuetype="currency", currency="JPY", value="285000"),
                 TableCell(valuetype="string")]:
        cell.addElement(P(text="x" if cell.getAttribute("valuetype") != "string" else ""))
        tr.addElement(cell)
    for value in NUMBERS[4:]:
        tr.addElement(number_cell(value))
    table.addElement(tr)
    document.spreadsheet.addElement(table)
    document.save(str(HERE / "odfpy-payments.ods"))

    # Formulas whose saved results are errors, as a spreadsheet saves them.
    document = OpenDocumentSpreadsheet()
    table = Table(name=SHEET)
    for row in [HEADING] + PAYMENTS:
        table.addElement(payment_row(row))
    tr = TableRow()
    for formula, error in [("1/0", "#DIV/0!"), ('"a"+1', "#VALUE!"), ("[.A1:.A2] ! [.C1:.C2]",
                           "#NULL!"), ("#REF!", "#REF!"), ("SQRT(-1)", "#NUM!"), ("NA()", "#N/A"),
                           ("UNKNOWNNAME", "#NAME?")]:
        cell = TableCell(formula="of:=" + formula, valuetype="float", value="0")
        cell.addElement(P(text=error))
        tr.addElement(cell)
    table.addElement(tr)
    document.spreadsheet.addElement(table)
    document.save(str(HERE / "odfpy-error-results.ods"))
    # The cells' results are errors, which only an extension of the format says.
    calcext = "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0"
    patch_member(HERE / "odfpy-error-results.ods", "content.xml",
                 lambda xml: xml.replace("<office:document-content ",
                                         f'<office:document-content xmlns:calcext="{calcext}" ', 1)
                 .replace('office:value-type="float" office:value="0">',
                          'office:value-type="float" office:value="0" '
                          'calcext:value-type="error">'))

    document = OpenDocumentSpreadsheet()
    document.spreadsheet.addElement(Table(name="空"))
    table = Table(name=SHEET)
    for row in [HEADING] + PAYMENTS:
        table.addElement(payment_row(row))
    document.spreadsheet.addElement(table)
    document.save(str(HERE / "odfpy-empty-sheet.ods"))


# --- Gnumeric ------------------------------------------------------------------

# Gnumeric's value types: boolean 20, number 40, error 50, text 60.
def gnumeric_sheet():
    cells = []

    def put(row, col, value_type, text, fmt=None):
        attributes = f'Row="{row}" Col="{col}" ValueType="{value_type}"'
        if fmt:
            attributes += f' ValueFormat="{escape(fmt, {chr(34): "&quot;"})}"'
        cells.append(f"<gnm:Cell {attributes}>{escape(str(text))}</gnm:Cell>")

    for c, value in enumerate(HEADING + ["支払日", "時刻", "率", "値", "確認", "エラー"]):
        put(0, c, 60, value)
    serial = (DAY - datetime.datetime(1899, 12, 30)).days
    for r, row in enumerate(PAYMENTS, start=1):
        for c, value in enumerate(row):
            if isinstance(value, int):
                put(r, c, 40, value)
            else:
                put(r, c, 60, value)
        put(r, 10, 40, serial + r, DATE_FORMATS[r - 1])
        put(r, 11, 40, [0.3960069444444444, 0.33688946759259257, 0.5840266203703704,
                        0.0][r - 1], TIME_FORMATS[r - 1])
        put(r, 12, 40, [0.085, 0.1, 1, 0.123456][r - 1], "0.0%")
        put(r, 13, 40, repr(NUMBERS[r - 1]))
        put(r, 14, 20, ["TRUE", "FALSE"][r % 2])
        put(r, 15, 50, ["#REF!", "#VALUE!", "#NULL!", "#DIV/0!"][r - 1])
    for c, value in enumerate(NUMBERS):
        put(6, c, 40, repr(value))
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<gnm:Workbook xmlns:gnm="http://www.gnumeric.org/v10.dtd">
  <gnm:SheetNameIndex><gnm:SheetName>{SHEET}</gnm:SheetName></gnm:SheetNameIndex>
  <gnm:Sheets>
    <gnm:Sheet>
      <gnm:Name>{SHEET}</gnm:Name>
      <gnm:MaxCol>16</gnm:MaxCol>
      <gnm:MaxRow>7</gnm:MaxRow>
      <gnm:Cells>
        {"".join(cells)}
      </gnm:Cells>
    </gnm:Sheet>
  </gnm:Sheets>
</gnm:Workbook>
"""


def gnumeric_books():
    with tempfile.TemporaryDirectory() as scratch:
        source = Path(scratch) / "payments.gnumeric"
        source.write_text(gnumeric_sheet(), encoding="utf-8")
        env = dict(os.environ, HOME=scratch)
        # The .xls only the suite reads: it is no part of the comparison.
        for suffix, exporter in [("xlsx", "Gnumeric_Excel:xlsx2"),
                                 ("ods", "Gnumeric_OpenCalc:odf"),
                                 ("xls", "Gnumeric_Excel:excel_biff8")]:
            target = HERE / f"gnumeric-payments.{suffix}"
            subprocess.run(["ssconvert", "--export-type=" + exporter, str(source), str(target)],
                           check=True, env=env, stderr=subprocess.DEVNULL)


def steady(path):
    """Gives the members and the dates inside them one fixed time, so that writing
    the corpus again changes only what the data above changes."""
    source = zipfile.ZipFile(path)
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as target:
        for info in source.infolist():
            data = source.read(info.filename)
            if info.filename in ("docProps/core.xml", "meta.xml"):
                data = re.sub(rb"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d+)?Z?",
                              b"2025-04-01T00:00:00Z", data)
            steady_info = zipfile.ZipInfo(info.filename, date_time=(1980, 1, 1, 0, 0, 0))
            steady_info.compress_type = info.compress_type
            steady_info.external_attr = info.external_attr
            target.writestr(steady_info, data)
    source.close()
    Path(path).write_bytes(out.getvalue())


if __name__ == "__main__":
    openpyxl_books()
    xlsxwriter_books()
    odfpy_books()
    gnumeric_books()
    for book in sorted(HERE.glob("*.xlsx")) + sorted(HERE.glob("*.ods")):
        steady(book)
