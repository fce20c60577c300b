#include "cli/problem_text.h"

namespace tallix::cli {

std::string ProblemReason(const FileProblem& problem) {
    switch (problem.error) {
        case FileError::None:
            return "";
        case FileError::Missing:
            return "文件不存在";
        case FileError::NotAFile:
            return "不是普通文件";
        case FileError::Unreadable:
            return problem.detail.empty() ? "无法读取" : "无法读取（" + problem.detail + "）";
    }
    return "无法读取";
}

}  // namespace tallix::cli
