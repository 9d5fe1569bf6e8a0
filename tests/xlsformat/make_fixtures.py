#!/usr/bin/python3
"""Writes the number-format fixture workbooks and their manifest.

usage: make_fixtures.py OUTDIR

Each sheet holds cases: one row per format code, one cell per value. The manifest lists every
cell (workbook, sheet, row, column, built-in index or -1, kind, value, code) so that a test can
format the same value with the same code and compare with what another spreadsheet shows for
the workbook. A built-in index means the code is Japanese Excel's built-in format of that index;
the workbook carries it as a custom code, since xlwt writes Japanese built-in indexes for no one.
"""
import datetime
import os
import sys

import xlwt


def serial(year, month, day, hours=0, minutes=0, seconds=0, base1904=False):
    """The date serial of a date from 1900-03-01 on (or any date in the 1904 system)."""
    base = datetime.datetime(1904, 1, 1) if base1904 else datetime.datetime(1899, 12, 30)
    moment = datetime.datetime(year, month, day, hours, minutes, seconds)
    delta = moment - base
    return delta.days + delta.seconds / 86400


def seconds_of_day(hours, minutes, seconds):
    return (hours * 3600 + minutes * 60 + seconds) / 86400


MIXED_NUMBERS = [0, 1, 5, -5, 0.5, -0.5, 1.005, 2.675, 1.115, 0.125, -2.5, 1234.5678,
                 -1234.5678, 1234567.891, 0.001, 99.995, 123456789012, 123456789012345678,
                 0.1 + 0.2, 1 / 3, 2 / 3]
POSITIVE_NUMBERS = [0, 0.5, 999, 1500, 1234567, 987654321, 0.0004]

NUMBERS = [
    (code, MIXED_NUMBERS) for code in [
        "0", "0.00", "#,##0", "#,##0.00", "0.000", "#,##0.000", "0.0#", "0.0??", "00000",
        "000-0000", "###-####", "?,??0", "0%", "0.00%", "0.0%", "#,##0_);(#,##0)",
        "#,##0.00_);[Red](#,##0.00)", "_(0_)", "\"$\"#,##0.00", "\\a0\\b", "0\"個\"",
        "#,##0\"円\"", "[$¥-411]#,##0", "[$USD] 0.00", "*-0", "\"a\"*x0.0", "0 \"x\" 0",
        "00.0 0", "0,000", "[Blue]0.0", "[Color10]#,##0", "[DBNum1]0",
    ]
] + [
    (code, POSITIVE_NUMBERS) for code in [
        "0,", "0.0,", "#,##0,", "0.0,,\"M\"", "#,##0.0,,", "#,##0,\"K\"",
    ]
] + [
    # The spreadsheet keeps the decimal point of a code that has no digit to show after it.
    ("0.", [5, 12.25, 0.5]),
    ("#.##", [5, 12.25, 0.5]),
    # A negative number that rounds to zero keeps its minus sign.
    ("0", [-0.4]),
    ("0.00", [-0.001]),
    ("#,##0", [-0.3]),
]

SECTIONS = [
    ("0;-0;\"zero\"", [5, -5, 0, 0.4, -0.4]),
    ("0;(0)", [5, -5, 0, -0.4]),
    ("0.00;[Red]-0.00", [5, -5, 0]),
    ("#,##0;[Red](#,##0);\"-\"", [1234, -1234, 0]),
    ("0;-0;;@", [5, -5, 0, "abc"]),
    (";;;", [5, -5, 0, "abc"]),
    ("0;0;0;\"<\"@\">\"", [5, -5, 0, "abc"]),
    ("\"+\"0;\"-\"0;\"±\"0", [5, -5, 0]),
    ("[<1000]0;0.0,\"k\"", [5, -5, 999, 1000, 123456, -2000]),
    ("[>=1000000]0.0,,\"M\";[>=1000]0.0,\"K\";0", [5, 999, 1000, 123456, 7654321, 0, -5,
                                                     -2000]),
    ("[=1]\"one\";[=2]\"two\";0", [1, 2, 3, 0]),
    ("[<0]\"neg\"0;\"pos\"0", [-5, 5, 0]),
    ("[<>0]\"nz\"0;\"z\"0", [-5, 5, 0]),
    ("[<10]\"a\"0;\"b\"0;\"c\"0", [-5, 5, 50]),
    ("[>=10]\"a\"0;\"b\"0;\"c\"0", [-5, 5, 50]),
    ("[>100]General;[<0](General);General", [150, -5, 5, 0]),
    ("[>100]General;[<100](General);General", [150, -5, 5]),
    ("[>1000][Red]0.00E+00;General;0.00", [999, 1001, -5]),
    ("[>3][Red]0.00;[<6][Blue]0.00;0.00", [5, 7, 2, -5]),
    ("[Red]0.00;[>5][Blue]0.00", [7, 2]),
]

