// Benchmark of the results list as the main window shows it: a virtual list
// view (owner data) over the ResultsList model, filled with 100,000 rows the
// way a scan adds them (headers, indented problem rows scrolled into view,
// the message pump between rows), then scrolled page by page and end to end,
// checked through a header, counted and copied as clipboard text. Prints the
// figures; run it under Wine with a display (xvfb-run).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/win32/image_library.h"
#include "app/win32/results_view.h"
#include "base/ui/results_list.h"
#include "base/ui/results_list_ops.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kRowsPerHeader = 500;

double Ms_Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Pump() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

struct Host {
    corvane::ResultsList* model = nullptr;
    corvane::win32::ResultsView* view = nullptr;
    bool plainDrawing = false;  // the control's own drawing, no bold rows
};

LRESULT CALLBACK Host_Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<Host*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NOTIFY && host && host->view) {
        if (host->plainDrawing && reinterpret_cast<const NMHDR*>(lParam)->code == NM_CUSTOMDRAW) return CDRF_DODEFAULT;
        LRESULT result = 0;
        if (host->view->On_Notify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t kRows = argc > 1 ? static_cast<std::size_t>(std::atol(argv[1])) : 100000;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::InitCommonControls();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Host_Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"CorvaneListBench";
    ::RegisterClassExW(&windowClass);
    HWND window = ::CreateWindowExW(0, L"CorvaneListBench", L"Results list benchmark", WS_OVERLAPPEDWINDOW, 20, 20,
                                    1000, 700, nullptr, nullptr, windowClass.hInstance, nullptr);
    HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                                  WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 980,
                                  660, window, nullptr, windowClass.hInstance, nullptr);
    // Variants for comparison (second argument): "plain" drawing without
    // bold rows, "nobuffer" without double buffering, "noscroll" filling
    // without scrolling rows into view.
    const std::string variant = argc > 2 ? argv[2] : "";
    const DWORD styles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | (variant == "nobuffer" ? 0 : LVS_EX_DOUBLEBUFFER);
    ListView_SetExtendedListViewStyleEx(list, styles, styles);
    corvane::win32::ImageLibrary images;
    corvane::ResultsList model;
    corvane::win32::ResultsView view(list, model, images);
    view.Set_Column_Widths({300, 160, 160, 400});
    Host host{&model, &view, variant == "plain"};
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
    ::ShowWindow(window, SW_SHOW);
    Pump();

    // Filling, as the category routines do: header, then problem rows each
    // scrolled into view, the pump after every row.
    auto start = Clock::now();
    std::size_t headers = 0;
    for (std::size_t i = 0; i < kRows; ++i) {
        if (i % kRowsPerHeader == 0) {
            corvane::ListRow& header =
                model.Add_List_Item(0, "fA" + std::to_string(headers++) + "PC", "[Help Files]", "", "HelpFile", 0);
            header.bold = true;
            header.checked = true;
            header.computerName = "PC";
            header.targetName = "PC";
            if (variant != "noscroll") model.Ensure_Visible(model.Count() - 1);
            continue;
        }
        corvane::ListRow& row =
            model.Add_List_Item(0, "s" + std::to_string(i), "value" + std::to_string(i) + ".hlp", "", "HelpFile", 1);
        row.checked = true;
        row.status = "The file does not exist";
        row.location = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Help";
        // Filled in place: moving a whole record in trips GCC 12's
        // maybe-uninitialized warning on its optional evidence.
        corvane::Problem& problem = row.problem.emplace();
        problem.categoryKey = "fA";
        problem.targetName = "PC";
        problem.registry = {.root = 0x80000002u, .keyPath = "SOFTWARE\\Microsoft\\Windows\\Help"};
        if (variant != "noscroll") model.Ensure_Visible(model.Count() - 1);
        if (i % 16 == 0) Pump();
    }
    Pump();
    const double fillMs = Ms_Since(start);
    std::printf("rows: %zu (%zu headers)\n", model.Count(), headers);
    std::printf("fill, one row at a time, scrolled into view: %.0f ms (%.2f us per row)\n", fillMs,
                fillMs * 1000.0 / static_cast<double>(model.Count()));

    // Scrolling as the user does it: a click in the scroll bar below the
    // thumb (a page), and the Page Down key, each page drawn.
    const int pages = static_cast<int>(std::min<std::size_t>(kRows / 40, 500));
    for (const char* how : {"scroll bar", "Page Down key"}) {
        ListView_EnsureVisible(list, 0, FALSE);
        ::UpdateWindow(list);
        start = Clock::now();
        for (int page = 0; page < pages; ++page) {
            if (how[0] == 's') {
                ::SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
            } else {
                ::SendMessageW(list, WM_KEYDOWN, VK_NEXT, 0);
            }
            ::UpdateWindow(list);
        }
        const double pageMs = Ms_Since(start);
        std::printf("scroll (%s): %d pages drawn in %.0f ms (%.2f ms per page), top row now %d\n", how, pages, pageMs,
                    pageMs / pages, ListView_GetTopIndex(list));
    }
    start = Clock::now();
    for (int jump = 0; jump < 20; ++jump) {
        ListView_EnsureVisible(list, jump % 2 == 0 ? static_cast<int>(model.Count() - 1) : 0, FALSE);
        ::UpdateWindow(list);
    }
    std::printf("scroll: 20 jumps between the ends drawn in %.0f ms\n", Ms_Since(start));

    // Checking: every header unchecked (each passes it to its 499 rows), drawn.
    start = Clock::now();
    std::size_t changed = 0;
    for (std::size_t i = 0; i < model.Count(); i += kRowsPerHeader)
        changed += corvane::Set_Row_Checked(model, i, false);
    ::UpdateWindow(list);
    std::printf("check: %zu rows changed through %zu headers in %.0f ms\n", changed, headers, Ms_Since(start));

    start = Clock::now();
    const auto unfixed = corvane::Count_Unfixed_Problems(model);
    const auto checkedUnfixed = corvane::Count_Checked_Unfixed_Problems(model);
    std::printf("count: %d un-fixed, %d checked, in %.1f ms\n", unfixed, checkedUnfixed, Ms_Since(start));

    start = Clock::now();
    const std::string text = corvane::Results_Clipboard_Text(model);
    std::printf("clipboard text: %zu bytes in %.0f ms\n", text.size(), Ms_Since(start));

    start = Clock::now();
    model.Clear();
    ::UpdateWindow(list);
    std::printf("clear: %.1f ms\n", Ms_Since(start));
    ::DestroyWindow(window);
    return 0;
}
