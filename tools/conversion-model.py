#!/usr/bin/env python3
"""A plain model of what one mode of the window writes for one input file, kept apart from the program's engine
so that the end-to-end check compares the program's files with something the program did not compute.

    conversion-model.py "MODE CAPTION" [--x X] INPUT OUTPUT

The whole file is read at once, which the engine must never do; the model is for small files. Files with a
byte-order mark other than UTF-16 little-endian are not modelled (exit status 2).
"""
import sys

# caption: (separator, replacement); None stands for the X text asked for at the start of a run.
MODES = {
    "Tabs To Commas": ("\t", ","),
    "Spaces To Commas": (" ", ","),
    "Enters To Commas": ("\n", ","),
    "X Character(s) To Commas": (None, ","),
    "Tabs To Comma-spaces": ("\t", ", "),
    "Spaces To Comma-spaces": (" ", ", "),
    "Enters To Comma-spaces": ("\n", ", "),
    "X Character(s) To Comma-spaces": (None, ", "),
}
ANSI = "cp1252"  # Wine's ANSI code page for an English locale; the file's own bytes pass through unchanged


def split_lines(text):
    """Lines as a text stream reads them: CR LF, LF and a lone CR end a line; a final break adds no empty line."""
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines[-1] == "":
        lines.pop()
    return lines


def collapse(line):
    while "  " in line:
        line = line.replace("  ", " ")
    return line.rstrip(" ")


def convert(text, separator, replacement, collapse_spaces):
    if separator in ("\r", "\n", "\r\n"):
        return text.replace("\r\n", "\n").replace("\r", "\n").replace("\n", replacement)
    lines = [collapse(line) if collapse_spaces else line for line in split_lines(text)]
    return "".join(line.replace(separator, replacement) + "\r\n" for line in lines)


def main(argv):
    args = argv[1:]
    x = None
    if len(args) == 5 and args[1] == "--x":
        x = args[2]
        args = [args[0]] + args[3:]
    if len(args) != 3 or args[0] not in MODES:
        sys.stderr.write(__doc__)
        return 2
    caption, source, target = args
    separator, replacement = MODES[caption]
    if separator is None:
        if not x:
            return 0  # no X: the file is skipped and nothing is written
        separator = x
    data = open(source, "rb").read()
    if data.startswith(b"\xff\xfe\x00\x00") or data.startswith(b"\x00\x00\xfe\xff") or data.startswith(
            b"\xef\xbb\xbf") or data.startswith(b"\xfe\xff"):
        sys.stderr.write(f"{source}: this byte-order mark is not modelled\n")
        return 2
    unicode = data.startswith(b"\xff\xfe")
    collapse_spaces = separator == " "
    if unicode:
        result = b"\xff\xfe" + convert(data[2:].decode("utf-16-le"), separator, replacement,
                                        collapse_spaces).encode("utf-16-le")
    else:
        # Bytes as Latin-1 characters, one each, so that every byte survives; the separator as the code page's bytes.
        separator = separator.encode(ANSI).decode("latin-1")
        result = convert(data.decode("latin-1"), separator, replacement, collapse_spaces).encode("latin-1")
    with open(target, "wb") as out:
        out.write(result)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