TEXTS = [
    (code, ["abc", "文字", "a,b", "\"q\"", 12.5, -3]) for code in [
        "@", "\"x\"@\"y\"", "0;0;0;\"<\"@\">\"", "0;0;0;\"txt\"", "0;0;0;_(@_)", "0.00",
        "@*.", "\"(\"@\")\"", "[Red]@",
    ]
]

SCIENTIFIC = [
    (code, [0, 1, 12345, -0.00012345, 0.5, 9.9999, 9.995, 1.5e100, 123456789, 0.99,
            6.02214076e23, 1.6e-19, -987654.321]) for code in [
        "0.00E+00", "0.00E-00", "0.00e+00", "##0.0E+0", "00.00E+00", "#.0E+0", "0E+0",
        "0.0E+000", "#,##0.00E+00", "0.000E+00",
    ]
]

FRACTIONS = [
    (code, [0, 0.5, 0.25, 0.75, 1, 1.5, 2.675, 3.14159265358979, 0.891, 12345, 0.99,
            1234567.891, -1.5, -0.25, 0.333, 5.2, 0.001, 0.96]) for code in [
        "# ?/?", "# ??/??", "?/?", "??/??", "0 ?/?", "# ???/???", "# ?/8", "# ??/16",
        "# ?/4", "0 #/#", "0 ?/? \"in\"",
    ]
] + [
    ("#/100", [0, 0.5, 0.25, 12.34, 0.891]),
]

GENERAL_AGREED = [0, 1, -1, 0.5, 1234.5678, -0.001, 0.0001, 0.00015, 12345678901, 99999999999,
                  123456.789, 1.005, 0.1, 0.1 + 0.2, 1.5e100, -98765.4321]
GENERAL = [
    ("General", GENERAL_AGREED + [1 / 3, 2 / 3, 3.14159265358979, 123456789012, 1e-05, 1e15,
                                   6.02214076e23, 0.000123456789]),
    ("\"n=\"General", GENERAL_AGREED),
    ("General\" pcs\"", GENERAL_AGREED),
    ("[Red]General;[Blue]-General", GENERAL_AGREED),
]

DATE_VALUES = [61, 367, 18264, serial(1989, 1, 1, 12), serial(1989, 1, 7, 6),
               serial(2000, 1, 1, 18), serial(2009, 6, 15, 13, 5, 9), serial(2019, 4, 30, 6),
               serial(2019, 5, 1, 18), serial(2024, 2, 29, 23, 59, 59), 2958465]
TIME_VALUES = [0, 0.25, 0.5, 0.75, seconds_of_day(13, 5, 9), seconds_of_day(0, 0, 1),
               seconds_of_day(23, 59, 59), 1.5, 2.0625, 43586.75, 0.0000057, 0.125]
