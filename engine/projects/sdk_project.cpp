#include "engine/projects/sdk_project.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "engine/files/path_glob.h"
#include "engine/files/text_source.h"
#include "engine/projects/open_elements.h"
#include "engine/text/case_folding.h"
#include "engine/text/xml_scanner.h"

namespace tallix {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

bool TurnsDefaultItemsOff(std::string_view name) {
    return name == "EnableDefaultCompileItems" || name == "EnableDefaultItems";
}

bool NamesProperty(std::string_view text) {
    return text.find("$(") != std::string_view::npos;
}

}  // namespace

ConditionTruth TruthOfCondition(std::string_view condition) {
    std::string_view value = TrimXmlSpace(condition);
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') {
        value = TrimXmlSpace(value.substr(1, value.size() - 2));
    }
    if (value.empty() || EqualsIgnoringCase(value, "true")) {
        return ConditionTruth::True;
    }
    return EqualsIgnoringCase(value, "false") ? ConditionTruth::False : ConditionTruth::Unknown;
}

// Turns the scanner's tags into the project's style, its default-items switch and its
// compile rules, each under the conditions of the elements around it.
class SdkProjectScanner::Rules : public XmlHandler {
public:
    explicit Rules(bool keepRules) : keepRules_(keepRules), xml_(*this) {}

    void Feed(std::string_view text) { xml_.Feed(text); }
    const SdkProjectScan& Result() const { return scan_; }

    void OnStartTag(const XmlTag& tag) override {
        inProperty_ = false;
        if (!rootSeen_) {
            rootSeen_ = true;
            if (tag.name == "Project" && tag.Attribute("Sdk")) {
                scan_.sdkStyle = true;
            }
        }
        if (tag.name == "Sdk" || (tag.name == "Import" && tag.Attribute("Sdk"))) {
            scan_.sdkStyle = true;
        }
        if (!keepRules_) {
            return;
        }
        open_.Open(tag);
        if (!Applies()) {
            // Dropped again below for an empty tag; a false group hides all it holds.
        } else if (tag.name == "Compile") {
            AddRule(tag);
        } else if (TurnsDefaultItemsOff(tag.name) && !tag.empty) {
            inProperty_ = true;
            propertyName_ = std::string(tag.name);
            propertyText_.clear();
        }
        if (tag.empty) {
            open_.CloseInnermost();
        }
    }

    void OnEndTag(std::string_view name) override {
        if (inProperty_ && name == propertyName_) {
            EndProperty();
        }
        inProperty_ = false;
        open_.Close(name);
    }

    void OnText(std::string_view text) override {
        if (inProperty_ && propertyText_.size() < kMaxPropertyText) {
            propertyText_ += text.substr(0, kMaxPropertyText - propertyText_.size());
        }
    }

private:
    static constexpr std::size_t kMaxPropertyText = 256;

    // Whether the innermost element and those around it are not conditioned away; notes
    // the conditions it cannot tell, once they matter.
    bool Applies() {
        return open_.Apply([this](const std::string& condition) {
            Note(ProjectNote::Kind::ConditionNotEvaluated, condition);
        });
    }

    std::vector<std::string> ItemList(std::string_view raw) {
        std::vector<std::string> items = SplitItemList(DecodeXmlReferences(raw));
        for (const std::string& item : items) {
            if (NamesProperty(item)) {
                Note(ProjectNote::Kind::PropertyNotEvaluated, item);
            }
        }
        return items;
    }

    void AddRule(const XmlTag& tag) {
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
    }

    void EndProperty() {
        const std::string value = DecodeXmlReferences(TrimXmlSpace(propertyText_));
        if (EqualsIgnoringCase(value, "false")) {
            scan_.defaultItems = false;
        } else if (EqualsIgnoringCase(value, "true")) {
            scan_.defaultItems = true;
        } else if (NamesProperty(value)) {
            Note(ProjectNote::Kind::PropertyNotEvaluated, value);
        }
    }

    void Note(ProjectNote::Kind kind, const std::string& text) {
        const std::string key = std::to_string(static_cast<int>(kind)) + text;
        if (noted_.insert(key).second) {
            scan_.notes.push_back({kind, text});
        }
    }

    bool keepRules_;
    XmlScanner xml_;
    SdkProjectScan scan_;
    bool rootSeen_ = false;
    OpenElements open_;
    std::unordered_set<std::string> noted_;
    bool inProperty_ = false;
    std::string propertyName_;
    std::string propertyText_;
};

SdkProjectScanner::SdkProjectScanner(bool keepRules) : rules_(std::make_unique<Rules>(keepRules)) {
}

SdkProjectScanner::~SdkProjectScanner() = default;

void SdkProjectScanner::Feed(std::string_view text) {
    rules_->Feed(text);
}

const SdkProjectScan& SdkProjectScanner::Result() const {
    return rules_->Result();
}

SdkProjectScan ScanSdkProject(std::string_view text) {
    SdkProjectScanner scanner;
    scanner.Feed(text);
    return scanner.Result();
}

namespace {

FileProblem ScanFile(const std::string& path, SdkProjectScanner& scanner) {
    // Fed as it comes, not line by line: a project written on one long line is read whole.
    return ReadFileText(path, EncodingRule::Xml, [&](std::string_view text) {
        scanner.Feed(text);
        return true;
    });
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

namespace {

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

std::vector<std::string> Normalised(const std::vector<std::string>& patterns) {
    std::vector<std::string> normalised;
    normalised.reserve(patterns.size());
    for (const std::string& pattern : patterns) {
        normalised.push_back(NormalisedItemPath(pattern));
    }
    return normalised;
}

bool MatchesAny(const std::vector<std::string>& patterns, std::string_view path) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return GlobMatch(pattern, path); });
}

