#!/usr/bin/env python3
"""The installation guide's table of what the operator can see, checked against the program both
ways, so that neither can drift from the other.

Guide to program: every double-quoted text in the table must be a text of the program. It is
looked up among the string literals of the product's folders, so the check holds wherever in
them the text is written (the built program is no place to look: the compiler writes a short
text that becomes a std::string as immediate stores, not as bytes).

Program to guide: every text the program can show the operator must have a row, a line of the
table that starts with it in double quotes (a text of several lines, with its first line). Such
a text reaches the operator through one of a few calls (OPERATOR_CALLS: the status bar, the
result label, the list of faulty pairs, the outline's hint, the message box, and the exception
whose message the error box shows). Every call of them is found in the source and its text
argument read: string literals, named constants holding them, a local buffer filled by snprintf
or a local string assigned before the call, joined with + and chosen with ?:; anything else in
it is filled in at run time. A call whose text the source does not show there (it was made
elsewhere and handed over) is listed in MADE_ELSEWHERE with the texts it can show; a call that
is neither readable nor listed fails the check, and so does a listed one the program no longer
has. The window's fixed face (its caption, the buttons') is no message and has no rows.

In both directions a <placeholder> in the guide stands for what the program fills in at run
time: a printf conversion, or text put before or after a literal. A quote is never wrapped over
two lines, so none escapes the check.

    check_guide.py INSTALL.txt <source folder>
"""
import codecs
import pathlib
import re
import sys

PRODUCT_FOLDERS = ("app", "base", "board", "chain", "inspection")

# The calls through which a text reaches the operator, with the place of the text among their
# arguments.
OPERATOR_CALLS = {
    "ShowStatus": 0,      # the status bar
    "ShowRunStopped": 0,  # the status bar, for a run that ended with no verdict
    "SetCaption": 0,      # the result label
    "AppendLine": 0,      # the list of faulty pin pairs
    "SetHint": 0,         # the hint of a connector's result outline
    "ShowBox": 2,         # every message box
    "TException": 0,      # the application's exception, whose message the error box shows
}

# Calls whose text the source does not show where the call is: it is made somewhere else and
# handed over. By file, call and argument as written, the texts (in the guide's form) each can
# show, and why the source cannot show them.
MADE_ELSEWHERE = {
    # The exception box shows the exception's message; TException is an operator call itself.
    ("app/Application.cpp", "ShowBox", "error.Message()"): [],
    # ShowRunStopped hands on its caller's text; ShowRunStopped is an operator call itself.
    ("inspection/InspectionRun.cpp", "ShowStatus", "status.c_str()"): [],
    # A standard exception's own text. The one the program throws itself is TLibraryFault
    # (base/Fault.h): the description of a fault in a maker library, which DescribeFault
    # (base/Fault.cpp) puts together piece by piece. The C++ library's own (std::bad_alloc) are
    # not the program's texts.
    ("app/Application.cpp", "TException", "error.what()"): ["<fault> at address <address> in module '<module>'"],
    # A fault in the program's own code, described the same way with the offset in its module.
    ("app/FatalFault.cpp", "TException", "DescribeFault(Fatal)"): [
        "<fault> at address <address> in module '<module>' (offset <offset>)"],
    # BuildFaultList (inspection/FaultList.cpp) formats the lines; they come in a TFaultList.
    ("inspection/ConnectorTest.cpp", "AppendLine", "line"): ["[<number>]pin <pin>-<pin>"],
    # BuildFaultList puts the heading and the pairs together; they come in a TFaultList.
    ("inspection/ConnectorTest.cpp", "SetHint", "faults.Hint"): ["Invalid paired loopback pin:"],
    # ReadWholeFile words the failure; it comes in a TReportText.
    ("chain/ChainReportFile.cpp", "ShowBox", "report.Failure"): ["Cannot open file <path>", "Cannot read file <path>",
                                                                 "Out of memory"],
}

# Texts the window shows without any of the calls: the heading over the list of faulty pairs is
# the caption the label is created with, shown with an NG's pairs.
SHOWN_BY_THE_WINDOW = ["Invalid Lookback Pin:"]

