#include "cli/arguments.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>
#include <string_view>

#include "version/version.h"

namespace tallix::cli {
namespace {

constexpr const char* kUsageLine =
    "tallix [--vb6 | --vbnet] [--skip-blank] [--skip-comments] [--json | --csv] "
    "[--report FILE] [--deposit FILE.pdf [--software-name NAME] [--software-version VERSION] "
    "[--all-pages]] PROJECT";
constexpr const char* kInventoryUsageLine =
    "tallix --inventory [--vb6 | --vbnet] [--skip-blank] [--skip-comments] "
    "[--json | --csv | --csv=references] PROJECT";

// CLI11's help speaks English; the window speaks Chinese, and so does the command line.
class ChineseHelpFormatter : public CLI::Formatter {
public:
    ChineseHelpFormatter() {
        label("Positionals", "参数");
        label("Options", "选项");
        column_width(20);
    }

    // The usage line already shows which flags exclude each other, and no option here
    // takes a value, so the English annotations after option names would only add noise.
    std::string make_option_opts(const CLI::Option* option) const override {
        const std::string& text = option->get_option_text();
        return text.empty() ? "" : " " + text;
    }

    // "--csv{rows}" is how CLI11 is told what a bare --csv means; the help says --csv.
    std::string make_option_name(const CLI::Option* option, bool positional) const override {
        std::string name = CLI::Formatter::make_option_name(option, positional);
        const auto brace = name.find('{');
        return brace == std::string::npos ? name : name.substr(0, brace);
    }

