#include "fake_main_window.h"

#include <algorithm>

#include "scan/scan_categories.h"

namespace corvane::testing {

FakeMainWindow::FakeMainWindow() {
    Fill_Scan_Categories(categories);
    labels[ProgressLabel::Skip] = "Skip";
}

void FakeMainWindow::FormDoMyDoEvents() {
    ++pumps;
    if (onPump) onPump(pumps);
}

std::string FakeMainWindow::Label(ProgressLabel label) const {
    const auto hit = labels.find(label);
    return hit == labels.end() ? std::string() : hit->second;
}

void FakeMainWindow::Set_Progress_Range(int minimum, int maximum) {
    progressMin = minimum;
    progressMax = maximum;
    progressValue = std::clamp(progressValue, progressMin, progressMax);
}

void FakeMainWindow::Set_Progress_Value(int value) { progressValue = std::clamp(value, progressMin, progressMax); }

void FakeMainWindow::Check_Categories(std::initializer_list<const char*> keys) {
    for (const char* key : keys) categories.Set_Checked(categories.Find(key), true);
}

}  // namespace corvane::testing
