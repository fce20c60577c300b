#include "engine/projects/project_title.h"

#include <array>
#include <optional>

#include "engine/files/text_source.h"
#include "engine/projects/project_readers.h"
#include "engine/text/text_lines.h"
#include "engine/text/xml_scanner.h"

namespace tallix {

namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// A VB6 value as the project writes it: in quotes for texts, bare for numbers.
std::string Unquoted(std::string_view value) {
    value = TrimSpaces(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

// The project's own keys stand before the first [section] of the file.
struct Vb6Keys {
    std::optional<std::string> title, name, major, minor;
};

Vb6Keys ReadVb6Keys(const std::string& path) {
    Vb6Keys keys;
    ReadFileLines(path, ProjectEncodingRule(SourceKind::Vb6), [&](std::string_view line) {
        if (line.starts_with('[')) {
            return false;
        }
        const std::array<std::pair<std::string_view, std::optional<std::string>*>, 4> wanted{
            {{"Title=", &keys.title},
             {"Name=", &keys.name},
             {"MajorVer=", &keys.major},
             {"MinorVer=", &keys.minor}}};
        for (const auto& [key, value] : wanted) {
            if (line.starts_with(key) && !*value) {
                *value = Unquoted(line.substr(key.size()));
            }
        }
        return true;
    });
    return keys;
}

bool HasText(const std::optional<std::string>& value) {
    return value && !value->empty();
}

ProjectTitle Vb6Title(const std::string& path) {
    const Vb6Keys keys = ReadVb6Keys(path);
    ProjectTitle title{HasText(keys.title)  ? *keys.title
                       : HasText(keys.name) ? *keys.name
                                            : BaseName(path),
                       "V1.0"};
    if (HasText(keys.major) || HasText(keys.minor)) {
        title.version = "V" + (HasText(keys.major) ? *keys.major : std::string("1")) + "." +
                        (HasText(keys.minor) ? *keys.minor : std::string("0"));
    }
    return title;
}

// The first non-empty text of each property wanted; one that names another property is
// not evaluated, and so not taken.
class PropertyTexts : public XmlHandler {
public:
    static constexpr std::size_t kMaxText = 256;

    void OnStartTag(const XmlTag& tag) override {
        current_ = nullptr;
        if (!tag.empty) {
            current_ = tag.name == "Product"        ? &product
                       : tag.name == "AssemblyName" ? &assemblyName
                       : tag.name == "Version"      ? &version
                                                    : nullptr;
            text_.clear();
        }
    }
    void OnEndTag(std::string_view name) override {
        if (current_ != nullptr && !*current_) {
            std::string value = DecodeXmlReferences(TrimXmlSpace(text_));
            if (!value.empty() && value.find("$(") == std::string::npos &&
                (name == "Product" || name == "AssemblyName" || name == "Version")) {
                *current_ = std::move(value);
            }
        }
        current_ = nullptr;
    }
    void OnText(std::string_view text) override {
        if (current_ != nullptr && text_.size() < kMaxText) {
            text_ += text.substr(0, kMaxText - text_.size());
        }
    }

    std::optional<std::string> product, assemblyName, version;

private:
    std::optional<std::string>* current_ = nullptr;
    std::string text_;
};

ProjectTitle VbNetTitle(const std::string& path) {
    PropertyTexts properties;
    XmlScanner scanner(properties);
    ReadFileText(path, EncodingRule::Xml, [&](std::string_view text) {
        scanner.Feed(text);
        return true;
    });
    ProjectTitle title{properties.product        ? *properties.product
                       : properties.assemblyName ? *properties.assemblyName
                                                 : BaseName(path),
                       "V1.0"};
    if (properties.version) {
        const bool marked =
            properties.version->starts_with('V') || properties.version->starts_with('v');
        title.version = marked ? *properties.version : "V" + *properties.version;
    }
    return title;
}

}  // namespace

ProjectTitle ReadProjectTitle(const std::string& path, SourceKind kind) {
    return kind == SourceKind::Vb6 ? Vb6Title(path) : VbNetTitle(path);
}

}  // namespace tallix
