#include "backup/win32/restore_dialog.h"

#include <commctrl.h>

#include "backup/restore_presenter.h"
#include "base/win32/controls.h"
#include "base/win32/dialog.h"
#include "base/win32/list_view.h"
#include "base/win32/progress_bar.h"

namespace corvane::win32 {
namespace {

// Column widths come in twips; at 96 dots per inch a pixel is 15 twips.
constexpr int kTwipsPerPixel = 15;

class RestoreDialog final : public Dialog, public backup::IRestoreView, public backup::IProgressPanel {
public:
    RestoreDialog(backup::RestoreMode mode, const backup::BackupComputer& computer, const remote::RemotePorts& ports,
                  IShell& shell)
        : Dialog(&ports.reporter, "Restore"), presenter_(mode, computer, ports, *this, *this, shell) {}

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

    // ---- IProgressPanel
    void Set_Progress(std::string_view caption, int maximum, int value) override {
        Control(kRestoreProgressText).Set_Text(caption);
        maximum_ = maximum;
        value_ = value;
        Bar().Set_Range32(0, maximum_);
        Bar().Set_Pos(value_);
    }
    void Visible_Progress_Bar(bool visible) override {
        for (int id : {kRestorePanel, kRestoreProgressText, kRestoreProgressBar}) Control(id).Show(visible);
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!::IsDialogMessageW(Handle(), &message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
    }
    void Do_Progress() override {
        Bar().Set_Range32(0, ++maximum_);
        Bar().Set_Pos(++value_);
    }

private:
    [[nodiscard]] ListView List() const { return ListView(Item(kRestoreList)); }
    [[nodiscard]] ProgressBar Bar() const { return ProgressBar(Item(kRestoreProgressBar)); }

    bool On_Init() override {
        List().Set_Extended_Style(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        Control(kRestoreLink).Set_Text(backup::kRestoreLinkCaption);
        Center_Panel();
        presenter_.Load();
        return true;
    }

    // The panel and what it holds keep their places relative to each other.
    void Center_Panel() const {
        const RECT client = Window(Handle()).Client_Rect();
        RECT panel = Control(kRestorePanel).Window_Rect();
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&panel), 2);
        const int dx = (client.right - (panel.right - panel.left)) / 2 - panel.left;
        const int dy = (client.bottom - (panel.bottom - panel.top)) / 2 - panel.top;
        for (int id : {kRestorePanel, kRestoreProgressText, kRestoreProgressBar}) {
            RECT rect = Control(id).Window_Rect();
            ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
            Control(id).Move(rect.left + dx, rect.top + dy, rect.right - rect.left, rect.bottom - rect.top);
        }
    }

    bool On_Command(int id, int code, HWND) override {
        switch (id) {
            case kRestoreButton: presenter_.Restore_Clicked(); return true;
            case kRestoreDelete: presenter_.Delete_Clicked(); return true;
            case kRestoreClose: presenter_.Close_Clicked(); return true;
            case kRestoreLink:
                if (code == STN_CLICKED) presenter_.Link_Clicked();
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
        if (message != WM_CTLCOLORSTATIC || ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != kRestoreLink) {
            return false;
        }
        auto dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, RGB(0, 0, 204));
        ::SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }

    backup::RestorePresenter presenter_;
    int maximum_ = 0;
    int value_ = 0;
};

}  // namespace

void Show_Restore_Dialog(HWND owner, backup::RestoreMode mode, const backup::BackupComputer& computer,
                         const remote::RemotePorts& ports, IShell& shell) {
    RestoreDialog dialog(mode, computer, ports, shell);
    (void)dialog.Run_Modal(owner, kRestoreDialogId);
}

}  // namespace corvane::win32
