#include "bench/synthetic_source.h"

#include <array>
#include <random>
#include <string_view>

namespace tallix::bench {

namespace {

constexpr std::string_view kEol = "\r\n";

// Chinese phrases in code page 936 (compute the total, check the input, open the database,
// initialise the form, save the settings, handle the error, student marks).
constexpr std::array<std::string_view, 7> kChinese{
    "\xBC\xC6\xCB\xE3\xBA\xCF\xBC\xC6\xBD\xF0\xB6\xEE",
    "\xBC\xEC\xB2\xE9\xCA\xE4\xC8\xEB\xCA\xC7\xB7\xF1\xD3\xD0\xD0\xA7",
    "\xB4\xF2\xBF\xAA\xCA\xFD\xBE\xDD\xBF\xE2\xC1\xAC\xBD\xD3",
    "\xB3\xF5\xCA\xBC\xBB\xAF\xB4\xB0\xCC\xE5",
    "\xB1\xA3\xB4\xE6\xD3\xC3\xBB\xA7\xC9\xE8\xD6\xC3",
    "\xD6\xD0\xCE\xC4\xD7\xA2\xCA\xCD\xA3\xBA\xB4\xA6\xC0\xED\xB4\xED\xCE\xF3",
    "\xD1\xA7\xC9\xFA\xB3\xC9\xBC\xA8",
};

constexpr std::array<std::string_view, 5> kEnglishComments{
    "Keep the old value so Cancel can restore it", "TODO: handle the empty list",
    "The grid is 1-based, the collection 0-based", "Called from the timer as well",
    "Rounded to two decimals for the report",
};

constexpr std::array<std::string_view, 10> kCode{
    "Dim total As Long",
    "total = total + items(i).Amount * rate",
    "If Len(txtName.Text) = 0 Then Exit Sub",
    "For i = LBound(values) To UBound(values)",
    "Next i",
    "Set rs = db.OpenRecordset(\"SELECT * FROM Orders WHERE Id = \" & CStr(id))",
    "Call SaveSetting(App.EXEName, \"Setting\", \"BlankLine\", CStr(chkBlank.Value))",
    "End If",
    "lblStatus.Caption = Format$(Now, \"yyyy-mm-dd hh:nn:ss\")",
    "Private Sub cmdOk_Click()",
};

class LineMaker {
public:
    explicit LineMaker(unsigned seed) : random_(seed) {}

    int Roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

    // One body line with its line end.
    void AppendBodyLine(std::string& out) {
        const int kind = Roll(100);
        if (kind < 10) {
            out.append(static_cast<std::size_t>(Roll(3) == 0 ? 4 : 0), ' ');
        } else if (kind < 20) {
            out.append(static_cast<std::size_t>(4 * Roll(3)), ' ');
            out += "' ";
            out += kind < 15 ? kChinese[Roll(kChinese.size())]
                             : kEnglishComments[Roll(kEnglishComments.size())];
        } else if (Roll(256) == 0) {
            AppendLongLine(out);
        } else {
            out.append(static_cast<std::size_t>(4 * Roll(4)), ' ');
            out += kCode[Roll(kCode.size())];
            if (kind < 25) {
                out += " ' ";
                out += kChinese[Roll(kChinese.size())];
            }
        }
        out += kEol;
    }

private:
    // A long string built over one line, as generated SQL and messages often are.
    void AppendLongLine(std::string& out) {
        out += "    sql = \"";
        const int pieces = 20 + Roll(200);
        for (int i = 0; i < pieces; ++i) {
            out += "field";
            out += std::to_string(i);
            out += ", ";
        }
        out += '"';
    }

