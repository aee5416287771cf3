// frmAbout: the product name, the version text, a link to the maker's web
// site and one to the support address; OK or Escape closes it. Modal, owned
// by the main window.
#pragma once

#include <windows.h>

namespace corvane {
class Reporter;
}

namespace corvane::win32 {

inline constexpr int kAboutDialogId = 200;
inline constexpr int kAboutProduct = 201;
inline constexpr int kAboutVersion = 202;
inline constexpr int kAboutWebLink = 203;
inline constexpr int kAboutMailLink = 204;
inline constexpr int kAboutIcon = 205;

// `reporter` receives errors of the dialog's callbacks.
void Show_About_Box(HWND owner, const Reporter& reporter);

}  // namespace corvane::win32