    // The generated usage line would read "[OPTIONS] PROJECT" and hide the exclusive pair.
    std::string make_usage(const CLI::App*, std::string) const override {
        return std::string("用法：") + kUsageLine + "\n      " + kInventoryUsageLine + "\n";
    }
};

// The flags as CLI11 fills them; turned into CliOptions once parsing has succeeded.
struct RawArguments {
    std::string project;
    bool vb6 = false;
    bool vbnet = false;
    bool skipBlank = false;
    bool skipComments = false;
    bool json = false;
    std::string csv;  // "" without --csv, kCsvRows with it, or what --csv= gives
    bool inventory = false;
    std::string report;
    std::string deposit;
    std::optional<std::string> softwareName;
    std::optional<std::string> softwareVersion;
    bool allPages = false;
};

constexpr const char* kCsvRows = "rows";
constexpr const char* kCsvReferences = "references";

void DefineArguments(CLI::App& app, RawArguments& raw) {
    app.formatter(std::make_shared<ChineseHelpFormatter>());
    app.option_defaults()->group("选项");
    app.set_help_flag("-h,--help", "显示本帮助并退出");
    app.set_version_flag("--version", "tallix " + VersionText(), "显示版本号并退出");
    // Unknown arguments are collected rather than rejected so they can be named in Chinese.
    app.allow_extras();
    // CLI11 takes "/x" for a switch on Windows, where it is also a path from the drive root.
    app.allow_windows_style_options(false);
    app.footer(
        "未指定 --vb6 或 --vbnet 时按扩展名判断：.vbproj（不分大小写）为 VB.NET 工程，其余为 VB6 "
        "工程。\n"
        "PROJECT 也可以是 VB6 工程组（.vbg）、解决方案（.sln）或文件夹（其下所有 .vbp 和 .vbproj，"
        "不含 .git、bin、obj "
        "文件夹）：逐个工程输出成员表和小计，最后输出总计，多个工程共用的文件只计"
        "一次；各工程的类型按扩展名判断，不可与 --vb6、--vbnet、--report 同用。--json 输出"
        "{\"projects\": [每个工程的对象], \"total\": 总计}。\n"
        "--inventory "
        "清点工程的组成：每个工程列出类型、各类成员（窗体、模块、类模块、用户控件、属性页、"
        "用户文档、设计器；VB.NET 有 .Designer.vb 的成员为窗体）、行数、设计器行、过程、Declare "
        "语句及其 DLL、控件及其类型、引用和部件及其版本；工程组、解决方案和文件夹最后给出汇总："
        "共用的文件只计一次并列出共用它的工程，引用合并，同一部件版本不同的标为版本冲突。--json "
        "输出"
        "带 schema 版本号的文档；--csv 每个成员一行：project,member,kind,lines,code,comment,blank,"
        "designer,procedures,declares,controls,problem；--csv=references 每个引用一行。\n"
        "退出状态：0 全部成员已统计；1 工程文件不存在或无法读取；2 用法错误；3 部分成员无法读取；"
        "4 报告或源程序文件无法写入；5 结果未能完整写入标准输出；6 "
        "没有可导出的源程序行（未写入文件）；7 内存不足，统计未完成。"
        "多种情况同时出现时取其中最大者。\n"
        "--deposit 为软件著作权登记导出源程序 PDF：源程序行与统计的行相同（按 --skip-blank、"
        "--skip-comments），每页 50 行，超过 60 页时导出前 30 页和后 30 页；标准输出给出源程序量、"
        "总页数和导出的页（--json 时为字段）。软件名称和版本号默认取自工程文件。");

    CLI::Option* vb6 =
        app.add_flag("--vb6", raw.vb6, "按 VB6 工程（.vbp）分析，不可与 --vbnet 同用");
    CLI::Option* vbnet = app.add_flag("--vbnet", raw.vbnet, "按 VB7/8/9 工程（.vbproj）分析");
    vb6->excludes(vbnet);
    app.add_flag("--skip-blank", raw.skipBlank, "不统计空白行");
    app.add_flag("--skip-comments", raw.skipComments, "不统计注释行");
    CLI::Option* json = app.add_flag("--json", raw.json, "以 JSON 格式输出结果（UTF-8）");
    CLI::Option* csv = app.add_flag(
        std::string("--csv{") + kCsvRows + "}", raw.csv,
        "以 CSV 格式输出，每个成员一行：project,member,path,lines,code,comment,blank,error；"
        "与 --inventory 同用时见下文，--csv=references 每个引用一行");
    app.add_flag("--inventory", raw.inventory,
                 "清点工程的组成：引用和部件、各类成员、设计器行、过程、Declare 语句和控件");
    json->excludes(csv);
    app.add_option("--report", raw.report, "同时把五行分析报告写入 FILE（与窗口保存的报告相同）")
        ->option_text("FILE");
    app.add_option("--deposit", raw.deposit,
                   "导出软件著作权登记用的源程序 PDF 到 FILE.pdf，代替输出统计表")
        ->option_text("FILE.pdf");
    app.add_option("--software-name", raw.softwareName, "每页页眉上的软件名称（默认取自工程）")
        ->option_text("NAME");
    app.add_option("--software-version", raw.softwareVersion,
                   "每页页眉上的版本号（默认取自工程，如 V1.0）")
        ->option_text("VERSION");
    app.add_flag("--all-pages", raw.allPages, "导出全部页，而不是超过 60 页时的前 30 页和后 30 页");
    app.add_option("PROJECT", raw.project,
                   "工程文件（.vbp 或 .vbproj）、工程组（.vbg）、解决方案（.sln）或文件夹")
        ->required();
}

CliOptions ToOptions(const RawArguments& raw) {
    CliOptions options;
    options.project = raw.project;
    options.kindGiven = raw.vb6 || raw.vbnet;
    if (raw.vb6) {
        options.kind = SourceKind::Vb6;
    } else if (raw.vbnet) {
        options.kind = SourceKind::VbNet;
    } else {
        options.kind = KindFromProjectPath(raw.project);
    }
    options.counting.skipBlankLines = raw.skipBlank;
    options.counting.skipCommentLines = raw.skipComments;
    options.json = raw.json;
    options.csv = !raw.csv.empty();
    options.csvReferences = raw.csv == kCsvReferences;
    options.inventory = raw.inventory;
    options.report = raw.report;
    options.deposit = raw.deposit;
    options.softwareName = raw.softwareName;
    options.softwareVersion = raw.softwareVersion;
    options.allPages = raw.allPages;
    return options;
}

std::string UsageErrorMessage(const CLI::ParseError& error) {
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        return "缺少工程文件（PROJECT）";
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) {
        return std::string(error.what()).find("--csv") != std::string::npos
                   ? "--json 与 --csv 不能同时使用"
                   : "--vb6 与 --vbnet 不能同时使用";
    }
    return std::string("参数错误：") + error.what();
}

constexpr const char* kEmptyReportMessage = "--report 需要一个文件名，不能为空";
constexpr const char* kEmptyDepositMessage = "--deposit 需要一个文件名，不能为空";

// CLI11 reads "--report=" as "--report" waiting for its value and takes the next argument,
// the project, as the file to write; so it is caught before CLI11 sees it.
bool HasEmptyAssignment(const std::vector<std::string>& args, std::string_view option) {
    for (const std::string& arg : args) {
        if (arg == "--") {
            return false;
        }
        if (arg.size() == option.size() + 1 && arg.starts_with(option) && arg.back() == '=') {
            return true;
        }
    }
    return false;
}

// An empty name or version is a name or version, but CLI11 reads "--software-name=" as the
// option waiting for its value; so the empty value is given apart.
std::vector<std::string> WithEmptyValuesApart(const std::vector<std::string>& args) {
    std::vector<std::string> apart;
    bool options = true;
    for (const std::string& arg : args) {
        options = options && arg != "--";
        if (options && (arg == "--software-name=" || arg == "--software-version=")) {
            apart.push_back(arg.substr(0, arg.size() - 1));
            apart.emplace_back();
        } else {
            apart.push_back(arg);
        }
    }
    return apart;
}

// What the deposit's options leave unusable, or "" when they go together.
std::string DepositUsageProblem(const CLI::App& app, const RawArguments& raw) {
    if (app.count("--deposit") == 0) {
        for (const char* option : {"--software-name", "--software-version", "--all-pages"}) {
            if (app.count(option) > 0) {
                return std::string(option) + " 只能与 --deposit 同用";
            }
        }
        return "";
    }
    if (raw.deposit.empty()) {
        return kEmptyDepositMessage;
    }
    // A deposit prints its summary, not a row per member nor an inventory.
    if (!raw.csv.empty()) {
        return "--csv 不能与 --deposit 同用";
    }
    if (raw.inventory) {
        return "--inventory 不能与 --deposit 同用";
    }
    return "";
}

std::string JoinExtras(const std::vector<std::string>& extras) {
    std::string joined;
    for (const std::string& extra : extras) {
        if (extra != "--") {
            joined += (joined.empty() ? "" : " ") + extra;
        }
    }
    return joined;
}

}  // namespace

