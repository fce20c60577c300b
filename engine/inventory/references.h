#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/projects/sdk_project.h"

namespace tallix {

enum class ReferenceKind {
    TypeLibrary,  // VB6 Reference=*\G{GUID}#version#lcid#path#description
    Component,    // VB6 Object={GUID}#version#lcid; file.ocx: an ActiveX control
    VbProject,    // VB6 Reference=*\Apath or Object=*\Apath: another project's source
    Assembly,     // <Reference Include="Name, Version=...">
    Package,      // <PackageReference Include Version>
    Com,          // <COMReference Include> with Guid, VersionMajor, VersionMinor, WrapperTool
    Project,      // <ProjectReference Include>
};

// One library, component or project a project file asks for, as written there (XML
// references decoded); fields a kind does not have stay empty.
struct Reference {
    ReferenceKind kind = ReferenceKind::TypeLibrary;
    std::string name;       // description, file name, assembly, package or project name
    std::string guid;       // without braces
    std::string version;    // major.minor, or the version string
    std::string location;   // type library path, control file, HintPath, project path
    std::string detail;     // VB6: the locale id; COM: the wrapper tool
    std::int64_t line = 0;  // the VB6 project's line
    // A line that does not have the form of its kind: what could be read of it is kept, and
    // the line as written.
    bool malformed = false;
    std::string written;

    friend bool operator==(const Reference&, const Reference&) = default;
};

// The reference a VB6 project line names: a "Reference=" or "Object=" line, well formed
// or not; nothing for other lines.
std::optional<Reference> Vb6ReferenceOf(std::string_view line);

// The references of a .vbproj, fed as decoded text in pieces of any size: the items under
// conditions written as false are left out, those under other conditions taken and the
// conditions noted, as the SDK reader does with compile items.
class VbNetReferenceScanner {
public:
    VbNetReferenceScanner();
    ~VbNetReferenceScanner();
    VbNetReferenceScanner(const VbNetReferenceScanner&) = delete;
    VbNetReferenceScanner& operator=(const VbNetReferenceScanner&) = delete;

    void Feed(std::string_view text);
    std::vector<Reference> References() const;
    std::vector<ProjectNote> Notes() const;

private:
    class Items;
    std::unique_ptr<Items> items_;
};

std::vector<Reference> ScanVbNetReferences(std::string_view text);

}  // namespace tallix