DATES = [
    (code, DATE_VALUES) for code in [
        "yyyy/m/d", "yyyy/mm/dd", "yy/m/d", "d-mmm-yy", "d-mmm", "mmm-yy", "mmmm d, yyyy",
        "dddd", "ddd", "mmmmm", "yyyy/m/d h:mm", "yyyy\"年\"m\"月\"d\"日\"", "m/d", "dd.mm.yyyy",
    ]
] + [
    (code, TIME_VALUES) for code in [
        "h:mm", "h:mm:ss", "hh:mm", "h:mm AM/PM", "h:mm:ss AM/PM", "mm:ss", "[h]:mm:ss",
        "mm:ss.0", "[mm]:ss", "[ss]", "[h]", "h:mm:ss.00", "[h]\"時間\"mm\"分\"",
    ]
] + [
    # The 1900 system's serials 0 to 60 include the 29th of February 1900.
    ("yyyy/m/d", [0, 1, 59, 60]),
    ("dddd", [0, 1, 59, 60]),
    # No date before serial 0 or after 9999-12-31, and no negative time.
    ("yyyy/m/d", [-1, 2958466]),
    ("[h]:mm", [-0.25]),
    # Case as written.
    ("h:mm am/pm", [0.25, 0.75]),
    ("h:mm A/P", [0.25, 0.75]),
    ("h:mm a/p", [0.25, 0.75]),
    # The system's long date.
    ("[$-F800]dddd, mmmm dd, yyyy", [serial(2019, 5, 1)]),
]

ERA_DATES = [61, serial(1912, 7, 29), serial(1912, 7, 30), serial(1926, 12, 24),
             serial(1926, 12, 25), serial(1989, 1, 7), serial(1989, 1, 8), serial(2019, 4, 30),
             serial(2019, 5, 1), serial(2024, 3, 15, 15, 30)]
JAPANESE = [
    (code, ERA_DATES) for code in [
        "[$-411]ge.m.d", "[$-411]ggge\"年\"m\"月\"d\"日\"", "[$-411]gge", "[$-411]g gg ggg",
        "[$-411]e ee", "[$-411]r rr", "[$-411]yyyy/m/d(aaa)", "[$-411]aaaa", "[$-411]ggg e\"年\"",
        "[$-411]h:mm AM/PM", "[$-411]ee.mm.dd",
    ]
] + [
    # Japanese Excel reads era and weekday letters without the language prefix too.
    ("ggge\"年\"m\"月\"d\"日\"", [serial(2019, 5, 1)]),
    ("aaa", [serial(2019, 5, 1)]),
]

# Japanese Excel's built-in codes.
BUILT_IN = {
    0: "General", 1: "0", 2: "0.00", 3: "#,##0", 4: "#,##0.00",
    5: "\"¥\"#,##0;\"¥\"\\-#,##0", 6: "\"¥\"#,##0;[Red]\"¥\"\\-#,##0",
    7: "\"¥\"#,##0.00;\"¥\"\\-#,##0.00", 8: "\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00",
    9: "0%", 10: "0.00%", 11: "0.00E+00", 12: "# ?/?", 13: "# ??/??", 14: "yyyy/m/d",
    15: "d-mmm-yy", 16: "d-mmm", 17: "mmm-yy", 18: "h:mm AM/PM", 19: "h:mm:ss AM/PM",
    20: "h:mm", 21: "h:mm:ss", 22: "yyyy/m/d h:mm",
    27: "[$-411]ge.m.d", 28: "[$-411]ggge\"年\"m\"月\"d\"日\"",
    29: "[$-411]ggge\"年\"m\"月\"d\"日\"", 30: "m/d/yy", 31: "yyyy\"年\"m\"月\"d\"日\"",
    32: "h\"時\"mm\"分\"", 33: "h\"時\"mm\"分\"ss\"秒\"", 34: "yyyy\"年\"m\"月\"",
    35: "m\"月\"d\"日\"", 36: "[$-411]ge.m.d",
    37: "#,##0;-#,##0", 38: "#,##0;[Red]-#,##0", 39: "#,##0.00;-#,##0.00",
    40: "#,##0.00;[Red]-#,##0.00",
    41: "_ * #,##0_ ;_ * \\-#,##0_ ;_ * \"-\"_ ;_ @_ ",
    42: "_ \"¥\"* #,##0_ ;_ \"¥\"* \\-#,##0_ ;_ \"¥\"* \"-\"_ ;_ @_ ",
    43: "_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * \"-\"??_ ;_ @_ ",
    44: "_ \"¥\"* #,##0.00_ ;_ \"¥\"* \\-#,##0.00_ ;_ \"¥\"* \"-\"??_ ;_ @_ ",
    45: "mm:ss", 46: "[h]:mm:ss", 47: "mm:ss.0", 48: "##0.0E+0", 49: "@",
    50: "[$-411]ge.m.d", 51: "[$-411]ggge\"年\"m\"月\"d\"日\"", 52: "yyyy\"年\"m\"月\"",
    53: "m\"月\"d\"日\"", 54: "[$-411]ggge\"年\"m\"月\"d\"日\"", 55: "yyyy\"年\"m\"月\"",
    56: "m\"月\"d\"日\"", 57: "[$-411]ge.m.d", 58: "[$-411]ggge\"年\"m\"月\"d\"日\"",
}
DATE_BUILT_INS = {14, 15, 16, 17, 18, 19, 20, 21, 22, 45, 46, 47} | set(range(27, 37)) | set(
    range(50, 59))
