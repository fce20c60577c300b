#include "engine/projects/sdk_project.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "engine/files/folder_walk.h"
#include "engine/files/path_glob.h"
#include "engine/text/text_lines.h"

namespace tallix {

namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

std::string_view TrimXmlSpace(std::string_view text) {
    while (!text.empty() && IsXmlSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsXmlSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

void AppendUtf8(std::string& out, unsigned long point) {
    if (point == 0 || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        out += "\xEF\xBF\xBD";
    } else if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// Replaces the five named references and numeric ones; anything else stays as written.
std::string DecodeReferences(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto semicolon = value[i] == '&' ? value.find(';', i) : std::string_view::npos;
        if (semicolon == std::string_view::npos || semicolon - i > 10) {
            out += value[i];
            continue;
        }
        const std::string_view name = value.substr(i + 1, semicolon - i - 1);
        static constexpr std::pair<std::string_view, char> kNamed[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        const auto named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                        [&](const auto& entry) { return entry.first == name; });
        if (named != std::end(kNamed)) {
            out += named->second;
        } else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string digits(name.substr(hex ? 2 : 1));
            const auto valid = !digits.empty() && digits.size() <= 8 &&
                               digits.find_first_not_of(hex ? "0123456789abcdefABCDEF"
                                                            : "0123456789") == std::string::npos;
            if (!valid) {
                out += value[i];
                continue;
            }
            AppendUtf8(out, std::stoul(digits, nullptr, hex ? 16 : 10));
        } else {
            out += value[i];
            continue;
        }
        i = semicolon;
    }
    return out;
}

struct Tag {
    std::string_view name;
    std::vector<std::pair<std::string_view, std::string_view>> attributes;
    bool closing = false;
    bool empty = false;  // written as <Name ... />

    std::optional<std::string_view> Attribute(std::string_view wanted) const {
        for (const auto& [key, value] : attributes) {
            if (key == wanted) {
                return value;
            }
        }
        return std::nullopt;
    }
};

// The text between "<" and ">". Attributes without a quoted value are passed over.
Tag ParseTag(std::string_view text) {
    Tag tag;
    if (text.starts_with('/')) {
        tag.closing = true;
        text.remove_prefix(1);
    }
    if (text.ends_with('/')) {
        tag.empty = true;
        text.remove_suffix(1);
    }
    std::size_t i = 0;
    while (i < text.size() && !IsXmlSpace(text[i])) {
        ++i;
    }
    tag.name = text.substr(0, i);
    while (i < text.size()) {
        while (i < text.size() && IsXmlSpace(text[i])) {
            ++i;
        }
        const std::size_t keyStart = i;
        while (i < text.size() && text[i] != '=' && !IsXmlSpace(text[i])) {
            ++i;
        }
        const std::string_view key = text.substr(keyStart, i - keyStart);
        while (i < text.size() && IsXmlSpace(text[i])) {
            ++i;
        }
        if (i >= text.size() || text[i] != '=') {
            ++i;
            continue;
        }
        ++i;
        while (i < text.size() && IsXmlSpace(text[i])) {
            ++i;
        }
        if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
            continue;
        }
        const char quote = text[i++];
        const auto close = text.find(quote, i);
        if (close == std::string_view::npos) {
            break;
        }
        tag.attributes.emplace_back(key, text.substr(i, close - i));
        i = close + 1;
    }
    return tag;
}

std::vector<std::string> ItemList(std::string_view raw) {
    return SplitItemList(DecodeReferences(raw));
}

bool TurnsDefaultItemsOff(std::string_view name) {
    return name == "EnableDefaultCompileItems" || name == "EnableDefaultItems";
}

bool IsGenerated(std::string_view name) {
    return name.find("AssemblyInfo.") != std::string_view::npos ||
           name.find(".Designer.") != std::string_view::npos;
}

bool EndsWithVb(std::string_view name) {
    return name.size() > 3 && EqualsIgnoringCase(name.substr(name.size() - 3), ".vb");
}

std::string WithBackslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool IsAbsolute(std::string_view pattern) {
    return pattern.starts_with('/') || pattern.starts_with('\\') ||
           (pattern.size() > 1 && pattern[1] == ':');
}

// The files an Include pattern with wildcards names, as the pattern writes their folders:
// the walk starts at the folders before the first wildcard.
std::vector<std::string> ExpandInclude(const std::string& folder, std::string_view pattern) {
    std::vector<std::string> found;
    if (IsAbsolute(pattern)) {
        return found;
    }
    const auto wildcard = pattern.find_first_of("*?");
    const auto cut = pattern.find_last_of("/\\", wildcard);
    const std::string prefix(cut == std::string_view::npos ? "" : pattern.substr(0, cut + 1));
    const std::string_view rest = pattern.substr(prefix.size());
    std::string base = folder + prefix;
    std::replace(base.begin() + static_cast<std::ptrdiff_t>(folder.size()), base.end(), '\\', '/');
    WalkFiles(
        base, [](std::string_view, std::string_view) { return true; },
        [&](const std::string& relative) {
            if (GlobMatch(rest, relative)) {
                found.push_back(prefix + WithBackslashes(relative));
            }
        });
    return found;
}

void AddUnlessListed(std::vector<std::string>& items, std::string name) {
    const bool listed = std::any_of(items.begin(), items.end(), [&](const std::string& item) {
        return SamePathIgnoringCase(item, name);
    });
    if (!listed) {
        items.push_back(std::move(name));
    }
}

bool MatchesAny(const std::vector<std::string>& patterns, std::string_view path) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return GlobMatch(pattern, path); });
}

}  // namespace