    std::mt19937 random_;
};

void AppendLine(std::string& out, std::string_view line) {
    out += line;
    out += kEol;
}

void AppendDesignerBlock(std::string& out, int controls) {
    AppendLine(out, "VERSION 5.00");
    AppendLine(out, "Begin VB.Form frmMain ");
    AppendLine(out, "   Caption         =   \"Main\"");
    AppendLine(out, "   ClientHeight    =   5400");
    AppendLine(out, "   ClientWidth     =   7200");
    for (int i = 0; i < controls; ++i) {
        AppendLine(out, "   Begin VB.CommandButton Command" + std::to_string(i) + " ");
        AppendLine(out, "      Caption         =   \"&OK\"");
        AppendLine(out, "      Height          =   375");
        AppendLine(out, "      TabIndex        =   " + std::to_string(i));
        AppendLine(out, "   End");
    }
    AppendLine(out, "End");
    AppendLine(out, "Attribute VB_Name = \"frmMain\"");
    AppendLine(out, "Attribute VB_GlobalNameSpace = False");
    AppendLine(out, "Attribute VB_Creatable = False");
    AppendLine(out, "Attribute VB_PredeclaredId = True");
    AppendLine(out, "Attribute VB_Exposed = False");
}

void FillBody(std::string& out, std::size_t size, unsigned seed) {
    LineMaker lines(seed);
    while (out.size() < size) {
        lines.AppendBodyLine(out);
    }
}

}  // namespace

std::string Vb6FormText(std::size_t size, unsigned seed) {
    std::string out;
    out.reserve(size + 4096);
    AppendDesignerBlock(out, 30);
    AppendLine(out, "Option Explicit");
    FillBody(out, size, seed);
    return out;
}

std::string VbNetMemberText(std::size_t size, unsigned seed) {
    std::string out;
    out.reserve(size + 4096);
    AppendLine(out, "Imports System.Data");
    AppendLine(out, "Public Class Form1");
    FillBody(out, size, seed);
    AppendLine(out, "End Class");
    return out;
}

std::string ChineseText(std::size_t size, unsigned seed) {
    std::string out;
    out.reserve(size + 256);
    LineMaker random(seed);
    while (out.size() < size) {
        out += "' ";
        for (int i = 0; i < 4; ++i) {
            out += kChinese[random.Roll(kChinese.size())];
        }
        out += kEol;
    }
    return out;
}

std::string Vb6ProjectText(int members) {
    std::string out;
    AppendLine(out, "Type=Exe");
    AppendLine(out,
               "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
               "..\\..\\Windows\\SysWOW64\\stdole2.tlb#OLE Automation");
    AppendLine(out, "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX");
    for (int i = 0; i < members; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 3) {
            case 0:
                AppendLine(out, "Form=Forms\\frm" + n + ".frm");
                break;
            case 1:
                AppendLine(out, "Module=mod" + n + "; Modules\\mod" + n + ".bas");
                break;
            default:
                AppendLine(out, "Class=cls" + n + "; Classes\\cls" + n + ".cls");
                break;
        }
    }
    AppendLine(out, "Startup=\"frm0\"");
    AppendLine(out, "ExeName32=\"Demo.exe\"");
    AppendLine(out, "Command32=\"\"");
    AppendLine(out, "Name=\"Demo\"");
    AppendLine(out, "MajorVer=1");
    AppendLine(out, "VersionCompanyName=\"Demo\"");
    return out;
}

std::string VbNetProjectText(int members) {
    std::string out;
    AppendLine(out, "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    AppendLine(out,
               "<Project ToolsVersion=\"4.0\" DefaultTargets=\"Build\" "
               "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">");
    AppendLine(out, "  <ItemGroup>");
    AppendLine(out, "    <Reference Include=\"System.Data\" />");
    AppendLine(out, "  </ItemGroup>");
    AppendLine(out, "  <ItemGroup>");
    for (int i = 0; i < members; ++i) {
        const std::string n = std::to_string(i);
        AppendLine(out, "    <Compile Include=\"Form" + n + ".vb\">");
        AppendLine(out, "      <SubType>Form</SubType>");
        AppendLine(out, "    </Compile>");
        AppendLine(out, "    <Compile Include=\"Form" + n + ".Designer.vb\">");
        AppendLine(out, "      <DependentUpon>Form" + n + ".vb</DependentUpon>");
        AppendLine(out, "    </Compile>");
    }
    AppendLine(out, "    <Compile Include=\"My Project\\AssemblyInfo.vb\" />");
    AppendLine(out, "  </ItemGroup>");
    AppendLine(out, "</Project>");
    return out;
}

}  // namespace tallix::bench
