#!/usr/bin/env python3
"""Writes Readme.txt, the player's guide in the release zip, from the README's Japanese section.

    scripts/readme_txt.py README.md VERSION OUT

The section "## プレイヤーの方へ" up to the next "## " heading becomes plain text, as Japanese
players expect beside an exe: code page 932, CR LF line ends. Headings become "■" lines, lists
"・" items, tables one item per row with the header's names, code blocks are indented, and
pictures and Markdown marks are dropped. A character that code page 932 cannot hold stops the
run with the line that has it.
"""

import re
import sys

SECTION = "## プレイヤーの方へ"

# Characters that Unicode spells differently from code page 932's own mapping.
CP932_SPELLING = str.maketrans({"〜": "～", "−": "－", "‖": "∥", "¢": "￠", "£": "￡", "¬": "￢"})


def japanese_section(markdown):
    lines = markdown.splitlines()
    try:
        start = lines.index(SECTION) + 1
    except ValueError:
        sys.exit(f"readme_txt: the README has no heading '{SECTION}'")
    end = next((i for i in range(start, len(lines)) if lines[i].startswith("## ")), len(lines))
    return lines[start:end]


def inline(text):
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)  # a link keeps its words
    return text.replace("`", "").replace("**", "")


def table_rows(lines):
    cells = [[inline(c.strip()) for c in line.strip().strip("|").split("|")] for line in lines]
    header, rows = cells[0], [r for r in cells[1:] if not all(re.fullmatch(r":?-+:?", c) for c in r)]
    out = []
    for row in rows:
        out.append("・" + row[0])
        out.extend(f"　　{name}: {value}" for name, value in zip(header[1:], row[1:]))
    return out


def plain_text(section, version):
    out = [f"Quorvane Ver.{version}", "=" * 40]
    i = 0
    while i < len(section):
        line = section[i]
        if line.startswith("```"):
            i += 1
            while i < len(section) and not section[i].startswith("```"):
                out.append("    " + section[i])
                i += 1
        elif line.startswith("|"):
            block = []
            while i < len(section) and section[i].startswith("|"):
                block.append(section[i])
                i += 1
            out.extend(table_rows(block))
            continue
        elif line.startswith("!["):
            pass  # pictures are for the web page only
        elif line.startswith("### "):
            if out[-1] != "":
                out.append("")
            out.append("■" + inline(line[4:]))
        elif line.startswith("- "):
            out.append("・" + inline(line[2:]))
        else:
            out.append(inline(line))
        i += 1
    text = re.sub(r"\n{3,}", "\n\n", "\n".join(out).strip("\n") + "\n")
    return text


def encode(text):
    text = text.translate(CP932_SPELLING)
    for number, line in enumerate(text.split("\n"), 1):
        try:
            line.encode("cp932")
        except UnicodeEncodeError as e:
            sys.exit(f"readme_txt: line {number} has '{line[e.start]}', which code page 932 lacks: {line}")
    return text.replace("\n", "\r\n").encode("cp932")


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: readme_txt.py README.md VERSION OUT")
    with open(sys.argv[1], encoding="utf-8") as f:
        section = japanese_section(f.read())
    data = encode(plain_text(section, sys.argv[2]))
    with open(sys.argv[3], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
