#include "app/win32/about_box.h"

#include "app/application.h"
#include "app/main_window_commands.h"
#include "base/open_url.h"
#include "base/win32/dialog.h"
#include "base/win32/settings_store_win32.h"
#include "base/win32/shell_win32.h"
#include "base/win32/unique_any.h"
#include "base/win32/wide_text.h"
#include "periphery/web_addresses.h"

namespace corvane::win32 {

namespace {

unique_hfont Derived_Font(Window control, bool bold, bool underline, int scalePercent) {
    LOGFONTW face{};
    HFONT font = control.Font();
    if (!font || !::GetObjectW(font, sizeof(face), &face)) return {};
    if (bold) face.lfWeight = FW_BOLD;
    face.lfUnderline = underline ? TRUE : FALSE;
    face.lfHeight = face.lfHeight * scalePercent / 100;
    return unique_hfont(::CreateFontIndirectW(&face));
}

class AboutBox final : public Dialog {
public:
    explicit AboutBox(const Reporter& reporter) : Dialog(&reporter, "About"), reporter_(reporter) {}

private:
    bool On_Init() override {
        Control(kAboutVersion).Set_Text(Get_Version_String());
        titleFont_ = Derived_Font(Control(kAboutProduct), true, false, 150);
        linkFont_ = Derived_Font(Control(kAboutWebLink), false, true, 100);
        Control(kAboutProduct).Set_Font(titleFont_.get());
        Control(kAboutWebLink).Set_Font(linkFont_.get());
        Control(kAboutMailLink).Set_Font(linkFont_.get());
        return true;
    }

    bool On_Command(int id, int, HWND) override {
        switch (id) {
            case IDOK: End(IDOK); return true;
            case kAboutWebLink: {
                Win32SettingsStore settings;
                Win32Shell shell;
                (void)Open_Web_Address(shell, periphery::Load_Web_Addresses(settings, reporter_).homeSite);
                return true;
            }
            case kAboutMailLink: Win32Shell().Open(kSupportMail); return true;
            default: return false;
        }
    }

    bool On_Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        return Color_Link_Label(message, wParam, lParam, {kAboutWebLink, kAboutMailLink}, result);
    }

    const Reporter& reporter_;
    unique_hfont titleFont_;
    unique_hfont linkFont_;
};

}  // namespace

void Show_About_Box(HWND owner, const Reporter& reporter) {
    AboutBox box(reporter);
    box.Run_Modal(owner, kAboutDialogId);
}

}  // namespace corvane::win32
