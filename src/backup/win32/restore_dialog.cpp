#include "backup/win32/restore_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "backup/restore_presenter.h"
#include "backup/win32/progress_panel.h"
#include "base/win32/dialog.h"
#include "base/win32/list_view.h"
#include "base/win32/settings_store_win32.h"
#include "base/win32/wide_text.h"
#include "periphery/web_addresses.h"

namespace corvane::win32 {
namespace {

// Column widths come in twips; at 96 dots per inch a pixel is 15 twips.
constexpr int kTwipsPerPixel = 15;

class RestoreDialog final : public Dialog, public backup::IRestoreView {
public:
    RestoreDialog(backup::RestoreMode mode, const backup::BackupComputer& computer, const remote::RemotePorts& ports,
                  IShell& shell, remote::IUserDataFolder* userData)
        : Dialog(&ports.reporter, "Restore"),
          reporter_(ports.reporter),
          presenter_(mode, computer, ports, *this, progress_, shell, userData) {}

    // ---- IRestoreView
    void Set_Captions(std::string_view dialogTitle, std::string_view frameCaption, bool showDelete) override {
        Window(Handle()).Set_Text(dialogTitle);
        Control(kRestoreFrame).Set_Text(frameCaption);
        Control(kRestoreDelete).Show(showDelete);
    }
    void Set_Columns(const std::vector<backup::RestoreColumn>& columns) override {
        const int width = List().Client_Rect().right;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const backup::RestoreColumn& column = columns[i];
            List().Insert_Column(static_cast<int>(i), column.header,
                                 width / column.widthDivisor - column.lessTwips / kTwipsPerPixel);
        }
    }
    void Show_Rows(const std::vector<backup::RestoreRow>& rows) override {
        List().Delete_All_Items();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int index = List().Insert_Item(static_cast<int>(i), rows[i].text);
            List().Set_Item_Text(index, 1, rows[i].date);
            if (presenter_.Mode() == backup::RestoreMode::Registry) List().Set_Item_Text(index, 2, rows[i].size);
        }
        if (presenter_.Mode() == backup::RestoreMode::Registry) Fit_Name_Column(rows);
    }
    void Remove_Row(int index) override { List().Delete_Item(index); }
    [[nodiscard]] int Selected_Row() const override { return List().Next_Item(-1, LVNI_SELECTED); }
    [[nodiscard]] int Rows_Per_Page() const override { return List().Count_Per_Page(); }
    void Widen_First_Column(int twips) override {
        List().Set_Column_Width(0, List().Column_Width(0) + twips / kTwipsPerPixel);
    }
    void Enable_Buttons(bool restore, bool deleteFile) override {
        Control(kRestoreButton).Enable(restore);
        Control(kRestoreDelete).Enable(deleteFile);
    }
    void Close() override { End(IDCANCEL); }

private:
    [[nodiscard]] ListView List() const { return ListView(Item(kRestoreList)); }

    [[nodiscard]] int Text_Width(std::string_view text) const {
        const std::wstring wide = Widen(text);
        return static_cast<int>(List().Send(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
    }

    // The captions of undo files are longer than file names: the name column
    // grows to show them, the date column keeps what its dates need, and the
    // size column (undo files have no size) gives up the room.
    void Fit_Name_Column(const std::vector<backup::RestoreRow>& rows) {
        constexpr int kCellMargin = 16;
        int name = List().Column_Width(0);
        int date = Text_Width("Creation Date") + kCellMargin;
        for (const backup::RestoreRow& row : rows) {
            name = std::max(name, Text_Width(row.text) + kCellMargin);
            date = std::max(date, Text_Width(row.date) + kCellMargin);
        }
        const int width = List().Client_Rect().right;
        date = std::min(date, List().Column_Width(1));
        name = std::min(name, width - date - kCellMargin);
        if (name <= List().Column_Width(0)) return;
        List().Set_Column_Width(0, name);
        List().Set_Column_Width(1, date);
        List().Set_Column_Width(2, std::max(kCellMargin, width - name - date));
    }

    bool On_Init() override {
        List().Set_Extended_Style(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        Control(kRestoreLink).Set_Text(backup::kRestoreLinkCaption);
        progress_.Attach(Handle(), kRestorePanel, kRestoreProgressText, kRestoreProgressBar);
        progress_.Center();
        presenter_.Load();
        return true;
    }

    bool On_Command(int id, int code, HWND) override {
        switch (id) {
            case kRestoreButton: presenter_.Restore_Clicked(); return true;
            case kRestoreDelete: presenter_.Delete_Clicked(); return true;
            case kRestoreClose: presenter_.Close_Clicked(); return true;
            case kRestoreLink:
                if (code == STN_CLICKED) {
                    Win32SettingsStore settings;
                    presenter_.Link_Clicked(periphery::Load_Web_Addresses(settings, reporter_).homeSite);
                }
                return true;
            default: return false;
        }
    }

    bool On_Notify(const NMHDR& header, LRESULT&) override {
        if (header.idFrom != kRestoreList) return false;
        if (header.code == LVN_ITEMCHANGED || header.code == NM_CLICK) presenter_.Selection_Changed();
        return false;
    }

    bool On_Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        return Color_Link_Label(message, wParam, lParam, {kRestoreLink}, result);
    }

    const Reporter& reporter_;
    ProgressPanel progress_;
    backup::RestorePresenter presenter_;
};

}  // namespace

void Show_Restore_Dialog(HWND owner, backup::RestoreMode mode, const backup::BackupComputer& computer,
                         const remote::RemotePorts& ports, IShell& shell, remote::IUserDataFolder* userData) {
    RestoreDialog dialog(mode, computer, ports, shell, userData);
    (void)dialog.Run_Modal(owner, kRestoreDialogId);
}

}  // namespace corvane::win32
