#include "support/window_fakes.h"

#include "base/runtime_error.h"

namespace corvane::testing {

void FakeRegistryEditor::Open_RegEdit_At_Key(std::string_view keyPath, std::string_view valueName) {
    if (fail) throw RuntimeError(5, "Access is denied.");
    opened.emplace_back(std::string(keyPath), std::string(valueName));
}

std::string FakeMainWindow::Label(ProgressLabel label) const {
    const auto hit = labels.find(label);
    return hit == labels.end() ? std::string() : hit->second;
}

}  // namespace corvane::testing