// An item's name for comparing: either separator as a backslash.
std::string Key(std::string name) {
    return WithBackslashes(std::move(name));
}

// The items of a project as the rules build them, each file once. Every look-up is a hash
// look-up, so a glob over a hundred thousand files takes as long as listing them.
class ItemList {
public:
    // A file found on disk: only the same name found again, or a name written in another
    // case, is the same file.
    void AddFound(std::string name) {
        std::string key = Key(name);
        std::u32string folded = FoldedCharacters(key);
        if (foundNames_.contains(key) || writtenFolded_.contains(folded)) {
            return;
        }
        foundNames_.insert(std::move(key));
        anyFolded_.insert(std::move(folded));
        items_.push_back({std::move(name), true});
    }

    // A name as a pattern writes it: any name equal to it without regard to case is the
    // same file, as on Windows.
    void AddWritten(std::string name) {
        std::u32string folded = FoldedCharacters(Key(name));
        if (anyFolded_.contains(folded)) {
            return;
        }
        writtenFolded_.insert(folded);
        anyFolded_.insert(std::move(folded));
        items_.push_back({std::move(name), false});
    }

    void Remove(const std::vector<std::string>& patterns) {
        std::erase_if(items_, [&](const Item& item) { return MatchesAny(patterns, item.name); });
        foundNames_.clear();
        writtenFolded_.clear();
        anyFolded_.clear();
        for (const Item& item : items_) {
            std::string key = Key(item.name);
            std::u32string folded = FoldedCharacters(key);
            if (item.found) {
                foundNames_.insert(std::move(key));
            } else {
                writtenFolded_.insert(folded);
            }
            anyFolded_.insert(std::move(folded));
        }
    }

    std::vector<std::string> Names() && {
        std::vector<std::string> names;
        names.reserve(items_.size());
        for (Item& item : items_) {
            names.push_back(std::move(item.name));
        }
        return names;
    }

private:
    struct Item {
        std::string name;
        bool found;
    };

    std::vector<Item> items_;
    std::unordered_set<std::string> foundNames_;
    std::unordered_set<std::u32string> writtenFolded_;
    std::unordered_set<std::u32string> anyFolded_;
};

// Walks a folder for the items under it and keeps what could not be listed. A folder a
// pattern names that does not exist only matches nothing.
class ItemWalk {
public:
    explicit ItemWalk(SdkMembers& members) : members_(members) {}

    void Walk(const std::string& root, const std::string& written, const FolderFilter& enter,
              const FileVisitor& onFile) {
        WalkFiles(root, enter, onFile, [&](FolderProblem problem) {
            if (problem.problem.error == FileError::Missing) {
                return;
            }
            std::string path = written + WithBackslashes(problem.path);
            if (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
                path.pop_back();
            }
            members_.unlisted.push_back({path.empty() ? "." : std::move(path), problem.problem});
        });
    }

private:
    SdkMembers& members_;
};

// The files an Include pattern with wildcards names, as the pattern writes their folders:
// the walk starts at the folders before the first wildcard.
void ExpandInclude(const std::string& folder, const std::string& pattern, ItemWalk& walk,
                   const std::vector<std::string>& excludes, ItemList& items) {
    const auto wildcard = pattern.find_first_of("*?");
    const auto cut = pattern.find_last_of("/\\", wildcard);
    const std::string prefix(cut == std::string::npos ? "" : pattern.substr(0, cut + 1));
    const std::string_view rest = std::string_view(pattern).substr(prefix.size());
    const bool rooted = IsRootedPath(prefix);
    std::string base = rooted ? prefix : folder + prefix;
    const std::size_t written = rooted ? 0 : folder.size();
    std::replace(base.begin() + static_cast<std::ptrdiff_t>(written), base.end(), '\\', '/');
    walk.Walk(
        base, prefix, [](std::string_view, std::string_view) { return true; },
        [&](const std::string& relative) {
            if (GlobMatch(rest, relative)) {
                std::string name = prefix + WithBackslashes(relative);
                if (!MatchesAny(excludes, name)) {
                    items.AddFound(std::move(name));
                }
            }
        });
}

}  // namespace

SdkMembers SdkProjectMembers(const std::string& folder, const SdkProjectScan& scan) {
    SdkMembers members;
    ItemWalk walk(members);
    ItemList items;
    if (scan.defaultItems) {
        // Build output and intermediate folders sit at the top; hidden folders anywhere.
        const auto enter = [](std::string_view name, std::string_view relative) {
            if (name.starts_with('.')) {
                return false;
            }
            return relative != name ||
                   !(EqualsIgnoringCase(name, "bin") || EqualsIgnoringCase(name, "obj"));
        };
        walk.Walk(folder, "", enter, [&](const std::string& relative) {
            if (EndsWithVb(relative)) {
                items.AddFound(WithBackslashes(relative));
            }
        });
    }
    for (const CompileItemRule& rule : scan.rules) {
        const std::vector<std::string> patterns = Normalised(rule.patterns);
        if (rule.action == CompileItemRule::Action::Remove) {
            items.Remove(patterns);
            continue;
        }
        const std::vector<std::string> excludes = Normalised(rule.excludes);
        for (const std::string& pattern : patterns) {
            if (HasGlob(pattern)) {
                ExpandInclude(folder, pattern, walk, excludes, items);
            } else if (!pattern.empty() && !MatchesAny(excludes, pattern)) {
                items.AddWritten(pattern);
            }
        }
    }
    members.names = std::move(items).Names();
    std::erase_if(members.names, [](const std::string& name) { return IsGenerated(name); });
    std::sort(members.names.begin(), members.names.end(),
              [](const std::string& a, const std::string& b) { return PathLess(a, b); });
    return members;
}

}  // namespace tallix
