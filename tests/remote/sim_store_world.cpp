// The store contract on a simulated computer, as a remote computer's WMI
// shows it and as the native store of the computer the program runs on.
#include "remote/sim/sim_computer.h"
#include "store_contract.h"

namespace corvane::testing {
namespace {

class SimWorld final : public StoreWorld {
public:
    explicit SimWorld(remote::FileView view) {
        computer_.fileView = view;
        computer_.files.Add_Folder(kFolder);
    }
    bool Wmi_View() const override { return computer_.fileView == remote::FileView::Wmi; }
    remote::IMachineStore& Store() override { return computer_; }
    std::string Folder() const override { return kFolder; }
    void Make_File(std::string_view name, std::string_view content) override {
        computer_.files.Write_File(Path(name), std::vector<std::uint8_t>(content.begin(), content.end()));
    }
    void Make_Folder(std::string_view name) override { computer_.files.Add_Folder(Path(name)); }
    void Make_Shortcut(std::string_view name, std::string_view target) override {
        computer_.files.Add_Shortcut(Path(name), target);
    }

private:
    static constexpr const char* kFolder = "C:\\Users\\admin\\Scratch";
    remote::SimComputer computer_{"PC1"};
};

INSTANTIATE_TEST_SUITE_P(
    Simulated, StoreContract,
    ::testing::Values(
        +[]() -> std::unique_ptr<StoreWorld> { return std::make_unique<SimWorld>(remote::FileView::Wmi); },
        +[]() -> std::unique_ptr<StoreWorld> { return std::make_unique<SimWorld>(remote::FileView::Native); }));

}  // namespace
}  // namespace corvane::testing