TABLE_START = re.compile(r"^5\. WHAT THE OPERATOR CAN SEE$")
NEXT_SECTION = re.compile(r"^\d+\. [A-Z]")
ROW_START = re.compile(r'^  "')
PLACEHOLDER = re.compile(r"<[a-z]+>")
# Whatever the program fills in at run time, wherever it is in a text.
HOLE = "\x00"
CONVERSION = re.compile(r"%(?:%|[-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|L|z|j|t)?[diouxXcsfFeEgGaApn])")
TOKEN = re.compile(r"""
    (?P<skip>\s+|//[^\n]*|/\*.*?\*/)
  | (?P<char>'(?:\\.|[^'\\])*')
  | (?:u8|[LuU])?"(?P<string>(?:\\.|[^"\\])*)"
  | (?P<name>[A-Za-z_]\w*)
  | (?P<number>[0-9][\w.']*)
  | (?P<punct>::|->|&&|\|\||.)
""", re.S | re.X)
# A name just before a function's name makes it a declaration or a definition (the name is a
# type), unless it is one of these.
CALLING_WORDS = {"return", "throw", "new", "else", "case", "co_return"}
# Named constants are written in capitals (ENGINEERING.md's house rules).
CONSTANT_NAME = re.compile(r"^[A-Z][A-Z0-9_]*$")


class Token:
    def __init__(self, kind, text, line):
        self.kind, self.text, self.line = kind, text, line


def tokens_of(source):
    tokens = []
    line = 1
    for match in TOKEN.finditer(source):
        kind = match.lastgroup
        if kind != "skip":
            text = match.group(kind)
            if kind == "string":
                text = codecs.decode(text, "unicode_escape")
            tokens.append(Token(kind, text, line))
        line += match.group(0).count("\n")
    return tokens


def as_shape(text):
    """A text as the check compares it: every filled-in part one HOLE."""
    return re.sub(HOLE + "+", HOLE, text)


def guide_shape(text):
    return as_shape(PLACEHOLDER.sub(HOLE, text))


def format_shape(text):
    return as_shape(CONVERSION.sub(lambda m: "%" if m.group(0) == "%%" else HOLE, text))


class Unit:
    """One source file: its tokens, its named constants and the bodies of its functions."""

    def __init__(self, root, path):
        self.path = path.relative_to(root).as_posix()
        self.tokens = tokens_of(path.read_text(encoding="latin-1"))
        self.constants = {}
        self.body_of = [None] * len(self.tokens)
        t = self.tokens
        for i, token in enumerate(t):
            # NAME[...] = "..." "...";  or  NAME = "...";  (char arrays and pointers to them)
            if token.kind != "name" or not CONSTANT_NAME.match(token.text):
                continue
            j = i + 1
            while j < len(t) and t[j].text == "[" and t[j].kind == "punct":
                j = closing(t, j) + 1
            if j < len(t) - 1 and t[j].text == "=" and t[j + 1].kind == "string":
                end = j + 1
                while end < len(t) and t[end].kind == "string":
                    end += 1
                if end < len(t) and t[end].text == ";":
                    self.constants[token.text] = "".join(s.text for s in t[j + 1:end])
        # A function's body is the outermost brace block opened after a ")" (or its qualifiers):
        # lambdas and blocks inside it belong to it.
        i = 0
        while i < len(t):
            if t[i].text == "{" and self.opens_function(i):
                end = closing(t, i)
                for k in range(i, end + 1):
                    self.body_of[k] = i
                i = end + 1
            else:
                i += 1

    def opens_function(self, i):
        k = i - 1
        while k >= 0 and self.tokens[k].text in ("const", "noexcept", "override", "final"):
            k -= 1
        return k >= 0 and self.tokens[k].text == ")"


def opens(token):
    return token.kind == "punct" and token.text in ("(", "[", "{")


def closes(token):
    return token.kind == "punct" and token.text in (")", "]", "}")


def closing(tokens, i):
    """The index of the bracket that closes the one at i."""
    depth = 0
    for k in range(i, len(tokens)):
        if opens(tokens[k]):
            depth += 1
        elif closes(tokens[k]):
            depth -= 1
            if depth == 0:
                return k
    return len(tokens) - 1


