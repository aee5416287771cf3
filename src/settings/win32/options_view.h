// frmOptions on Windows: a thin view of OptionsDialog. The page tree shows
// one of three pages (group boxes with their controls), every control change
// goes to the presenter and the controls are written back from its state.
// The Backup page's four commands are enabled only when backup commands are
// given.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "base/win32/dialog.h"
#include "settings/options_dialog.h"

namespace corvane::win32 {

class OptionsView final : public Dialog, public IOptionsProgress {
public:
    // `imageOf` gives the picture of a page node's image key in `images`
    // (shared with the main window, not owned); both may be empty.
    OptionsView(OptionsDialog& options, const Reporter& reporter, std::vector<std::string> computerNames,
                std::function<void()> openHomePage, HIMAGELIST images = nullptr,
                std::function<int(std::string_view)> imageOf = {})
        : Dialog(&reporter, "Options"),
          options_(options),
          computerNames_(std::move(computerNames)),
          openHomePage_(std::move(openHomePage)),
          images_(images),
          imageOf_(std::move(imageOf)) {}

    void Show(HWND owner) { Run_Modal(owner, kTemplateId); }
    static constexpr int kTemplateId = 500;

    void Visible_Progress_Bar(bool visible) override;
    void Set_Progress_For_BackupRegistry() override;
    void Do_Progess() override;

private:
    bool On_Init() override;
    bool On_Command(int id, int code, HWND control) override;
    bool On_Notify(const NMHDR& header, LRESULT& result) override;
    bool On_Close() override { return options_.Query_Close(); }
    bool On_Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    void Show_Options_Page(int page);
    void Show_State();

    OptionsDialog& options_;
    std::vector<std::string> computerNames_;
    std::function<void()> openHomePage_;
    HIMAGELIST images_;
    std::function<int(std::string_view)> imageOf_;
    bool showing_ = false;
    int progressMaximum_ = 100;
    int progressValue_ = 0;  // writing the state into the controls
};

}  // namespace corvane::win32
