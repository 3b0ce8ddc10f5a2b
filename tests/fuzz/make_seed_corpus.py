#!/usr/bin/env python3
"""Writes the seed files of tests/fuzz_corpus: set_up.ini files that are short, long, broken or
hold odd numbers. Run it again only to change the seeds; the files are kept in git."""

import pathlib

CORPUS = pathlib.Path(__file__).resolve().parent.parent / "fuzz_corpus"
LINES = 326


def program_file():
    """Lines 1..326 as the program writes them: group 3 in lottery mode, names in Japanese."""
    lines = [b""] * (LINES + 1)
    for g in range(1, 8):
        lines[g] = b"5"
        lines[13 + g] = b"2"
        lines[38 * g + 23] = f"メモ{g}".encode("cp932")
        for i in range(37):
            lines[38 * g + 24 + i] = f"グループ{g}の{i}番".encode("cp932")
    lines[9], lines[10], lines[11], lines[12] = b"1230", b"645.5", b"2", b"0"
    for i in range(37):
        lines[21 + i] = f"賞品{i}".encode("cp932")
    return lines


def join(lines, end=b"\r\n"):
    return b"".join(line + end for line in lines[1:])


def with_number(text):
    """The text on the lines read as numbers: counts of group 1, the window, group, mode, line 13."""
    lines = program_file()
    for k in (1, 9, 10, 11, 12, 13, 14):
        lines[k] = text
    return join(lines)


def seeds():
    yield "empty", b""
    yield "one_byte", b"7"
    yield "one_lead_byte", b"\x82"
    yield "program_file", join(program_file())
    yield "ten_lines", join(program_file()[:11])
    yield "four_hundred_lines", join(program_file() + [b"extra %d" % k for k in range(74)])

    # Lines past the longest line read: a two-byte character across the cut, and a lead byte
    # as the last byte kept.
    long = program_file()
    long[61] = b"a" * 65535 + "あ".encode("cp932") + b"b" * 10
    long[62] = "漢".encode("cp932") * 200
    yield "long_lines", join(long)
    long = program_file()
    long[62] = b"x" * 65535 + b"\x82A"
    yield "long_line_lead_at_cut", join(long)

    bad = program_file()
    bad[1] = b"\x82"
    bad[62] = b"\x80\xa0\xfd\xfe\xff"
    bad[63] = b"\x82\x0d\x82\x41"  # a lead byte before CR and before an ASCII letter
    bad[64] = b"\x81\x7f\x81\xfd\xef\x40"
    bad[11] = b"\x82\x4f"  # full-width digit zero
    bad[12] = b"\x82\x50"
    yield "bad_cp932", join(bad)

    nul = program_file()
    nul[1] = b"5\x00"
    nul[62] = b"na\x00me"
    nul[11] = b"\x00"
    yield "nul_byte", join(nul)

    numbers = {
        "1e400": b"1e400", "minus_1e400": b"-1e400", "1e_minus_400": b"1e-400",
        "minus_0": b"-0", "blanks_7": b"  7  ", "tab_3": b"\t3\t", "32768": b"32768",
        "32767": b"32767", "minus_32768": b"-32768", "minus_32769": b"-32769", "2abc": b"2abc",
        "hex_10": b"&H10", "octal_7": b"&O7", "2_5": b"2.5", "6_5": b"6.5", "minus_0_5": b"-0.5",
        "plus_6": b"+6", "dot_5": b".5", "dot": b".", "sign": b"-", "e": b"1e", "1e_plus_1": b"1e+1",
        "nan": b"NaN", "inf": b"inf", "thousands": b"1,000", "fullwidth_1": "１".encode("cp932"),
        "leading_zeros": b"0" * 40 + b"3", "long_fraction": b"0.4999999999999999999999999",
        "huge_exponent": b"1e99999999999999999999", "tiny": b"0." + b"0" * 400 + b"1",
        "float_max": b"3.4028235e38", "beyond_float": b"3.5e38",
    }
    for name, text in numbers.items():
        yield f"number_{name}", with_number(text)

    ends = program_file()
    yield "line_ends_lf", join(ends, b"\n")
    yield "line_ends_cr", join(ends, b"\r")
    yield "line_ends_lf_cr", join(ends, b"\n\r")

    chars = program_file()
    chars[62] = b"\xb1\xb2\xb3\xdf"  # half-width kana
    chars[63] = b"\xed\x40\xfa\x40\x87\x54\xee\xef"  # NEC and IBM duplicates
    chars[64] = b"\x1a\x1c\x7f\x09"
    chars[65] = b"\x81\x60\x81\x61\x81\x7c\x81\x91\x81\x92\x81\xca\x81\x5c"  # look-alikes
    chars[66] = b"\xf0\x40\xf9\xfc"  # user-defined area
    yield "odd_characters", join(chars)


def main():
    CORPUS.mkdir(exist_ok=True)
    for name, data in seeds():
        (CORPUS / name).write_bytes(data)


if __name__ == "__main__":
    main()
