// Identifiers of the main window's controls, menu commands, timer and private
// messages.
#pragma once

#include <windows.h>

namespace corvane::win32 {

inline constexpr UINT kFirstCommandId = 1000;          // + the Command's value
inline constexpr UINT kContextAddToException = 2001;   // cmnuAddToException
inline constexpr UINT kContextOpenRegistryKey = 2002;  // cmnuOpenRegistryKey
inline constexpr UINT kContextCopyToClipboard = 2003;  // cmnuCopyToClipboard

inline constexpr int kIdRebar = 3001;
inline constexpr int kIdToolbar = 3002;
inline constexpr int kIdStatus = 3003;
inline constexpr int kIdComputerTree = 3004;
inline constexpr int kIdCategoryTree = 3005;
inline constexpr int kIdResultsList = 3006;
inline constexpr int kIdProgressPanel = 3007;
inline constexpr int kIdFirstLabel = 3100;  // + the ProgressLabel's value
inline constexpr int kIdProgressBar = 3120;
inline constexpr int kIdCancelScanning = 3121;

inline constexpr UINT_PTR kTickOnceTimer = 1;  // tmrTickOnce
inline constexpr UINT kTickOnceIntervalMs = 100;

inline constexpr UINT kSyncComputerChecks = WM_APP + 1;
inline constexpr UINT kSyncCategoryChecks = WM_APP + 2;
inline constexpr UINT kCloseConfirmed = WM_APP + 3;

// Status-bar panels, 0-based: "HomeSite", "Version", panel 3 (the problem total).
inline constexpr int kStatusHomeSite = 0;
inline constexpr int kStatusVersion = 1;
inline constexpr int kStatusTotal = 2;

inline constexpr int kProgressPanelWidth = 6600;  // twips
inline constexpr int kProgressPanelHeight = 2700;

[[nodiscard]] constexpr UINT Command_Id(int command) noexcept { return kFirstCommandId + static_cast<UINT>(command); }

}  // namespace corvane::win32
