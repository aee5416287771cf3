// Shows the ResultsList model in the Win32 list view lvwScanResults as a
// virtual list (LVS_OWNERDATA): the control asks for texts, icons, indentation
// and check marks of the rows it draws, header and error rows are drawn bold,
// and clicks on a check box or the space bar go to a callback. Rows added at
// the end and rows changed in place reach the control at most every 40 ms,
// and the list scrolls to a new row at most four times a second (a timer
// catches up), so adding, scrolling and checking stay fast with any number
// of rows. Does not own the list view window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>

#include "base/ui/results_list.h"

namespace corvane::win32 {

class ImageLibrary;

class ResultsView final : public IResultsListObserver {
public:
    using UserCheck = std::function<void(std::size_t row, bool checked)>;
    using RowAction = std::function<void(std::size_t row)>;

    ResultsView(HWND list, ResultsList& model, const ImageLibrary& images);
    ~ResultsView() override;
    ResultsView(const ResultsView&) = delete;
    ResultsView& operator=(const ResultsView&) = delete;

    UserCheck onUserCheck;
    RowAction onDoubleClick;
    std::function<void(POINT screen)> onContextMenu;

    [[nodiscard]] HWND Window() const noexcept { return list_; }
    void Set_Fonts(HFONT normal, HFONT bold) noexcept;
    // Column widths in pixels.
    void Set_Column_Widths(const std::array<int, 4>& widths);
    [[nodiscard]] std::array<int, 4> Column_Widths() const;

    // Copies the control's selection into the rows' `selected` flags.
    void Read_Selection();
    // Index of the first selected row, or Count() when none is.
    [[nodiscard]] std::size_t First_Selected() const;
    // Suspends drawing (LockWindowUpdate) while many rows arrive.
    void Suspend_Drawing(bool suspend);
    // Brings the control up to date with the model now.
    void Flush();

    void Rows_Inserted(std::size_t first, std::size_t count) override;
    void Row_Changed(std::size_t index) override;
    void Row_Removed(std::size_t index) override;
    void Cleared() override;
    void Ensure_Visible(std::size_t index) override;
    void Drawing_Suspended(bool suspend) override { Suspend_Drawing(suspend); }

    // WM_NOTIFY from the list; sets result and returns true when handled.
    bool On_Notify(const NMHDR& header, LRESULT& result);

private:
    static void CALLBACK Flush_Timer(HWND list, UINT message, UINT_PTR id, DWORD time) noexcept;
    void Schedule_Flush();
    void Scroll_Into_View(std::size_t index);
    void Mark_Dirty(std::size_t first, std::size_t last);
    void Fill_Display_Info(NMLVDISPINFOW& info);
    void Toggle_Check(std::size_t row);
    void Show_Selection_From_Model();

    HWND list_;
    ResultsList& model_;
    const ImageLibrary& images_;
    HFONT normalFont_ = nullptr;
    HFONT boldFont_ = nullptr;
    std::wstring textBuffer_;
    bool drawingSuspended_ = false;
    // What the control has not been told yet.
    std::size_t shownCount_ = 0;
    std::size_t dirtyFirst_ = static_cast<std::size_t>(-1);
    std::size_t dirtyLast_ = 0;
    std::size_t pendingVisible_ = static_cast<std::size_t>(-1);
    ULONGLONG lastFlush_ = 0;
    ULONGLONG lastScroll_ = 0;
    bool timerArmed_ = false;
};

}  // namespace corvane::win32
