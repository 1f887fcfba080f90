#!/usr/bin/env python3
"""Fails on a type name defined twice at namespace scope.

Two definitions of one name in one program break the one-definition rule:
the linker keeps one of their inline functions (a vector's destructor, say)
for both, and a build that happens to work may crash in another. Reads the
sources of the project's folders under ROOT and names each class, struct,
union, enum and alias (using, typedef) defined at namespace scope more than
once, by its namespace-qualified name. Types in anonymous namespaces, in
classes and in functions are local to their file or scope and are skipped.

    check_type_names.py ROOT [--expect FILE]

With --expect, passes when the names refused are exactly those listed in
FILE, one a line (the check's own test).
"""
import argparse
import os
import re
import sys

FOLDERS = ["platform", "zelbex", "link", "app", "patient", "recording", "config", "view",
           "NorqRemoteSwitcher", "demo", "resources", "tests"]
SKIPPED = ["tests/layering"]  # the fixtures of the checks
SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".in")

CLASS_KEYS = {"class", "struct", "union"}
TOKEN = re.compile(r"[A-Za-z_]\w*|::|\d[\w.']*|\S")
LEXICAL = re.compile(
    r"//[^\n]*"                                   # line comment
    r"|/\*.*?\*/"                                 # block comment
    r"|(?<!\w)(?:u8|u|U|L)?R\"([^(\s]*)\(.*?\)\1\""  # raw string
    r"|\"(?:\\.|[^\"\\\n])*\""                    # string
    r"|(?<!\w)'(?:\\.|[^'\\\n])*'"                 # character (not a digit separator)
    r"|^[ \t]*#(?:[^\n]*\\\n)*[^\n]*",               # directive with its continuations
    re.S | re.M)


def strip(text):
    """Blanks comments, string and character literals and preprocessor
    lines, keeping the line breaks."""
    def blank(match):
        found = match.group(0)
        kept = "\n" * found.count("\n")
        literal = not found.lstrip().startswith(("//", "/*", "#"))
        return ' "" ' + kept if literal else " " + kept
    return LEXICAL.sub(blank, text)


def tokens(text):
    """(token, line) pairs."""
    line = 1
    pos = 0
    for match in TOKEN.finditer(text):
        line += text.count("\n", pos, match.start())
        pos = match.start()
        yield match.group(0), line


def skip_template_head(stmt, i):
    """Past 'template < ... >' from stmt[i], or i."""
    while i < len(stmt) and stmt[i] == "template":
        i += 1
        if i < len(stmt) and stmt[i] == "<":
            depth = 0
            while i < len(stmt):
                if stmt[i] == "<":
                    depth += 1
                elif stmt[i] == ">":
                    depth -= 1
                    if depth == 0:
                        i += 1
                        break
                elif stmt[i] in ("(", "{", ";"):
                    break
                i += 1
    return i


def skip_attributes(stmt, i):
    """Past [[...]] and alignas(...) from stmt[i]."""
    while i < len(stmt):
        if stmt[i] == "[" and i + 1 < len(stmt) and stmt[i + 1] == "[":
            while i < len(stmt) and not (stmt[i] == "]" and i + 1 < len(stmt) and stmt[i + 1] == "]"):
                i += 1
            i += 2
        elif stmt[i] == "alignas" and i + 1 < len(stmt) and stmt[i + 1] == "(":
            depth = 0
            while i < len(stmt):
                depth += stmt[i] == "("
                depth -= stmt[i] == ")"
                i += 1
                if depth == 0 and stmt[i - 1] == ")":
                    break
        else:
            return i
    return i


SPECIFIERS = {"typedef", "static", "inline", "constexpr", "const", "volatile", "thread_local", "extern"}


def skip_macro_calls(stmt):
    """Past leading macro calls without a semicolon: 'Q_DECLARE_METATYPE(X)'."""
    i = 0
    while i + 1 < len(stmt) and re.match(r"[A-Z][A-Z0-9_]+$", stmt[i]) and stmt[i + 1] == "(":
        depth = 0
        i += 1
        while i < len(stmt):
            depth += stmt[i] == "("
            depth -= stmt[i] == ")"
            i += 1
            if depth == 0:
                break
    return stmt[i:]


def class_head(stmt):
    """The name a statement that ends at '{' defines as a class or enum
    ('' for an unnamed one), or None when it is no class or enum head."""
    stmt = skip_macro_calls(stmt)
    i = skip_template_head(stmt, 0)
    i = skip_attributes(stmt, i)
    while i < len(stmt) and stmt[i] in SPECIFIERS:
        i += 1
    if i >= len(stmt):
        return None
    key = stmt[i]
    if key not in CLASS_KEYS and key != "enum":
        return None
    i += 1
    if key == "enum" and i < len(stmt) and stmt[i] in ("class", "struct"):
        i += 1
    i = skip_attributes(stmt, i)
    name = []
    while i < len(stmt) and (re.match(r"[A-Za-z_]", stmt[i]) or stmt[i] == "::"):
        if stmt[i] == "final" and name:
            break
        name.append(stmt[i])
        i += 1
    rest = stmt[i:]
    if rest[:1] == ["final"]:
        rest = rest[1:]
    if rest and rest[0] == "<":
        return None  # a specialisation names no new type
    if rest and rest[0] != ":":
        return None  # a declarator: 'struct X* f() {' or 'struct X x{'
    if key == "enum" and not name and rest:
        return ""  # enum : int { ... }
    return "".join(name)


