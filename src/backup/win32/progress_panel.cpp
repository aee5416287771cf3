#include "backup/win32/progress_panel.h"

#include "base/win32/progress_bar.h"

namespace corvane::win32 {
namespace {

RECT Rect_In(HWND dialog, HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

void ProgressPanel::Attach(HWND dialog, int panelId, int labelId, int barId) noexcept {
    dialog_ = dialog;
    ids_[0] = panelId;
    ids_[1] = labelId;
    ids_[2] = barId;
}

void ProgressPanel::Center() const {
    RECT client{};
    ::GetClientRect(dialog_, &client);
    const RECT panel = Rect_In(dialog_, ::GetDlgItem(dialog_, ids_[0]));
    const int dx = (client.right - (panel.right - panel.left)) / 2 - panel.left;
    const int dy = (client.bottom - (panel.bottom - panel.top)) / 2 - panel.top;
    for (int id : ids_) {
        Window control(::GetDlgItem(dialog_, id));
        const RECT rect = Rect_In(dialog_, control.Handle());
        control.Move(rect.left + dx, rect.top + dy, rect.right - rect.left, rect.bottom - rect.top);
    }
}

void ProgressPanel::Set_Progress(std::string_view caption, int maximum, int value) {
    Window(::GetDlgItem(dialog_, ids_[1])).Set_Text(caption);
    maximum_ = maximum;
    value_ = value;
    const ProgressBar bar(::GetDlgItem(dialog_, ids_[2]));
    bar.Set_Range32(0, maximum_);
    bar.Set_Pos(value_);
}

void ProgressPanel::Visible_Progress_Bar(bool visible) {
    for (int id : ids_) Window(::GetDlgItem(dialog_, id)).Show(visible);
    // Lets the window paint and answer while the caller works on.
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!::IsDialogMessageW(dialog_, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

void ProgressPanel::Do_Progress() {
    const ProgressBar bar(::GetDlgItem(dialog_, ids_[2]));
    bar.Set_Range32(0, ++maximum_);
    bar.Set_Pos(++value_);
}

}  // namespace corvane::win32
