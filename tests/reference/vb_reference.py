"""A second, independent reading of how Tallix reads VB projects and counts their lines.

Written without looking at the C++ engine, so that a shared misreading is unlikely:
the cross-check compares the two member by member.
"""

import os
from dataclasses import dataclass

UTF8_BOM = b"\xef\xbb\xbf"


def decode_text(data: bytes) -> str:
    """UTF-8 when the file starts with a byte-order mark (which stays as the first
    character), code page 936 otherwise; bytes that do not decode become U+FFFD."""
    if data.startswith(UTF8_BOM):
        return data.decode("utf-8", "replace")
    return data.decode("gbk", "replace")


def split_lines(text: str) -> list:
    """Lines end at CR LF, a lone CR or a lone LF; a final terminator adds no empty line."""
    lines = []
    start = 0
    i = 0
    n = len(text)
    while i < n:
        ch = text[i]
        if ch == "\r" or ch == "\n":
            lines.append(text[start:i])
            i += 2 if ch == "\r" and i + 1 < n and text[i + 1] == "\n" else 1
            start = i
        else:
            i += 1
    if start < n:
        lines.append(text[start:])
    return lines


def read_lines(path: str) -> list:
    with open(path, "rb") as f:
        return split_lines(decode_text(f.read()))


def trim(s: str) -> str:
    """Only spaces are trimmed; tabs and other white space stay."""
    return s.strip(" ")


# (prefix, takes the text after "=" untrimmed) in the order they are tested.
VB6_MEMBER_PREFIXES = [
    ("Form=", True),
    ("Module=", False),
    ("Class=", False),
    ("UserControl=", True),
    ("PropertyPage=", True),
    ("UserDocument=", True),
]


def vb6_member_name(line: str):
    for prefix, after_equals in VB6_MEMBER_PREFIXES:
        if line.startswith(prefix):
            if after_equals:
                return line[line.index("=") + 1:]
            semicolon = line.find(";")
            return trim(line if semicolon < 0 else line[semicolon + 1:])
    return None


def vbnet_member_name(line: str):
    t = trim(line)
    if not t.startswith("<Compile Include="):
        return None
    if "AssemblyInfo." in t or ".Designer." in t:
        return None
    first = t.find('"')
    last = t.rfind('"')
    return t[first + 1:last]


UTF16_MARKS = {b"\xff\xfe": "utf-16-le", b"\xfe\xff": "utf-16-be"}
GBK_NAMES = {"gb2312", "gbk", "gb18030", "cp936", "x-gbk", "windows-936"}
LATIN_NAMES = {"windows-1252", "cp1252", "iso-8859-1", "latin1"}


def declared_encoding(data: bytes):
    """The encoding an XML declaration at the very start names, lower case, if any."""
    head = data[3:] if data.startswith(UTF8_BOM) else data
    if not head.startswith(b"<?xml") or len(head) < 6 or head[5:6] not in b" \t\r\n":
        return None
    declaration = head[: head.find(b"?>")] if b"?>" in head else head
    at = declaration.find(b"encoding")
    if at < 0:
        return None
    rest = declaration[at + 8:].lstrip(b" \t\r\n")
    if not rest.startswith(b"="):
        return None
    rest = rest[1:].lstrip(b" \t\r\n")
    if not rest or rest[:1] not in b"\"'" or rest[:1] not in rest[1:]:
        return None
    return rest[1: rest.index(rest[:1], 1)].decode("ascii", "replace").lower()


def utf8_or_gbk(data: bytes) -> str:
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("gbk", "replace")


def decode_project(data: bytes, kind: str) -> str:
    """A VB6 project is code page 936 unless a byte-order mark says otherwise; a .vbproj is
    XML: a mark, then UTF-16 as XML writes it unmarked, then the declared encoding, then
    UTF-8 when the text is valid UTF-8 and code page 936 when it is not."""
    if data.startswith(UTF8_BOM):
        return data.decode("utf-8", "replace")
    for mark, encoding in UTF16_MARKS.items():
        if data.startswith(mark):
            return data.decode(encoding, "replace")
    if kind == "vb6":
        return data.decode("gbk", "replace")
    if data.startswith(b"<\0?\0"):
        return data.decode("utf-16-le", "replace")
    if data.startswith(b"\0<\0?"):
        return data.decode("utf-16-be", "replace")
    declared = declared_encoding(data[:512])
    if declared in GBK_NAMES:
        return data.decode("gbk", "replace")
    if declared in LATIN_NAMES:
        return data.decode("cp1252", "replace")
    return utf8_or_gbk(data)


