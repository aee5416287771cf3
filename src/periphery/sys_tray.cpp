#include "periphery/sys_tray.h"

#include "base/utf8.h"

namespace corvane {

std::string Cut_To_Utf16_Units(std::string_view text, std::size_t maxUnits) {
    std::size_t units = 0;
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t point = Next_Code_Point(text, i);
        units += point >= 0x10000 ? 2 : 1;  // beyond the first plane: a surrogate pair
        if (units > maxUnits) break;
        end = i;
    }
    return std::string(text.substr(0, end));
}

TrayNotification Decode_Tray_Notification(std::uint32_t number) noexcept {
    switch (number) {
        case 512: return {TrayEvent::MouseMove, 0};
        case 513: return {TrayEvent::MouseDown, 1};
        case 514: return {TrayEvent::MouseUp, 1};
        case 515: return {TrayEvent::DoubleClick, 1};
        case 516: return {TrayEvent::MouseDown, 2};
        case 517: return {TrayEvent::MouseUp, 2};
        case 518: return {TrayEvent::DoubleClick, 2};
        case 1026: return {TrayEvent::BalloonShow, 0};
        case 1027: return {TrayEvent::BalloonHide, 0};
        case 1028: return {TrayEvent::BalloonTimeOut, 0};
        case 1029: return {TrayEvent::BalloonClicked, 0};
        default: return {};
    }
}

SysTray::SysTray(INotifyIconShell& shell, std::uintptr_t icon, std::string_view tip) : shell_(shell) {
    data_.flags = kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip;
    data_.callbackMessage = kTrayCallbackMessage;
    data_.icon = icon;
    data_.tip = Cut_To_Utf16_Units(tip, kTrayTipLimit);
    data_.version = 3;
    shell_.Notify(TrayCommand::Add, data_);
    shell_.Notify(TrayCommand::SetVersion, data_);
}

SysTray::~SysTray() { shell_.Notify(TrayCommand::Delete, data_); }

void SysTray::ShowBalloonTip(std::string_view message, std::string_view title, std::uint32_t iconKind,
                             std::uint32_t timeoutMs) {
    data_.info = Cut_To_Utf16_Units(message, kTrayInfoLimit);
    data_.infoTitle = Cut_To_Utf16_Units(title, kTrayInfoTitleLimit);
    data_.timeout = timeoutMs;
    data_.infoFlags = iconKind;
    data_.flags = kTrayFlagInfo;
    shell_.Notify(TrayCommand::Modify, data_);
}

void SysTray::Set_ToolTip(std::string_view tip) {
    data_.tip = Cut_To_Utf16_Units(tip, kTrayTipLimit);
    data_.flags = kTrayFlagTip;
    shell_.Notify(TrayCommand::Modify, data_);
}

void SysTray::Set_IconHandle(std::uintptr_t icon) {
    if (icon == data_.icon) return;
    data_.icon = icon;
    data_.flags = kTrayFlagIcon;
    shell_.Notify(TrayCommand::Modify, data_);
}

int SysTray::AddMenuItem(std::string_view caption, std::string_view key, bool isDefault) {
    int index = 0;
    if (menuCreated_) {
        items_.push_back({});
        index = static_cast<int>(items_.size()) - 1;
    }
    menuCreated_ = true;
    items_[static_cast<std::size_t>(index)] = TrayMenuItem{std::string(caption), std::string(key), true};
    if (isDefault) defaultIndex_ = index;
    return index;
}

void SysTray::EnableMenuItem(int index, bool enabled) {
    if (Is_Valid_Index(index)) items_[static_cast<std::size_t>(index)].enabled = enabled;
}

void SysTray::RemoveMenuItem(int index) {
    if (!Is_Valid_Index(index)) return;
    if (index == 0) {
        items_[0].caption.clear();
        return;
    }
    for (std::size_t i = static_cast<std::size_t>(index); i + 1 < items_.size(); ++i) {
        items_[i].caption = items_[i + 1].caption;
        items_[i].key = items_[i + 1].key;
    }
    items_.pop_back();
    if (!Is_Valid_Index(defaultIndex_)) defaultIndex_ = 0;
}

void SysTray::Set_DefaultMenuIndex(int index) { defaultIndex_ = Is_Valid_Index(index) ? index : 0; }

void SysTray::Notification(std::uint32_t number) {
    const TrayNotification n = Decode_Tray_Notification(number);
    switch (n.event) {
        case TrayEvent::MouseMove:
            if (events.mouseMove) events.mouseMove();
            break;
        case TrayEvent::MouseDown:
            if (events.mouseDown) events.mouseDown(n.button);
            break;
        case TrayEvent::MouseUp:
            if (events.mouseUp) events.mouseUp(n.button);
            break;
        case TrayEvent::DoubleClick:
            if (events.doubleClick) events.doubleClick(n.button);
            break;
        case TrayEvent::BalloonShow:
            if (events.balloonShow) events.balloonShow();
            break;
        case TrayEvent::BalloonHide:
            if (events.balloonHide) events.balloonHide();
            break;
        case TrayEvent::BalloonTimeOut:
            if (events.balloonTimeOut) events.balloonTimeOut();
            break;
        case TrayEvent::BalloonClicked:
            if (events.balloonClicked) events.balloonClicked();
            break;
        case TrayEvent::None: break;
    }
}

void SysTray::Menu_Clicked(int index) {
    if (!Is_Valid_Index(index) || !events.menuClick) return;
    events.menuClick(index, items_[static_cast<std::size_t>(index)].key);
}

}  // namespace corvane
