#include "support/window_fakes.h"

namespace corvane::testing {

std::string FakeMainWindow::Label(ProgressLabel label) const {
    const auto hit = labels.find(label);
    return hit == labels.end() ? std::string() : hit->second;
}

}  // namespace corvane::testing
