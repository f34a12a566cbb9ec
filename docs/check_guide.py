#!/usr/bin/env python3
"""The installation guide quotes the operator's texts; this keeps it from drifting.

Every double-quoted text in the guide's table of what the operator can see must be a text of
the program itself: it is looked up among the string literals of the product's folders, so
the check holds wherever in them the text is written (the built program is no place to look:
the compiler writes a short text that becomes a std::string as immediate stores, not as
bytes). <placeholders> in a quoted text stand for what the program fills in at run time (a
printf conversion, or text put before or after a literal); a quote is never wrapped over two
lines, so none escapes the check.

    check_guide.py INSTALL.txt <source folder>
"""
import codecs
import pathlib
import re
import sys

PRODUCT_FOLDERS = ("app", "base", "board", "chain", "inspection")

TABLE_START = re.compile(r"^5\. WHAT THE OPERATOR CAN SEE$")
NEXT_SECTION = re.compile(r"^\d+\. [A-Z]")
PLACEHOLDER = re.compile(r"<[a-z]+>")
# Whatever the program fills in at run time: a printf conversion, or text before or after a
# literal. Each literal's conversions become one, and one stands between any two literals.
HOLE = "\x00"
CONVERSION = re.compile(r"%(?:%|[-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|L|z|j|t)?[diouxXcsfFeEgGaApn])")
# Comments, character literals and string literals, so that quotes in comments are skipped.
TOKEN = re.compile(r"""//[^\n]*|/\*.*?\*/|'(?:\\.|[^'\\])*'|"((?:\\.|[^"\\])*)"|\s+|[^"'/\s]+|/""", re.S)


def table_quotes(guide):
    lines = guide.splitlines()
    start = next((i for i, line in enumerate(lines) if TABLE_START.match(line)), None)
    if start is None:
        sys.exit("the guide has no table of what the operator can see")
    quotes = []
    for number, line in enumerate(lines[start + 1:], start + 2):
        if NEXT_SECTION.match(line):
            break
        if line.count('"') % 2:
            sys.exit(f"line {number}: a quoted text is wrapped over two lines")
        quotes += [(number, text) for text in re.findall(r'"([^"]*)"', line)]
    return quotes


# The product's string literals, adjacent ones joined as the compiler joins them, each one
# between holes.
def program_literals(root):
    literals = []
    for folder in PRODUCT_FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h"):
                continue
            joining = False
            for token in TOKEN.finditer(path.read_text(encoding="latin-1")):
                if token.group(0).isspace() or token.group(0).startswith("/*") or token.group(0).startswith("//"):
                    continue
                if token.group(1) is None:
                    joining = False
                    continue
                text = codecs.decode(token.group(1), "unicode_escape")
                if joining:
                    literals[-1] += text
                else:
                    literals.append(text)
                joining = True
    holed = [CONVERSION.sub(lambda m: "%" if m.group(0) == "%%" else HOLE, literal) for literal in literals]
    return HOLE + HOLE.join(holed) + HOLE


def found_in(program, text):
    pieces = PLACEHOLDER.split(text)
    for index, piece in enumerate(pieces):
        if not piece:
            continue
        pattern = re.escape(piece)
        if index > 0:
            pattern = "(?<=" + HOLE + ")" + pattern
        if index + 1 < len(pieces):
            pattern += "(?=" + HOLE + ")"
        if not re.search(pattern, program):
            return False
    return True


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="ascii") as file:
        guide = file.read()
    program = program_literals(pathlib.Path(sys.argv[2]))
    quotes = table_quotes(guide)
    if len(quotes) < 20:
        sys.exit(f"only {len(quotes)} quoted texts in the guide's table")
    missing = [f"line {number}: \"{text}\"" for number, text in quotes if not found_in(program, text)]
    if missing:
        sys.exit("texts in the guide that the program does not have:\n  " + "\n  ".join(missing))
    print(f"{len(quotes)} quoted texts, all the program's own")


main()

