"""Random VB6 and VB.NET projects, made on disk from a seed, for the cross-check.

They mix what real projects and careless editors leave behind: CR LF, CR and LF line
ends side by side, GBK and UTF-8 text with and without byte-order marks, designer blocks
and class headers, attribute lines in and out of the first column, tabs, members named
with another letter case than on disk, empty, missing and duplicated members.
"""

import os
import random

CHINESE = "库存管理窗体模块类注释数据表格名称数量价格乗俓僜丂"
TRAIL_BACKSLASH = "乗俓僜"  # their second GBK byte is 0x5C, the backslash


class Writer:
    """Turns a list of lines into file bytes with a chosen encoding and line ends."""

    def __init__(self, rng: random.Random):
        self.rng = rng

    def line_ends(self, count: int) -> list:
        style = self.rng.choice(["crlf", "crlf", "cr", "lf", "mixed"])
        pick = {"crlf": lambda: b"\r\n", "cr": lambda: b"\r", "lf": lambda: b"\n",
                "mixed": lambda: self.rng.choice([b"\r\n", b"\r", b"\n"])}[style]
        ends = [pick() for _ in range(count)]
        if ends and self.rng.random() < 0.25:
            ends[-1] = b""
        return ends

    def encode(self, lines: list, utf8: bool, bom: bool) -> bytes:
        """lines holds str (encoded here) or bytes (taken as they are)."""
        encoding = "utf-8" if utf8 else "gbk"
        parts = [b"\xef\xbb\xbf"] if bom else []
        for line, end in zip(lines, self.line_ends(len(lines))):
            parts.append(line if isinstance(line, bytes) else line.encode(encoding))
            parts.append(end)
        return b"".join(parts)


class LinePool:
    """Source lines of every class the counters tell apart, and the traps between them."""

    def __init__(self, rng: random.Random):
        self.rng = rng

    def words(self) -> str:
        return "".join(self.rng.choice(CHINESE) for _ in range(self.rng.randint(1, 6)))

    def indent(self) -> str:
        return " " * self.rng.choice([0, 0, 1, 4, 8])

    def code(self) -> str:
        return self.rng.choice([
            "Option Explicit",
            "Dim i As Long",
            "Private Sub Form_Load()",
            "End Sub",
            'MsgBox "' + self.words() + '"',
            "x = x + 1 ' " + self.words(),
            "Rem " + self.words(),
            "\t' " + self.words(),
            "\t\t",
            " \t ",
            "#Region \"" + self.words() + "\"",
            "Imports System.Text",
            "<Assembly: ComVisible(False)>",
            "attribute VB_Name = \"lower\"",
            "  Attribute VB_Exposed = False",
            "Attribute Value.VB_UserMemId = 0",
            "\u3000' full-width space first",
        ])

    def comment(self) -> str:
        return self.indent() + self.rng.choice(["'", "' ", "''' <summary>", "'Rem"]) + self.words()

    def blank(self) -> str:
        return self.rng.choice(["", "", " ", "    ", "        "])

    def body_line(self):
        roll = self.rng.random()
        if roll < 0.45:
            return self.indent() + self.code()
        if roll < 0.70:
            return self.comment()
        if roll < 0.90:
            return self.blank()
        if roll < 0.95:
            return "Attribute VB_" + self.rng.choice(["Description", "Ext_KEY", "Name"]) + ' = "x"'
        return self.raw_bytes()

    def raw_bytes(self) -> bytes:
        """Bytes that decode badly or only as GB18030; the decoder must not swallow the
        ASCII that follows them."""
        return self.rng.choice([
            b"x = 1 \x81",
            b"\x81' not a comment",
            b"' \xff\xfe comment",
            b"    \x81\x30\x84\x38 = 1",
            b"\xa1",
            b"  \xc3",
        ])

    def body(self, count: int) -> list:
        return [self.body_line() for _ in range(count)]

    def vb6_header(self, module: str) -> list:
        header = []
        style = self.rng.choice(["form", "class", "none"])
        if style == "form":
            header += ["VERSION 5.00", "Begin VB.Form " + module,
                       "   Caption         =   \"" + self.words() + "\"",
                       "   MaxButton       =   0   'False", "",
                       "   Begin VB.CommandButton Command1", "      TabIndex        =   0",
                       "   End", "End"]
        elif style == "class":
            header += ["VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END"]
        if self.rng.random() < 0.85:
            header.append('Attribute VB_Name = "' + module + '"')
            header += ["Attribute VB_" + a for a in
                       self.rng.sample(["GlobalNameSpace = False", "Creatable = False",
                                        "PredeclaredId = True", "Exposed = False"],
                                       self.rng.randint(0, 4))]
        return header