ParseOutcome BadUsage(const std::string& message) {
    ParseOutcome outcome;
    outcome.exitCode = kExitBadUsage;
    outcome.err = "tallix：" + message + "\n用法：" + kUsageLine + "\n      " +
                  kInventoryUsageLine + "\n运行“tallix --help”查看详细说明。\n";
    return outcome;
}

SourceKind KindFromProjectPath(std::string_view path) {
    constexpr std::string_view kVbNetExtension = ".vbproj";
    if (path.size() < kVbNetExtension.size()) {
        return SourceKind::Vb6;
    }
    std::string_view tail = path.substr(path.size() - kVbNetExtension.size());
    bool isVbNet =
        std::equal(tail.begin(), tail.end(), kVbNetExtension.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    return isVbNet ? SourceKind::VbNet : SourceKind::Vb6;
}

ParseOutcome ParseArguments(const std::vector<std::string>& args) {
    CLI::App app("统计 Visual Basic 工程中每个成员文件的源代码行数。", "tallix");
    RawArguments raw;
    DefineArguments(app, raw);

    if (HasEmptyAssignment(args, "--report")) {
        return BadUsage(kEmptyReportMessage);
    }
    if (HasEmptyAssignment(args, "--deposit")) {
        return BadUsage(kEmptyDepositMessage);
    }
    // CLI11 consumes a vector from its back.
    const std::vector<std::string> given = WithEmptyValuesApart(args);
    std::vector<std::string> reversed(given.rbegin(), given.rend());
    ParseOutcome outcome;
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        outcome.out = app.help();
        return outcome;
    } catch (const CLI::CallForVersion& version) {
        outcome.out = std::string(version.what()) + "\n";
        return outcome;
    } catch (const CLI::ParseError& error) {
        return BadUsage(UsageErrorMessage(error));
    }
    // CLI11 keeps the "--" marker among the extras; it is not an unknown argument.
    if (app.remaining_size() > 0) {
        return BadUsage("无法识别的参数：" + JoinExtras(app.remaining()));
    }
    // An empty value would otherwise mean "no report", not what was asked for.
    if (app.count("--report") > 0 && raw.report.empty()) {
        return BadUsage(kEmptyReportMessage);
    }
    if (!raw.csv.empty() && raw.csv != kCsvRows && raw.csv != kCsvReferences) {
        return BadUsage("--csv 的值只能是 references");
    }
    if (raw.csv == kCsvReferences && !raw.inventory) {
        return BadUsage("--csv=references 只能与 --inventory 同用");
    }
    if (raw.inventory && !raw.report.empty()) {
        return BadUsage("--inventory 不能与 --report 同用");
    }
    if (const std::string problem = DepositUsageProblem(app, raw); !problem.empty()) {
        return BadUsage(problem);
    }
    outcome.options = ToOptions(raw);
    return outcome;
}

}  // namespace tallix::cli
