#include "persistence/report_writer.h"

#include "engine/text/codepage.h"

namespace tallix {

std::string ReportBytes(const ReportContent& content) {
    const std::string text =
        "============本内容由Tallix辅助生成============\r\n"
        "文件名称：" +
        content.projectPath + "\r\n" + "有效行数：" + content.foundLines + "\r\n" + "总计行数：" +
        content.totalLines + "\r\n" + "==============================================\r\n";
    return Utf8ToAnsi(text);
}

std::optional<std::string> WriteReport(const std::string& path, const ReportContent& content) {
    return ReplaceFileContents(path, ReportBytes(content), WhenNoNewFile::WriteInPlace);
}

}  // namespace tallix
