// The main-window port without a window: the two trees and the results list
// as plain models, nothing to show, enable or draw. The console scanner is
// such a window, and so is each computer's part of a fix on a worker thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/ui/check_tree.h"
#include "base/ui/main_window_port.h"
#include "base/ui/results_list.h"

namespace corvane {

class ModelWindow final : public IMainWindow {
public:
    explicit ModelWindow(std::string localComputerName = {}) : localName_(std::move(localComputerName)) {}

    std::string Get_Comp_Name() override { return localName_; }
    CheckTree& Computer_Tree() override { return computers_; }
    CheckTree& Category_Tree() override { return categories_; }
    ResultsList& Results() override { return results_; }
    void Enable_Commands(bool) override {}
    void Set_Status_Text(std::string_view) override {}
    void Show_Progress_Panel(bool) override {}
    void Suspend_Results_Drawing(bool) override {}
    std::uintptr_t Native_Handle() const override { return 0; }

private:
    std::string localName_;
    CheckTree computers_;
    CheckTree categories_;
    ResultsList results_;
};

}  // namespace corvane