def read_project(path: str, kind: str) -> list:
    member_name = vb6_member_name if kind == "vb6" else vbnet_member_name
    names = []
    with open(path, "rb") as f:
        lines = split_lines(decode_project(f.read(), kind))
    for line in lines:
        name = member_name(line)
        if name is not None:
            names.append(name)
    return names


def project_folder(project_path: str) -> str:
    return project_path[: project_path.rfind("/") + 1]


def is_normal_file(path: str) -> bool:
    return os.path.isfile(path)


def ascii_fold(name: bytes) -> bytes:
    return bytes(b + 32 if 65 <= b <= 90 else b for b in name)


def match_component(folder: bytes, component: bytes):
    """The entry of folder named component: the exact name when present, else the first
    name in byte order that equals it when ASCII letter case is ignored."""
    base = folder if folder else b"."
    if os.path.lexists(os.path.join(base, component)):
        return component
    try:
        entries = sorted(os.listdir(base))
    except OSError:
        return None
    wanted = ascii_fold(component)
    for entry in entries:
        if ascii_fold(entry) == wanted:
            return entry
    return None


def resolve_member_path(folder: str, name: str) -> str:
    exact = folder + name.replace("\\", "/")
    if is_normal_file(exact):
        return exact
    raw = os.fsencode(exact)
    absolute = raw.startswith(b"/")
    resolved = b"/" if absolute else b""
    for component in raw.split(b"/")[1 if absolute else 0:]:
        found = match_component(resolved, component) if component else None
        if found is None:
            return exact
        resolved = os.path.join(resolved, found) if resolved else found
    return os.fsdecode(resolved)


@dataclass
class Tally:
    code: int = 0
    comment: int = 0
    blank: int = 0

    def add(self, line: str):
        t = trim(line)
        if t.startswith("'"):
            self.comment += 1
        elif t == "":
            self.blank += 1
        else:
            self.code += 1

    def counted(self, skip_blank: bool, skip_comments: bool) -> int:
        return (self.code + (0 if skip_comments else self.comment)
                + (0 if skip_blank else self.blank))


def tally_vb6(lines: list) -> Tally:
    """Nothing before the module's name attribute counts, nor any module attribute line."""
    tally = Tally()
    in_code = False
    for line in lines:
        if line.startswith("Attribute VB_Name"):
            in_code = True
        if in_code and not line.startswith("Attribute VB_"):
            tally.add(line)
    return tally


def tally_vbnet(lines: list) -> Tally:
    tally = Tally()
    for line in lines:
        tally.add(line)
    return tally


@dataclass
class MemberResult:
    name: str
    lines: int
    tally: Tally
    unreadable: bool


def count_member(folder: str, name: str, kind: str, skip_blank: bool, skip_comments: bool):
    path = resolve_member_path(folder, name)
    if not is_normal_file(path):
        return MemberResult(name, 0, Tally(), True)
    try:
        lines = read_lines(path)
    except OSError:
        return MemberResult(name, 0, Tally(), True)
    tally = tally_vb6(lines) if kind == "vb6" else tally_vbnet(lines)
    return MemberResult(name, tally.counted(skip_blank, skip_comments), tally, False)


def analyse(project_path: str, kind: str, skip_blank: bool, skip_comments: bool) -> dict:
    """What a whole run yields: every member in project order, the per-file list of
    members that counted more than 0 lines, and the total as text."""
    folder = project_folder(project_path)
    members = [count_member(folder, name, kind, skip_blank, skip_comments)
               for name in read_project(project_path, kind)]
    found = ",".join(f"{m.name}:{m.lines}" for m in members if m.lines > 0)
    total = sum(m.lines for m in members)
    return {"members": members, "found_lines": found, "total": str(total)}
