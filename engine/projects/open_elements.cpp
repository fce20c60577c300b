#include "engine/projects/open_elements.h"

#include <algorithm>

namespace tallix {

void OpenElements::Open(const XmlTag& tag) {
    Element element{std::string(tag.name), ConditionTruth::True, {}};
    if (const auto condition = tag.Attribute("Condition")) {
        std::string written = DecodeXmlReferences(*condition);
        element.truth = TruthOfCondition(written);
        if (element.truth == ConditionTruth::Unknown) {
            element.condition = std::move(written);
        }
    }
    open_.push_back(std::move(element));
}

void OpenElements::CloseInnermost() {
    if (!open_.empty()) {
        open_.pop_back();
    }
}

void OpenElements::Close(std::string_view name) {
    for (std::size_t i = open_.size(); i-- > 0;) {
        if (open_[i].name == name) {
            open_.resize(i);
            return;
        }
    }
}

bool OpenElements::Apply(const std::function<void(const std::string&)>& onUnknown) const {
    const bool hidden = std::any_of(open_.begin(), open_.end(), [](const Element& element) {
        return element.truth == ConditionTruth::False;
    });
    if (hidden) {
        return false;
    }
    for (const Element& element : open_) {
        if (element.truth == ConditionTruth::Unknown) {
            onUnknown(element.condition);
        }
    }
    return true;
}

}  // namespace tallix
