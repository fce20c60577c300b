#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/projects/sdk_project.h"
#include "engine/text/xml_scanner.h"

namespace tallix {

// The elements open around a place in a project's XML, each with what its Condition comes
// to, so that a reader takes only what no false condition around it hides. Closing is as
// tolerant as hand-edited projects need.
class OpenElements {
public:
    void Open(const XmlTag& tag);
    // The innermost element: an empty tag's, which closes itself.
    void CloseInnermost();
    // The innermost element of this name and every one left open inside it; a stray
    // closing tag closes nothing.
    void Close(std::string_view name);
    std::size_t Depth() const { return open_.size(); }

    // Whether no open element is conditioned away. When none is, each condition around that
    // could not be told true or false is handed to onUnknown, as written.
    bool Apply(const std::function<void(const std::string&)>& onUnknown) const;

private:
    struct Element {
        std::string name;
        ConditionTruth truth = ConditionTruth::True;
        std::string condition;  // as written, when it could not be told
    };
    std::vector<Element> open_;
};

}  // namespace tallix
