#include "periphery/registry_editor.h"

#include "base/reporter.h"
#include "base/runtime_error.h"
#include "base/upper_case.h"
#include "base/utf8.h"

namespace corvane {

namespace {

// UTF-8 to code points; a byte that starts no valid sequence stands for itself.
std::vector<std::uint32_t> Code_Points(std::string_view text) {
    std::vector<std::uint32_t> points;
    for (std::size_t i = 0; i < text.size();) points.push_back(Next_Code_Point(text, i));
    return points;
}

}  // namespace

std::vector<RegEditKeystroke> Tree_Keystrokes(std::string_view keyPath) {
    using K = RegEditKeystroke::Kind;
    std::vector<RegEditKeystroke> steps(kCollapseKeystrokes, {K::KeyDown, kVkLeft});
    steps.push_back({K::KeyDown, kVkRight});
    steps.push_back({K::WaitIdle, 0});
    for (const std::uint32_t point : Code_Points(keyPath)) {
        if (point == '\\') {
            steps.push_back({K::KeyDown, kVkRight});
            steps.push_back({K::WaitIdle, 0});
        } else {
            steps.push_back({K::Char, Upper_Code_Point(point)});
        }
    }
    return steps;
}

std::vector<RegEditKeystroke> Value_Keystrokes(std::string_view valueName) {
    using K = RegEditKeystroke::Kind;
    std::vector<RegEditKeystroke> steps{{K::KeyDown, kVkHome}};
    for (const std::uint32_t point : Code_Points(valueName)) steps.push_back({K::Char, Upper_Code_Point(point)});
    return steps;
}

std::string Regedit_Last_Key(std::string_view keyPath, bool withComputerPrefix) {
    std::string path(keyPath);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return withComputerPrefix ? "Computer\\" + path : path;
}

void Open_Registry_Editor(IRegistryEditor& editor, Reporter& reporter, std::string_view keyPath,
                          std::string_view valueName) {
    try {
        editor.Open_RegEdit_At_Key(keyPath, valueName);
    } catch (const RuntimeError& error) {
        reporter.Show_Error(true, error);
    }
}

}  // namespace corvane