def split_top(tokens, separator):
    parts, depth, start = [], 0, 0
    for k, token in enumerate(tokens):
        if opens(token):
            depth += 1
        elif closes(token):
            depth -= 1
        elif depth == 0 and token.kind == "punct" and token.text == separator:
            parts.append(tokens[start:k])
            start = k + 1
    parts.append(tokens[start:])
    return parts


def source_text(tokens):
    return "".join(t.text if t.kind != "string" else '"' + t.text + '"' for t in tokens)


class Reader:
    """Reads the texts an expression can have, as far as the source shows them."""

    def __init__(self, units):
        self.shared = {}
        for unit in units:
            for name, text in unit.constants.items():
                self.shared.setdefault(name, set()).add(text)

    def constant(self, unit, name):
        if name in unit.constants:
            return unit.constants[name]
        texts = self.shared.get(name, set())
        return next(iter(texts)) if len(texts) == 1 else None

    def texts(self, unit, tokens, at):
        """The alternatives of an expression, each a shape."""
        question = split_top(tokens, "?")
        if len(question) == 2:
            return [text for branch in split_top(question[1], ":") for text in self.texts(unit, branch, at)]
        if len(question) > 2:
            return [HOLE]  # nested choices: not read
        alternatives = [""]
        for operand in split_top(tokens, "+"):
            parts = self.operand(unit, operand, at)
            alternatives = [left + right for left in alternatives for right in parts]
        return [as_shape(text) for text in alternatives]

    def operand(self, unit, tokens, at):
        texts = [t.text for t in tokens]
        if texts[:4] in (["std", "::", "string", "("], ["std", "::", "string_view", "("]) and \
                closing(tokens, 3) == len(tokens) - 1:
            return self.texts(unit, tokens[4:-1], at)
        if tokens and all(t.kind in ("string", "name") for t in tokens):
            if len(tokens) == 1 and tokens[0].kind == "name" and self.constant(unit, tokens[0].text) is None:
                return self.local(unit, tokens[0].text, at)
            return ["".join(t.text if t.kind == "string" else self.constant(unit, t.text) or HOLE
                            for t in tokens)]
        return [HOLE]

    def local(self, unit, name, at):
        """A local text: the last snprintf into it or assignment to it before the call, within
        the function."""
        t = unit.tokens
        body = unit.body_of[at]
        for k in range(at - 1, body if body is not None else -1, -1):
            if t[k].text != name or t[k].kind != "name":
                continue
            if k >= 2 and t[k - 1].text == "(" and t[k - 2].text == "snprintf":
                arguments = split_top(t[k:closing(t, k - 1)], ",")
                if len(arguments) > 2 and all(s.kind == "string" for s in arguments[2]):
                    return [format_shape("".join(s.text for s in arguments[2]))]
                return [HOLE]
            if t[k - 1].text not in (".", "->") and t[k + 1].text == "=" and t[k + 2].text != "=":
                end = k + 2
                while t[end].text != ";":
                    end = closing(t, end) + 1 if opens(t[end]) else end + 1
                return self.texts(unit, t[k + 2:end], k)
        return [HOLE]


def operator_calls(units):
    """Every call of an operator call: (unit, name, line, argument tokens, index)."""
    for unit in units:
        t = unit.tokens
        for i, token in enumerate(t):
            if token.kind != "name" or token.text not in OPERATOR_CALLS or i + 1 >= len(t) or t[i + 1].text != "(":
                continue
            before = i - 1
            while before >= 0 and t[before].text == "::":
                before -= 2 if before >= 1 and t[before - 1].kind == "name" else 1
            if before >= 0 and (t[before].text in ("*", "&", "~") or
                                (t[before].kind == "name" and t[before].text not in CALLING_WORDS)):
                continue  # a declaration or definition
            arguments = split_top(t[i + 2:closing(t, i + 1)], ",")
            place = OPERATOR_CALLS[token.text]
            if place < len(arguments):
                yield unit, token.text, token.line, arguments[place], i