def vary_case(rng: random.Random, text: str) -> str:
    choice = rng.random()
    if choice < 0.5:
        return text
    if choice < 0.7:
        return text.upper()
    if choice < 0.85:
        return text.lower()
    return "".join(c.swapcase() if rng.random() < 0.5 else c for c in text)


class ProjectMaker:
    """Builds one project folder: member files on disk and the names the project uses."""

    def __init__(self, rng: random.Random, folder: str, kind: str):
        self.rng = rng
        self.folder = folder
        self.kind = kind
        self.writer = Writer(rng)
        self.pool = LinePool(rng)
        self.names = []  # (name as the project writes it, member kind letter for VB6)

    def write_file(self, rel: str, data: bytes):
        path = os.path.join(self.folder, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def member_text(self, module: str) -> bytes:
        if self.rng.random() < 0.08:
            return b""
        lines = self.pool.body(self.rng.randint(0, 25))
        utf8 = self.rng.random() < (0.2 if self.kind == "vb6" else 0.8)
        if self.kind == "vb6":
            lines = self.pool.vb6_header(module) + lines
        elif self.rng.random() < 0.3:
            lines = self.pool.vb6_header(module) + lines
        bom = utf8 and self.rng.random() < 0.8
        return self.writer.encode(lines, utf8, bom)

    def disk_name(self, index: int) -> str:
        stem = self.rng.choice(["Form", "mod", "cls", "Ctl", "Main", "Util", "数据", "R&D",
                                TRAIL_BACKSLASH[index % 3] + "表", "With Space"])
        ext = self.rng.choice([".frm", ".bas", ".cls", ".ctl"] if self.kind == "vb6"
                              else [".vb", ".vb", ".VB"])
        folder = self.rng.choice(["", "", "", "Forms/", "Sub Dir/", "A/b/", "模块/"])
        return f"{folder}{stem}{index}{ext}"

    def add_member(self, index: int):
        rel = self.disk_name(index)
        module = f"M{index}"
        roll = self.rng.random()
        if roll < 0.08:
            pass  # named, never written: a missing member
        elif roll < 0.12:
            os.makedirs(os.path.join(self.folder, rel), exist_ok=True)  # a folder, not a file
        else:
            self.write_file(rel, self.member_text(module))
        name = "\\".join(vary_case(self.rng, part) for part in rel.split("/"))
        self.names.append((name, module))

    def add_case_twins(self, index: int):
        """Two files whose names differ only in letter case, and a third spelling in the
        project: the first in byte order must win."""
        for spelling in (f"Twin{index}.bas", f"TWIN{index}.bas"):
            self.write_file(spelling, self.member_text(f"T{index}"))
        self.names.append((f"twin{index}.bas", f"T{index}"))
        # "Sub" exists exactly, so the look-up stays in it even though "sub/y" would match.
        self.write_file(f"Sub/Y{index}.bas", self.member_text(f"S{index}"))
        self.write_file(f"sub/y{index}.bas", self.member_text(f"s{index}"))
        self.names.append((f"Sub\\y{index}.bas", f"S{index}"))

    def add_parent_member(self, index: int):
        rel = f"../shared{index}/Common{index}.bas"
        self.write_file(rel, self.member_text(f"C{index}"))
        self.names.append((f"..\\SHARED{index}\\common{index}.bas", f"C{index}"))

    def build_members(self, count: int):
        for i in range(count):
            self.add_member(i)
        if self.rng.random() < 0.3:
            self.add_case_twins(count)
        if self.rng.random() < 0.3:
            self.add_parent_member(count)
        if self.names and self.rng.random() < 0.2:
            self.names.append(self.rng.choice(self.names))
        self.rng.shuffle(self.names)


VB6_NOISE = [
    "Type=Exe",
    "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation",
    "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX",
    'Startup="Form1"',
    "form=lower.frm",
    " Form=indented.frm",
    "[MS Transaction Server]",
    "Designer=DataEnvironment1.Dsr",
    "ResFile32=\"app.res\"",
    "RelatedDoc=readme.txt",
    'Title="库存管理"',
    "",
]

VBNET_NOISE = [
    '<?xml version="1.0" encoding="utf-8"?>',
    '  <ItemGroup>',
    '    <Reference Include="System" />',
    '    <None Include="App.config" />',
    '    <compile Include="lower.vb" />',
    '\t<Compile Include="tabbed.vb" />',
    '    <Compile Include="My Project\\AssemblyInfo.vb" />',
    '    <Compile Include="Main.Designer.vb">',
    '      <DependentUpon>Main.vb</DependentUpon>',
    '    </Compile>',
    "",
]


def vb6_project_line(rng: random.Random, name: str, module: str) -> str:
    prefix = rng.choice(["Form=", "Module=", "Class=", "UserControl=", "PropertyPage=",
                         "UserDocument="])
    if prefix in ("Module=", "Class="):
        return f"{prefix}{module};{rng.choice(['', ' ', '  '])}{name}{rng.choice(['', '  '])}"
    return prefix + name


def vbnet_project_line(rng: random.Random, name: str) -> str:
    name = name.replace("&", "&amp;")
    return rng.choice([f'    <Compile Include="{name}" />', f'<Compile Include="{name}">',
                       f'  <Compile Include="{name}" />  '])


def project_lines(rng: random.Random, maker: ProjectMaker) -> list:
    noise = VB6_NOISE if maker.kind == "vb6" else VBNET_NOISE
    lines = [rng.choice(noise) for _ in range(rng.randint(0, 6))]
    for name, module in maker.names:
        if maker.kind == "vb6":
            lines.append(vb6_project_line(rng, name, module))
        else:
            lines.append(vbnet_project_line(rng, name))
        if rng.random() < 0.4:
            lines.append(rng.choice(noise))
    if maker.kind == "vb6" and rng.random() < 0.2:
        lines.append(rng.choice(["Form=", "Module=modEmpty;", "Module=NoSemicolon.bas"]))
    if maker.kind == "vbnet" and rng.random() < 0.2:
        lines.append('    <Compile Include="" />')
        lines.append('    <Compile Include="A.vb" Link="B.vb" />')
    return lines


def make_project(rng: random.Random, folder: str, index: int):
    """Makes one project under folder; returns (project path, kind)."""
    kind = rng.choice(["vb6", "vbnet"])
    maker = ProjectMaker(rng, os.path.join(folder, "proj"), kind)
    maker.build_members(90 if index == 0 else rng.randint(0, 12))
    lines = project_lines(rng, maker)
    utf8 = kind == "vbnet" and rng.random() < 0.8
    bom = rng.random() < (0.95 if utf8 else 0.1)
    ext = ".vbp" if kind == "vb6" else ".vbproj"
    project = os.path.join(maker.folder, f"Project{index}{ext}")
    maker.write_file(os.path.basename(project), maker.writer.encode(lines, utf8, bom))
    return project, kind


def make_projects(root: str, seed: int, count: int) -> list:
    rng = random.Random(seed)
    return [make_project(rng, os.path.join(root, f"p{i:02d}"), i) for i in range(count)]
