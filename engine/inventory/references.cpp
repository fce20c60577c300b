#include "engine/inventory/references.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <set>

#include "engine/files/path_glob.h"
#include "engine/projects/open_elements.h"
#include "engine/text/case_folding.h"
#include "engine/text/text_lines.h"
#include "engine/text/xml_scanner.h"

namespace tallix {

namespace {

constexpr std::string_view kReferencePrefix = "Reference=";
constexpr std::string_view kObjectPrefix = "Object=";

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A GUID as 8-4-4-4-12 hexadecimal digits.
bool IsGuid(std::string_view text) {
    if (text.size() != 36) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != '-' : !IsHexDigit(text[i])) {
            return false;
        }
    }
    return true;
}

std::string FileNameOf(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Cuts `text` at the first `separator`: the part before it is returned, the rest stays.
std::optional<std::string_view> TakeField(std::string_view& text, char separator) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view field = text.substr(0, at);
    text.remove_prefix(at + 1);
    return field;
}

// "{GUID}" at the start of text, taken off it; false when there is none.
bool TakeGuid(std::string_view& text, Reference& reference) {
    if (!text.starts_with('{')) {
        return false;
    }
    const auto close = text.find('}');
    if (close == std::string_view::npos) {
        return false;
    }
    reference.guid = std::string(text.substr(1, close - 1));
    text.remove_prefix(close + 1);
    return IsGuid(reference.guid);
}

// *\G{GUID}#version#lcid#path#description: the description may be empty, and may hold "#".
bool ParseTypeLibrary(std::string_view rest, Reference& reference) {
    if (!TakeGuid(rest, reference) || !rest.starts_with('#')) {
        return false;
    }
    rest.remove_prefix(1);
    const auto version = TakeField(rest, '#');
    reference.version = std::string(version.value_or(rest));
    if (!version) {
        return false;
    }
    const auto lcid = TakeField(rest, '#');
    reference.detail = std::string(lcid.value_or(rest));
    if (!lcid) {
        return false;
    }
    const auto path = TakeField(rest, '#');
    reference.location = std::string(path.value_or(rest));
    reference.name = path ? std::string(rest) : "";
    if (reference.name.empty()) {
        reference.name = FileNameOf(reference.location);
    }
    return path.has_value() && !reference.location.empty();
}

// {GUID}#version#lcid; file
bool ParseComponent(std::string_view rest, Reference& reference) {
    if (!TakeGuid(rest, reference) || !rest.starts_with('#')) {
        return false;
    }
    rest.remove_prefix(1);
    const auto version = TakeField(rest, '#');
    reference.version = std::string(version.value_or(rest));
    if (!version) {
        return false;
    }
    const auto lcid = TakeField(rest, ';');
    reference.detail = std::string(TrimSpaces(lcid.value_or(rest)));
    if (!lcid) {
        return false;
    }
    reference.location = std::string(TrimSpaces(rest));
    reference.name = FileNameOf(reference.location);
    return !reference.location.empty();
}

}  // namespace

std::optional<Reference> Vb6ReferenceOf(std::string_view line) {
    Reference reference;
    std::string_view rest;
    if (line.starts_with(kReferencePrefix)) {
        reference.kind = ReferenceKind::TypeLibrary;
        rest = line.substr(kReferencePrefix.size());
    } else if (line.starts_with(kObjectPrefix)) {
        reference.kind = ReferenceKind::Component;
        rest = line.substr(kObjectPrefix.size());
    } else {
        return std::nullopt;
    }
    bool wellFormed = false;
    if (rest.starts_with("*\\A")) {
        reference.kind = ReferenceKind::VbProject;
        reference.location = std::string(rest.substr(3));
        reference.name = FileNameOf(reference.location);
        wellFormed = !reference.location.empty();
    } else if (reference.kind == ReferenceKind::TypeLibrary) {
        wellFormed = rest.starts_with("*\\G") && ParseTypeLibrary(rest.substr(3), reference);
    } else {
        // Components are written without the *\G that references carry, but take it.
        wellFormed = ParseComponent(rest.starts_with("*\\G") ? rest.substr(3) : rest, reference);
    }
    if (!wellFormed) {
        reference.malformed = true;
        reference.written = std::string(line);
    }
    return reference;
}