void SdkProjectScanner::Feed(std::string_view text) {
    for (const char c : text) {
        if (!inTag_) {
            if (c == '<') {
                inTag_ = true;
                tagTooLong_ = false;
                quote_ = 0;
                tag_.clear();
            } else if (inProperty_ && propertyText_.size() < 64) {
                propertyText_ += c;
            }
            continue;
        }
        const bool comment = tag_.starts_with("!--");
        const bool cdata = tag_.starts_with("![CDATA[");
        if (c == '>' && quote_ == 0 &&
            (comment ? tag_.ends_with("--") : !cdata || tag_.ends_with("]]"))) {
            inTag_ = false;
            if (!comment && !cdata && !tagTooLong_) {
                EndTag();
            }
            continue;
        }
        // Quotes count only inside element tags: comments and the like may hold lone ones.
        if (!comment && !cdata && (tag_.empty() || (tag_[0] != '!' && tag_[0] != '?'))) {
            if (quote_ == 0 && (c == '"' || c == '\'')) {
                quote_ = c;
            } else if (c == quote_) {
                quote_ = 0;
            }
        }
        if (tag_.size() < kMaxTag) {
            tag_ += c;
        } else if (!comment && !cdata) {
            tagTooLong_ = true;
        } else {
            // Only the end of a long comment matters.
            tag_.erase(3, tag_.size() - 8);
            tag_ += c;
        }
    }
}

void SdkProjectScanner::EndTag() {
    if (tag_.empty() || tag_[0] == '?' || tag_[0] == '!') {
        return;
    }
    const Tag tag = ParseTag(tag_);
    if (tag.closing) {
        EndPropertyText(tag.name);
        return;
    }
    inProperty_ = false;
    if (!rootSeen_) {
        rootSeen_ = true;
        if (tag.name == "Project" && tag.Attribute("Sdk")) {
            scan_.sdkStyle = true;
        }
    }
    if (tag.name == "Sdk" || (tag.name == "Import" && tag.Attribute("Sdk"))) {
        scan_.sdkStyle = true;
    } else if (tag.name == "Compile" && keepRules_) {
        if (const auto include = tag.Attribute("Include")) {
            CompileItemRule rule;
            rule.patterns = ItemList(*include);
            if (const auto exclude = tag.Attribute("Exclude")) {
                rule.excludes = ItemList(*exclude);
            }
            scan_.rules.push_back(std::move(rule));
        } else if (const auto remove = tag.Attribute("Remove")) {
            scan_.rules.push_back({CompileItemRule::Action::Remove, ItemList(*remove), {}});
        }
    } else if (TurnsDefaultItemsOff(tag.name) && !tag.empty) {
        inProperty_ = true;
        propertyName_ = std::string(tag.name);
        propertyText_.clear();
    }
}