def program_texts(units):
    """The texts the program can show, each with where it comes from; and the failures."""
    reader = Reader(units)
    found, failures, listed_seen = [], [], set()
    for unit, call, line, argument, at in operator_calls(units):
        where = f"{unit.path}:{line} {call}"
        # A choice's branches are told apart by their own source.
        question = split_top(argument, "?")
        branches = split_top(question[1], ":") if len(question) == 2 else [argument]
        for branch in branches:
            key = (unit.path, call, source_text(branch))
            for text in reader.texts(unit, branch, at):
                if text == "":
                    continue  # clears what was shown
                if text.strip(HOLE) == "":
                    if key not in MADE_ELSEWHERE:
                        failures.append(f"{where}({key[2]}): the source does not show this text; "
                                        f"list the call in MADE_ELSEWHERE with the texts it can show")
                        continue
                    listed_seen.add(key)
                    found += [(guide_shape(listed), f"{where}, made elsewhere") for listed in MADE_ELSEWHERE[key]]
                else:
                    found.append((text.split("\n")[0], where))
    for key in MADE_ELSEWHERE.keys() - listed_seen:
        failures.append(f"{key[0]} {key[1]}({key[2]}): listed in MADE_ELSEWHERE, no longer in the program")
    found += [(guide_shape(text), "the window") for text in SHOWN_BY_THE_WINDOW]
    return found, failures


def table(guide):
    """The table's quoted texts and the texts that start its rows, each with its line number."""
    lines = guide.splitlines()
    start = next((i for i, line in enumerate(lines) if TABLE_START.match(line)), None)
    if start is None:
        sys.exit("the guide has no table of what the operator can see")
    quotes, rows = [], []
    for number, line in enumerate(lines[start + 1:], start + 2):
        if NEXT_SECTION.match(line):
            break
        if line.count('"') % 2:
            sys.exit(f"line {number}: a quoted text is wrapped over two lines")
        texts = re.findall(r'"([^"]*)"', line)
        quotes += [(number, text) for text in texts]
        if ROW_START.match(line):
            rows.append((number, texts[0]))
    return quotes, rows


# The product's string literals, adjacent ones joined as the compiler joins them, each with its
# printf conversions as holes and one between any two.
def literal_dump(units):
    literals = []
    for unit in units:
        previous = None
        for token in unit.tokens:
            if token.kind == "string":
                if previous is not None and previous.kind == "string":
                    literals[-1] += token.text
                else:
                    literals.append(token.text)
            previous = token
    return HOLE + HOLE.join(format_shape(literal) for literal in literals) + HOLE


def found_in(program, text):
    pieces = guide_shape(text).split(HOLE)
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
    root = pathlib.Path(sys.argv[2])
    units = [Unit(root, path) for folder in PRODUCT_FOLDERS for path in sorted((root / folder).rglob("*"))
             if path.suffix in (".cpp", ".h")]
    program = literal_dump(units)
    quotes, rows = table(guide)
    if len(quotes) < 20:
        sys.exit(f"only {len(quotes)} quoted texts in the guide's table")

    failures = [f"line {number}: \"{text}\" is not a text of the program"
                for number, text in quotes if not found_in(program, text)]
    texts, reading_failures = program_texts(units)
    failures += reading_failures
    listed = [text for entry in MADE_ELSEWHERE.values() for text in entry] + SHOWN_BY_THE_WINDOW
    failures += [f"\"{text}\" (listed in the check) is not a text of the program"
                 for text in listed if not found_in(program, text)]
    row_shapes = {guide_shape(text) for _, text in rows}

    def shown(shape):
        return shape.replace(HOLE, "<>")

    for shape, where in texts:
        print(f"  {where}: \"{shown(shape)}\"")
    failures += [f"{where}: \"{shown(shape)}\" has no row in the guide"
                 for shape, where in texts if shape not in row_shapes]
    print(f"{len(quotes)} quoted texts in the guide's table; {len(texts)} texts the program shows the "
          f"operator ({len({shape for shape, _ in texts})} different), through "
          f"{', '.join(OPERATOR_CALLS)} and the window")
    if failures:
        sys.stdout.flush()
        sys.exit("the guide and the program differ:\n  " + "\n  ".join(failures))
    print("every quoted text is the program's own, and every text the program shows has a row")


main()