BUILT_IN_NUMBERS = [0, 1234.5678, -1234.5678, 0.5, 3.25, "abc"]
BUILT_IN_DATES = [serial(2019, 5, 1, 18, 30, 15), serial(1989, 1, 7, 9, 5),
                  serial(1926, 12, 25, 0, 45)]

DATES_1904 = [
    (code, [0, 1, 59, 60, 61, 366, 1.5, serial(2019, 5, 1, 18, base1904=True), 2957003])
    for code in [
        "yyyy/m/d", "yyyy/mm/dd h:mm:ss", "dddd", "[$-411]ggge\"年\"m\"月\"d\"日\"", "[$-411]aaa",
        "d-mmm-yy",
    ]
] + [
    ("[h]:mm", [0, 1, 1.5, 0.25, 366.75]),
    ("yyyy/m/d", [2957004]),
]


def built_in_cases():
    cases = []
    for index, code in sorted(BUILT_IN.items()):
        cases.append((code, BUILT_IN_DATES if index in DATE_BUILT_INS else BUILT_IN_NUMBERS,
                      index))
    return cases


def write_sheet(book, name, cases, workbook_name, manifest):
    sheet = book.add_sheet(name)
    styles = {}
    for row, case in enumerate(cases):
        code, values = case[0], case[1]
        built_in = case[2] if len(case) > 2 else -1
        if code not in styles:
            styles[code] = xlwt.easyxf(num_format_str=code)
        for column, value in enumerate(values):
            sheet.write(row, column, value, styles[code])
            if isinstance(value, str):
                kind, text = "text", value
            else:
                kind, text = "number", repr(float(value))
            manifest.append("\t".join([workbook_name, name, str(row), str(column), str(built_in),
                                       kind, text, code]))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    manifest = ["workbook\tsheet\trow\tcolumn\tbuiltin\tkind\tvalue\tcode"]

    book = xlwt.Workbook(encoding="utf-8")
    for name, cases in [("Numbers", NUMBERS), ("Sections", SECTIONS), ("Texts", TEXTS),
                        ("Scientific", SCIENTIFIC), ("Fractions", FRACTIONS),
                        ("General", GENERAL), ("Dates", DATES), ("Japanese", JAPANESE),
                        ("BuiltIn", built_in_cases())]:
        write_sheet(book, name, cases, "formats1900", manifest)
    book.save(os.path.join(outdir, "formats1900.xls"))

    book = xlwt.Workbook(encoding="utf-8")
    book.dates_1904 = True
    write_sheet(book, "Dates1904", DATES_1904, "formats1904", manifest)
    book.save(os.path.join(outdir, "formats1904.xls"))

    with open(os.path.join(outdir, "manifest.tsv"), "w", encoding="utf-8") as out:
        out.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
