// frmSysTray without a window: the notification-area icon's data (tooltip,
// icon, balloon), its popup menu items, and the shell notifications turned
// into events. The shell call itself is the INotifyIconShell port; the Win32
// side owns the hidden window that receives the notifications.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum class TrayCommand : std::uint32_t { Add = 0, Modify = 1, Delete = 2, SetVersion = 4 };

inline constexpr std::uint32_t kTrayFlagMessage = 1;
inline constexpr std::uint32_t kTrayFlagIcon = 2;
inline constexpr std::uint32_t kTrayFlagTip = 4;
inline constexpr std::uint32_t kTrayFlagInfo = 16;
inline constexpr std::uint32_t kTrayCallbackMessage = 512;  // arrives like a mouse move
inline constexpr std::size_t kTrayTipLimit = 127;           // UTF-16 units, balloons supported
inline constexpr std::size_t kTrayInfoLimit = 255;
inline constexpr std::size_t kTrayInfoTitleLimit = 63;

// The wide NOTIFYICONDATA fields the program fills; texts are UTF-8 already
// cut to their limits.
struct TrayIconData {
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    std::uintptr_t icon = 0;
    std::string tip;
    std::string info;
    std::string infoTitle;
    std::uint32_t timeout = 0;
    std::uint32_t infoFlags = 0;
    std::uint32_t version = 0;
};

class INotifyIconShell {
public:
    virtual ~INotifyIconShell() = default;
    INotifyIconShell() = default;
    INotifyIconShell(const INotifyIconShell&) = delete;
    INotifyIconShell& operator=(const INotifyIconShell&) = delete;
    // Shell_NotifyIconW; the result is not examined by the callers.
    virtual bool Notify(TrayCommand command, const TrayIconData& data) = 0;
};

// The text cut so that at most maxUnits UTF-16 code units remain, never
// splitting a character.
[[nodiscard]] std::string Cut_To_Utf16_Units(std::string_view text, std::size_t maxUnits);

enum class TrayEvent {
    None,
    MouseMove,
    MouseDown,
    MouseUp,
    DoubleClick,
    BalloonShow,
    BalloonHide,
    BalloonTimeOut,
    BalloonClicked
};
struct TrayNotification {
    TrayEvent event = TrayEvent::None;
    int button = 0;  // 1 left, 2 right
};
// 512..518 and 1026..1029 as the events they raise; other numbers raise nothing.
[[nodiscard]] TrayNotification Decode_Tray_Notification(std::uint32_t number) noexcept;

struct TrayMenuItem {
    std::string caption;
    std::string key;
    bool enabled = true;
};

class SysTray {
public:
    struct Events {
        std::function<void(int button)> mouseDown;
        std::function<void(int button)> mouseUp;
        std::function<void()> mouseMove;
        std::function<void(int button)> doubleClick;
        std::function<void(int index, const std::string& key)> menuClick;
        std::function<void()> balloonShow, balloonHide, balloonTimeOut, balloonClicked;
    };

    // Adds the icon (and sets version 3 for balloons) with the given icon
    // handle and tooltip; the destructor removes it.
    SysTray(INotifyIconShell& shell, std::uintptr_t icon, std::string_view tip);
    ~SysTray();
    SysTray(const SysTray&) = delete;
    SysTray& operator=(const SysTray&) = delete;

    Events events;

    void ShowBalloonTip(std::string_view message, std::string_view title, std::uint32_t iconKind,
                        std::uint32_t timeoutMs);
    [[nodiscard]] const std::string& ToolTip() const noexcept { return data_.tip; }
    void Set_ToolTip(std::string_view tip);
    [[nodiscard]] std::uintptr_t IconHandle() const noexcept { return data_.icon; }
    void Set_IconHandle(std::uintptr_t icon);

    int AddMenuItem(std::string_view caption, std::string_view key, bool isDefault);
    void EnableMenuItem(int index, bool enabled);
    void RemoveMenuItem(int index);
    [[nodiscard]] int DefaultMenuIndex() const noexcept { return defaultIndex_; }
    void Set_DefaultMenuIndex(int index);
    [[nodiscard]] const std::vector<TrayMenuItem>& Menu_Items() const noexcept { return items_; }
    [[nodiscard]] bool Is_Valid_Index(int index) const noexcept {
        return index >= 0 && static_cast<std::size_t>(index) < items_.size();
    }

    // The window received the callback message with this notification number.
    void Notification(std::uint32_t number);
    // Item i of the popup menu was chosen.
    void Menu_Clicked(int index);

private:
    INotifyIconShell& shell_;
    TrayIconData data_;
    std::vector<TrayMenuItem> items_{TrayMenuItem{}};  // item 0 exists from the start
    bool menuCreated_ = false;
    int defaultIndex_ = 0;
};

}  // namespace corvane
