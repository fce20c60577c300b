#include "cli/inventory_messages.h"

#include "cli/terminal_text.h"

namespace tallix::cli {

std::string_view MemberKindLabel(MemberKind kind) {
    switch (kind) {
        case MemberKind::Form:
            return "窗体";
        case MemberKind::Module:
            return "模块";
        case MemberKind::Class:
            return "类模块";
        case MemberKind::UserControl:
            return "用户控件";
        case MemberKind::PropertyPage:
            return "属性页";
        case MemberKind::UserDocument:
            return "用户文档";
        case MemberKind::Designer:
            return "设计器";
        case MemberKind::Code:
            break;
    }
    return "代码文件";
}

std::string_view ReferenceKindHeading(ReferenceKind kind) {
    switch (kind) {
        case ReferenceKind::TypeLibrary:
            return "类型库引用";
        case ReferenceKind::Component:
            return "ActiveX 部件";
        case ReferenceKind::VbProject:
            return "VB6 工程引用";
        case ReferenceKind::Assembly:
            return "程序集引用";
        case ReferenceKind::Package:
            return "NuGet 包";
        case ReferenceKind::Com:
            return "COM 引用";
        case ReferenceKind::Project:
            break;
    }
    return "工程引用";
}

std::string_view ReferenceKindName(ReferenceKind kind) {
    switch (kind) {
        case ReferenceKind::TypeLibrary:
            return "type_library";
        case ReferenceKind::Component:
            return "component";
        case ReferenceKind::VbProject:
            return "vb6_project";
        case ReferenceKind::Assembly:
            return "assembly";
        case ReferenceKind::Package:
            return "package";
        case ReferenceKind::Com:
            return "com";
        case ReferenceKind::Project:
            break;
    }
    return "project";
}

std::string_view MemberNoteName(MemberNote::Kind kind) {
    switch (kind) {
        case MemberNote::Kind::DesignerNotClosed:
            return "designer_not_closed";
        case MemberNote::Kind::EndWithoutBegin:
            return "end_without_begin";
        case MemberNote::Kind::NoNameAttribute:
            return "no_name_attribute";
        case MemberNote::Kind::Binary:
            return "binary";
        case MemberNote::Kind::PartnerUnreadable:
            break;
    }
    return "designer_partner_unreadable";
}

std::string MemberNoteText(const MemberNote& note) {
    const std::string line = std::to_string(note.line);
    const std::string count = std::to_string(note.count);
    switch (note.kind) {
        case MemberNote::Kind::DesignerNotClosed:
            return "设计块未结束：到第 " + line + " 行还有 " + count + " 个 Begin 没有对应的 End";
        case MemberNote::Kind::EndWithoutBegin:
            return "设计块第 " + line + " 行的 End 没有对应的 Begin" +
                   (note.count > 1 ? "（共 " + count + " 处）" : "");
        case MemberNote::Kind::NoNameAttribute:
            return "没有“Attribute VB_Name”行，全部按设计器行计，不统计代码";
        case MemberNote::Kind::Binary:
            return "第 " + line +
                   " 行起含有 NUL 字节：可能是二进制文件或 UTF-16 文本，清点结果未必准确";
        case MemberNote::Kind::PartnerUnreadable:
            break;
    }
    return note.detail.empty() ? "设计器文件（.Designer.vb）无法读取"
                               : "设计器文件（.Designer.vb）无法读取（" + note.detail + "）";
}

std::string MalformedReferenceText(const Reference& reference) {
    const std::string where =
        reference.line > 0 ? "第 " + std::to_string(reference.line) + " 行" : "";
    return "工程文件" + where + "的引用格式不对，已照原文列出：" + ShowControls(reference.written);
}

}  // namespace tallix::cli