namespace {

// Metadata of a reference item, written as an attribute or as a child element.
constexpr std::array<std::string_view, 8> kMetadata{"Version",      "HintPath",     "Guid",
                                                    "VersionMajor", "VersionMinor", "WrapperTool",
                                                    "Name",         "Project"};

struct ItemType {
    std::string_view element;
    ReferenceKind kind;
};
constexpr std::array<ItemType, 4> kItemTypes{{
    {"Reference", ReferenceKind::Assembly},
    {"PackageReference", ReferenceKind::Package},
    {"COMReference", ReferenceKind::Com},
    {"ProjectReference", ReferenceKind::Project},
}};

std::string WithoutBraces(std::string_view guid) {
    guid = TrimXmlSpace(guid);
    if (guid.starts_with('{') && guid.ends_with('}')) {
        guid = guid.substr(1, guid.size() - 2);
    }
    return std::string(guid);
}

std::string BaseNameOf(std::string_view path) {
    std::string name = FileNameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// "Name, Version=1.2.3.4, Culture=neutral, ...": the name, and the version if it is given.
void ParseAssemblyIdentity(std::string_view identity, Reference& reference) {
    std::string_view rest = identity;
    const auto comma = rest.find(',');
    reference.name = std::string(TrimXmlSpace(rest.substr(0, comma)));
    while (true) {
        const auto next = rest.find(',');
        if (next == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(next + 1);
        const std::string_view part = TrimXmlSpace(rest.substr(0, rest.find(',')));
        const auto equals = part.find('=');
        if (equals != std::string_view::npos &&
            EqualIgnoringCase(TrimXmlSpace(part.substr(0, equals)), "Version")) {
            reference.version = std::string(TrimXmlSpace(part.substr(equals + 1)));
        }
    }
}

}  // namespace

// Turns the tags of a project into its reference items, each under the conditions of the
// elements around it.
class VbNetReferenceScanner::Items : public XmlHandler {
public:
    Items() : xml_(*this) {}

    void Feed(std::string_view text) { xml_.Feed(text); }

    void OnStartTag(const XmlTag& tag) override {
        open_.Open(tag);
        if (item_) {
            if (!tag.empty && Applies()) {
                child_ = std::string(tag.name);
                childText_.clear();
            }
        } else if (const auto* type = ItemTypeOf(tag.name); type && Applies()) {
            BeginItem(*type, tag);
        }
        if (tag.empty) {
            open_.CloseInnermost();
            if (item_ && open_.Depth() == itemDepth_) {
                EndItem();
            }
        }
    }

    void OnEndTag(std::string_view name) override {
        if (item_ && !child_.empty() && name == child_) {
            SetMetadata(child_, TrimXmlSpace(childText_));
        }
        child_.clear();
        open_.Close(name);
        if (item_ && open_.Depth() <= itemDepth_) {
            EndItem();
        }
    }

    void OnText(std::string_view text) override {
        if (!child_.empty() && childText_.size() < kMaxText) {
            childText_ += text.substr(0, kMaxText - childText_.size());
        }
    }

    const std::vector<Reference>& References() const { return references_; }
    const std::vector<ProjectNote>& Notes() const { return notes_; }

private:
    static constexpr std::size_t kMaxText = 4096;

    static const ItemType* ItemTypeOf(std::string_view element) {
        for (const ItemType& type : kItemTypes) {
            if (type.element == element) {
                return &type;
            }
        }
        return nullptr;
    }

    // Whether the innermost element and those around it are not conditioned away; notes the
    // conditions it cannot tell, once they matter.
    bool Applies() {
        return open_.Apply([this](const std::string& condition) {
            if (noted_.insert(condition).second) {
                notes_.push_back({ProjectNote::Kind::ConditionNotEvaluated, condition});
            }
        });
    }

    void BeginItem(const ItemType& type, const XmlTag& tag) {
        const auto include = tag.Attribute("Include");
        if (!include) {
            return;  // Update and Remove change items, they add none
        }
        item_ = true;
        itemDepth_ = open_.Depth() - 1;
        itemKind_ = type.kind;
        include_ = DecodeXmlReferences(*include);
        metadata_.clear();
        for (const std::string_view name : kMetadata) {
            if (const auto value = tag.Attribute(name)) {
                SetMetadata(name, *value);
            }
        }
    }

    void SetMetadata(std::string_view name, std::string_view value) {
        if (std::find(kMetadata.begin(), kMetadata.end(), name) != kMetadata.end()) {
            metadata_[std::string(name)] = std::string(TrimXmlSpace(DecodeXmlReferences(value)));
        }
    }

    std::string Metadata(const std::string& name) const {
        const auto found = metadata_.find(name);
        return found == metadata_.end() ? "" : found->second;
    }

    void EndItem() {
        item_ = false;
        child_.clear();
        // An Include may list several items, each with the same metadata.
        for (const std::string& include : SplitItemList(include_)) {
            references_.push_back(MakeReference(include));
        }
    }

    Reference MakeReference(const std::string& include) const {
        Reference reference;
        reference.kind = itemKind_;
        switch (itemKind_) {
            case ReferenceKind::Assembly:
                ParseAssemblyIdentity(include, reference);
                reference.location = Metadata("HintPath");
                break;
            case ReferenceKind::Package:
                reference.name = include;
                reference.version = Metadata("Version");
                break;
            case ReferenceKind::Com: {
                reference.name = include;
                reference.guid = WithoutBraces(Metadata("Guid"));
                const std::string major = Metadata("VersionMajor");
                const std::string minor = Metadata("VersionMinor");
                if (!major.empty() || !minor.empty()) {
                    reference.version =
                        (major.empty() ? "0" : major) + "." + (minor.empty() ? "0" : minor);
                }
                reference.detail = Metadata("WrapperTool");
                break;
            }
            case ReferenceKind::Project:
                reference.location = include;
                reference.guid = WithoutBraces(Metadata("Project"));
                reference.name = Metadata("Name");
                if (reference.name.empty()) {
                    reference.name = BaseNameOf(include);
                }
                break;
            case ReferenceKind::TypeLibrary:
            case ReferenceKind::Component:
            case ReferenceKind::VbProject:
                break;
        }
        return reference;
    }

    XmlScanner xml_;
    OpenElements open_;
    bool item_ = false;          // inside a reference item
    std::size_t itemDepth_ = 0;  // the item's place in open_
    ReferenceKind itemKind_ = ReferenceKind::Assembly;
    std::string include_;
    std::map<std::string, std::string> metadata_;
    std::string child_;  // the item's child element whose text is being read
    std::string childText_;
    std::vector<Reference> references_;
    std::vector<ProjectNote> notes_;
    std::set<std::string> noted_;
};

VbNetReferenceScanner::VbNetReferenceScanner() : items_(std::make_unique<Items>()) {
}

VbNetReferenceScanner::~VbNetReferenceScanner() = default;

void VbNetReferenceScanner::Feed(std::string_view text) {
    items_->Feed(text);
}

std::vector<Reference> VbNetReferenceScanner::References() const {
    return items_->References();
}

std::vector<ProjectNote> VbNetReferenceScanner::Notes() const {
    return items_->Notes();
}

std::vector<Reference> ScanVbNetReferences(std::string_view text) {
    VbNetReferenceScanner scanner;
    scanner.Feed(text);
    return scanner.References();
}

}  // namespace tallix