def alias_name(stmt):
    """The name a statement that ends at ';' defines as an alias, or None."""
    stmt = skip_macro_calls(stmt)
    i = skip_template_head(stmt, 0)
    if i + 2 < len(stmt) and stmt[i] == "using" and re.match(r"[A-Za-z_]", stmt[i + 1]) \
            and stmt[i + 1] != "namespace":
        j = skip_attributes(stmt, i + 2)
        if j < len(stmt) and stmt[j] == "=":
            return stmt[i + 1]
    if stmt[:1] == ["typedef"]:
        if "(" in stmt:
            # typedef void (*Name)(int);
            k = stmt.index("(")
            for t in stmt[k + 1:]:
                if re.match(r"[A-Za-z_]", t):
                    return t
                if t not in ("*", "&", "::"):
                    break
            return None
        names = [t for t in stmt[1:] if re.match(r"[A-Za-z_]\w*$", t)]
        while names and stmt[-1] == "]":
            # typedef int Name[4];
            k = len(stmt) - 1 - stmt[::-1].index("[")
            stmt = stmt[:k]
            names = [t for t in stmt[1:] if re.match(r"[A-Za-z_]\w*$", t)]
        return names[-1] if names else None
    return None


class Scope:
    def __init__(self, kind, path, head=None):
        self.kind = kind  # "namespace", "anonymous", "class", "block"
        self.path = path  # the qualified prefix of names defined inside
        self.head = head  # a class head's tokens, for the declarator after '}'


def definitions(text):
    """(qualified name, line) of every type defined at namespace scope."""
    found = []
    stack = [Scope("namespace", "")]
    stmt = []
    first_line = None
    head_name = None  # the class a statement's braces defined

    def at_namespace_scope():
        return all(s.kind == "namespace" for s in stack)

    for tok, line in tokens(strip(text)):
        if tok == "{":
            top = stack[-1]
            stmt = skip_macro_calls(stmt)
            if stmt and stmt[0] in ("namespace", "inline") and "namespace" in stmt[:2]:
                rest = stmt[stmt.index("namespace") + 1:]
                name = "".join(t for t in rest if re.match(r"[A-Za-z_]", t) or t == "::")
                if name and top.kind == "namespace":
                    stack.append(Scope("namespace", top.path + name + "::"))
                else:
                    stack.append(Scope("anonymous" if not name else "block", top.path))
            elif stmt == ["extern", '""'] or stmt == ["extern", '"', '"']:
                stack.append(Scope(top.kind, top.path))  # extern "C" { ... }
            else:
                name = class_head(stmt) if at_namespace_scope() else None
                if name is not None:
                    if name and at_namespace_scope():
                        found.append((top.path + name, first_line or line))
                    head_name = top.path + name
                    stack.append(Scope("class", top.path + (name or "<unnamed>") + "::", head=stmt))
                else:
                    stack.append(Scope("block", top.path))
            stmt = []
            first_line = None
        elif tok == "}":
            if len(stack) > 1:
                closed = stack.pop()
                # 'typedef struct { ... } Name;' goes on after the brace.
                stmt = closed.head + ["{", "}"] if closed.head is not None else []
            else:
                stmt = []
            first_line = None
        elif tok == ";":
            if at_namespace_scope():
                name = alias_name(stmt)
                # 'typedef struct X { ... } X;' names one type.
                if name and stack[-1].path + name != head_name:
                    found.append((stack[-1].path + name, first_line or line))
                head_name = None
            stmt = []
            first_line = None
        else:
            if not stmt:
                first_line = line
            stmt.append(tok)
            # 'public:' and the like start a new statement in a class.
            if stack[-1].kind == "class" and len(stmt) == 2 and stmt[1] == ":" and \
                    stmt[0] in ("public", "protected", "private", "signals", "slots"):
                stmt = []
            elif stack[-1].kind == "class" and len(stmt) == 3 and stmt[2] == ":" and \
                    stmt[1] in ("slots", "Q_SLOTS"):
                stmt = []
    return found


def sources(root):
    for folder in FOLDERS:
        top = os.path.join(root, folder)
        for dirpath, dirnames, filenames in os.walk(top):
            rel_dir = os.path.relpath(dirpath, root).replace(os.sep, "/")
            dirnames[:] = sorted(d for d in dirnames
                                 if not any((rel_dir + "/" + d).startswith(s) for s in SKIPPED))
            for name in sorted(filenames):
                if name.endswith(SUFFIXES):
                    yield rel_dir + "/" + name


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--expect")
    args = parser.parse_args()

    places = {}
    count = 0
    for rel in sources(args.root):
        with open(os.path.join(args.root, rel), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for name, line in definitions(text):
            places.setdefault(name, []).append(f"{rel}:{line}")
            count += 1
    twice = {name: where for name, where in places.items() if len(where) > 1}

    if args.expect is not None:
        with open(args.expect, encoding="utf-8") as f:
            expected = sorted(line.strip() for line in f if line.strip())
        if sorted(twice) != expected:
            print(f"expected the names {expected}, got {sorted(twice)}", file=sys.stderr)
            return 1
        print(f"refused as expected: {', '.join(sorted(twice)) or 'nothing'}")
        return 0
    if twice:
        print("Type names defined more than once at namespace scope:", file=sys.stderr)
        for name in sorted(twice):
            print(f"  {name}: {', '.join(twice[name])}", file=sys.stderr)
        return 1
    print(f"{count} types at namespace scope, each name defined once")
    return 0


if __name__ == "__main__":
    sys.exit(main())