void SdkProjectScanner::EndPropertyText(std::string_view closingName) {
    if (inProperty_ && closingName == propertyName_) {
        const std::string_view value = TrimXmlSpace(propertyText_);
        if (EqualsIgnoringCase(value, "false")) {
            scan_.defaultItems = false;
        }
        if (EqualsIgnoringCase(value, "true")) {
            scan_.defaultItems = true;
        }
    }
    inProperty_ = false;
}

SdkProjectScan ScanSdkProject(std::string_view text) {
    SdkProjectScanner scanner;
    scanner.Feed(text);
    return scanner.Result();
}

namespace {

FileProblem ScanFile(const std::string& path, SdkProjectScanner& scanner) {
    InputFile file = InputFile::Open(LocateFile(path).value_or(path));
    if (!file.IsOpen()) {
        return file.Problem();
    }
    TextLineReader reader([&](std::string_view line) {
        scanner.Feed(line);
        scanner.Feed("\n");
    });
    const auto buffer = std::make_unique<char[]>(kReadBlockSize);
    while (const std::size_t got = file.Read(buffer.get(), kReadBlockSize)) {
        reader.Feed({buffer.get(), got});
    }
    reader.Finish();
    return file.Problem();
}

}  // namespace

SdkProjectRead ScanSdkProjectFile(const std::string& path) {
    SdkProjectRead result;
    SdkProjectScanner style(false);
    result.problem = ScanFile(path, style);
    if (result.problem.error != FileError::None || !style.Result().sdkStyle) {
        result.scan = style.Result();
        return result;
    }
    SdkProjectScanner full;
    result.problem = ScanFile(path, full);
    result.scan = full.Result();
    return result;
}

std::vector<std::string> SdkProjectMembers(const std::string& folder, const SdkProjectScan& scan) {
    std::vector<std::string> items;
    if (scan.defaultItems) {
        // Build output and intermediate folders sit at the top; hidden folders anywhere.
        const auto enter = [](std::string_view name, std::string_view relative) {
            if (name.starts_with('.')) {
                return false;
            }
            return relative != name ||
                   !(EqualsIgnoringCase(name, "bin") || EqualsIgnoringCase(name, "obj"));
        };
        WalkFiles(folder, enter, [&](const std::string& relative) {
            if (EndsWithVb(relative)) {
                items.push_back(WithBackslashes(relative));
            }
        });
    }
    for (const CompileItemRule& rule : scan.rules) {
        if (rule.action == CompileItemRule::Action::Remove) {
            std::erase_if(items,
                          [&](const std::string& item) { return MatchesAny(rule.patterns, item); });
            continue;
        }
        for (const std::string& pattern : rule.patterns) {
            std::vector<std::string> named =
                HasGlob(pattern) ? ExpandInclude(folder, pattern) : std::vector{pattern};
            for (std::string& name : named) {
                if (!MatchesAny(rule.excludes, name)) {
                    AddUnlessListed(items, std::move(name));
                }
            }
        }
    }
    std::erase_if(items, [](const std::string& item) { return IsGenerated(item); });
    std::sort(items.begin(), items.end(),
              [](const std::string& a, const std::string& b) { return PathLess(a, b); });
    return items;
}

}  // namespace tallix
