#!/usr/bin/env python3
"""Hand-worked cases for vb_reference, so that the cross-check's yardstick is itself checked."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vb_reference as ref  # noqa: E402

FORM = [
    "VERSION 5.00", "Begin VB.Form Form1", "   Caption = \"x\"", "End",
    'Attribute VB_Name = "Form1"', "Attribute VB_GlobalNameSpace = False",
    "Attribute VB_Creatable = False", "Attribute VB_PredeclaredId = True",
    "Attribute VB_Exposed = False", "Option Explicit", "", "' note",
    "Private Sub Form_Load()", "End Sub",
]


class LineReading(unittest.TestCase):
    def test_every_line_end_ends_a_line_and_a_final_one_adds_nothing(self):
        self.assertEqual(ref.split_lines("a\r\nb\rc\nd"), ["a", "b", "c", "d"])
        self.assertEqual(ref.split_lines("a\n\r"), ["a", ""])
        self.assertEqual(ref.split_lines("a\r\n"), ["a"])
        self.assertEqual(ref.split_lines(""), [])
        self.assertEqual(ref.split_lines("\r\n"), [""])

    def test_bom_stays_and_gbk_is_decoded_before_any_test(self):
        self.assertEqual(ref.decode_text(b"\xef\xbb\xbf'x"), "\ufeff'x")
        # 0x81 0x5C is one character; its second byte is not a backslash.
        self.assertEqual(ref.decode_text(b"\x81\x5c.bas"), "乗.bas")
        self.assertEqual(ref.decode_text(b"\x81\r"), "\ufffd\r")


class Readers(unittest.TestCase):
    def test_vb6_prefixes_and_how_each_kind_takes_its_name(self):
        cases = {"Form= a.frm": " a.frm", "Module=M; m.bas  ": "m.bas",
                 "Class=C;c.cls": "c.cls", "Module=NoSemicolon.bas ": "Module=NoSemicolon.bas",
                 "UserControl=u.ctl": "u.ctl", "PropertyPage=p.pag": "p.pag",
                 "UserDocument=d.dob": "d.dob", "Form=": "", "Module=E;": "",
                 "form=x.frm": None, " Form=x.frm": None, "Type=Exe": None}
        for line, name in cases.items():
            self.assertEqual(ref.vb6_member_name(line), name, line)

    def test_vbnet_compile_lines(self):
        cases = {'    <Compile Include="a\\b.vb" />': "a\\b.vb",
                 '<Compile Include="a.vb">': "a.vb",
                 '<Compile Include="a.vb" Link="b.vb" />': 'a.vb" Link="b.vb',
                 '<Compile Include="A&amp;B.vb" />': "A&amp;B.vb",
                 '<Compile Include="" />': "",
                 '\t<Compile Include="t.vb" />': None,
                 '<Compile Include="My Project\\AssemblyInfo.vb" />': None,
                 '<Compile Include="F.Designer.vb" />': None,
                 '<compile Include="l.vb" />': None}
        for line, name in cases.items():
            self.assertEqual(ref.vbnet_member_name(line), name, line)


class Counters(unittest.TestCase):
    def test_vb6_form_skips_designer_and_attributes(self):
        counts = [ref.tally_vb6(FORM).counted(b, c) for b, c in
                  [(False, False), (True, False), (True, True)]]
        self.assertEqual(counts, [5, 4, 3])
        self.assertEqual(ref.tally_vbnet(FORM).counted(False, False), len(FORM))

    def test_classification_traps(self):
        tally = ref.tally_vbnet(["  ' c", "\t' c", "\t", "   ", "", "Rem c", "x ' c",
                                 "\ufeff' c"])
        self.assertEqual((tally.code, tally.comment, tally.blank), (5, 1, 2))

    def test_vb6_without_name_attribute_counts_nothing(self):
        self.assertEqual(ref.tally_vb6(["Option Explicit", " Attribute VB_Name = \"x\""]),
                         ref.Tally())
        self.assertEqual(ref.tally_vb6(["\ufeffAttribute VB_Name = \"x\"", "x"]), ref.Tally())


class MemberPaths(unittest.TestCase):
    def test_exact_component_first_then_first_case_match_in_byte_order(self):
        with tempfile.TemporaryDirectory() as root:
            for rel in ("Sub/Y.bas", "sub/y.bas", "Twin.bas", "TWIN.bas"):
                os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
                open(os.path.join(root, rel), "w").close()
            folder = root + "/"
            self.assertEqual(ref.resolve_member_path(folder, "sub\\y.bas"), root + "/sub/y.bas")
            self.assertEqual(ref.resolve_member_path(folder, "Sub\\y.bas"), root + "/Sub/Y.bas")
            self.assertEqual(ref.resolve_member_path(folder, "SUB\\Y.BAS"), root + "/Sub/Y.bas")
            self.assertEqual(ref.resolve_member_path(folder, "twin.bas"), root + "/TWIN.bas")
            self.assertEqual(ref.project_folder("Inventory.vbp"), "")


if __name__ == "__main__":
    unittest.main()
