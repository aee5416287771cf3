#include "app/win32/results_view.h"

#include <algorithm>

#include "app/win32/image_library.h"
#include "base/ui/results_list_ops.h"
#include "base/win32/list_view.h"
#include "base/win32/wide_text.h"

namespace corvane::win32 {

namespace {

constexpr std::array<const wchar_t*, 4> kHeadings{L"Value Name", L"Data", L"Problem", L"Registry Key"};

constexpr UINT_PTR kFlushTimerId = 0xC0F1;
constexpr UINT kFlushIntervalMs = 40;
// Moving the rows on the screen is the costly part (tens of milliseconds
// under Wine): a list that follows new rows moves at most four times a second.
constexpr ULONGLONG kScrollIntervalMs = 250;
constexpr wchar_t kViewProperty[] = L"CorvaneResultsView";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

}  // namespace

ResultsView::ResultsView(HWND list, ResultsList& model, const ImageLibrary& images)
    : list_(list), model_(model), images_(images) {
    ListView_SetImageList(list_, images_.Small(), LVSIL_SMALL);
    for (int column = 0; column < 4; ++column) {
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.pszText = const_cast<wchar_t*>(kHeadings[static_cast<std::size_t>(column)]);
        lvc.cx = 100;
        lvc.iSubItem = column;
        ListView(list_).Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
    }
    // Check marks live in the model: the control asks for them.
    ListView(list_).Set_Callback_Mask(LVIS_STATEIMAGEMASK);
    ::SetPropW(list_, kViewProperty, this);
    model_.Set_Observer(this);
    shownCount_ = model_.Count();
    ListView(list_).Set_Item_Count(shownCount_);
}

ResultsView::~ResultsView() {
    model_.Set_Observer(nullptr);
    if (::IsWindow(list_)) {
        ::KillTimer(list_, kFlushTimerId);
        ::RemovePropW(list_, kViewProperty);
    }
}

void ResultsView::Set_Fonts(HFONT normal, HFONT bold) noexcept {
    normalFont_ = normal;
    boldFont_ = bold;
    ListView(list_).Set_Font(normal);
}

void ResultsView::Set_Column_Widths(const std::array<int, 4>& widths) {
    for (int column = 0; column < 4; ++column)
        ListView_SetColumnWidth(list_, column, widths[static_cast<std::size_t>(column)]);
}

std::array<int, 4> ResultsView::Column_Widths() const {
    std::array<int, 4> widths{};
    for (int column = 0; column < 4; ++column)
        widths[static_cast<std::size_t>(column)] = ListView_GetColumnWidth(list_, column);
    return widths;
}

void ResultsView::Read_Selection() {
    Flush();
    for (std::size_t i = 0; i < model_.Count(); ++i) model_.Row(i).selected = false;
    int index = -1;
    while ((index = ListView_GetNextItem(list_, index, LVNI_SELECTED)) >= 0) {
        if (static_cast<std::size_t>(index) < model_.Count())
            model_.Row(static_cast<std::size_t>(index)).selected = true;
    }
}

std::size_t ResultsView::First_Selected() const {
    const int index = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    return index < 0 ? model_.Count() : static_cast<std::size_t>(index);
}

void ResultsView::Suspend_Drawing(bool suspend) {
    if (suspend == drawingSuspended_) return;
    drawingSuspended_ = suspend;
    if (!suspend) Flush();
    ::LockWindowUpdate(suspend ? list_ : nullptr);
}

void ResultsView::Mark_Dirty(std::size_t first, std::size_t last) {
    if (dirtyFirst_ == kNone) {
        dirtyFirst_ = first;
        dirtyLast_ = last;
    } else {
        dirtyFirst_ = std::min(dirtyFirst_, first);
        dirtyLast_ = std::max(dirtyLast_, last);
    }
}

void ResultsView::Schedule_Flush() {
    if (::GetTickCount64() - lastFlush_ >= kFlushIntervalMs) {
        Flush();
        return;
    }
    if (!timerArmed_) timerArmed_ = ::SetTimer(list_, kFlushTimerId, kFlushIntervalMs, &ResultsView::Flush_Timer) != 0;
}

void CALLBACK ResultsView::Flush_Timer(HWND list, UINT, UINT_PTR, DWORD) noexcept {
    if (auto* view = static_cast<ResultsView*>(::GetPropW(list, kViewProperty))) view->Flush();
}

void ResultsView::Flush() {
    if (timerArmed_) {
        ::KillTimer(list_, kFlushTimerId);
        timerArmed_ = false;
    }
    lastFlush_ = ::GetTickCount64();
    const std::size_t count = model_.Count();
    if (count != shownCount_) {
        if (count > shownCount_) Mark_Dirty(shownCount_, count - 1);
        ListView(list_).Set_Item_Count(count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        shownCount_ = count;
    }
    bool scrollLater = false;
    if (pendingVisible_ < count) {
        if (lastFlush_ - lastScroll_ >= kScrollIntervalMs) {
            Scroll_Into_View(pendingVisible_);
            lastScroll_ = lastFlush_;
            pendingVisible_ = kNone;
        } else {
            scrollLater = true;
        }
    } else {
        pendingVisible_ = kNone;
    }
    if (dirtyFirst_ != kNone && count > 0) {
        // Only rows on the screen need drawing; the others are asked for when shown.
        const auto top = static_cast<std::size_t>(std::max(0, ListView_GetTopIndex(list_)));
        const auto bottom = top + static_cast<std::size_t>(std::max(0, ListView_GetCountPerPage(list_))) + 1;
        const std::size_t first = std::max(dirtyFirst_, top);
        const std::size_t last = std::min({dirtyLast_, bottom, count - 1});
        if (first <= last) ListView_RedrawItems(list_, static_cast<int>(first), static_cast<int>(last));
    }
    dirtyFirst_ = kNone;
    dirtyLast_ = 0;
    if (scrollLater) timerArmed_ = ::SetTimer(list_, kFlushTimerId, kFlushIntervalMs, &ResultsView::Flush_Timer) != 0;
}

void ResultsView::Scroll_Into_View(std::size_t index) {
    const auto top = static_cast<std::size_t>(std::max(0, ListView_GetTopIndex(list_)));
    const auto page = static_cast<std::size_t>(std::max(1, ListView_GetCountPerPage(list_)));
    if (index >= top && index < top + page) return;
    ListView_EnsureVisible(list_, static_cast<int>(index), FALSE);
}

void ResultsView::Rows_Inserted(std::size_t first, std::size_t count) {
    if (first + count == model_.Count() && first >= shownCount_) {
        Schedule_Flush();  // appended: the new count and drawing can wait a moment
        return;
    }
    // Rows moved: the control learns the whole list again at once.
    Flush();
    ListView(list_).Set_Item_Count(model_.Count());
    shownCount_ = model_.Count();
    Show_Selection_From_Model();
}

void ResultsView::Row_Changed(std::size_t index) {
    Mark_Dirty(index, index);
    Schedule_Flush();
}

void ResultsView::Row_Removed(std::size_t) {
    dirtyFirst_ = kNone;
    pendingVisible_ = kNone;
    shownCount_ = model_.Count();
    ListView(list_).Set_Item_Count(shownCount_);
    Show_Selection_From_Model();
}

void ResultsView::Cleared() {
    dirtyFirst_ = kNone;
    pendingVisible_ = kNone;
    shownCount_ = 0;
    ListView(list_).Set_Item_Count(0);
}

void ResultsView::Ensure_Visible(std::size_t index) {
    pendingVisible_ = index;
    Schedule_Flush();
}

// After rows moved, the control's selection (kept by row number) is set
// again from the rows' flags.
void ResultsView::Show_Selection_From_Model() {
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
    for (std::size_t i = 0; i < model_.Count(); ++i) {
        if (model_.Row(i).selected) ListView_SetItemState(list_, static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
    }
}

void ResultsView::Fill_Display_Info(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= model_.Count()) return;
    const ListRow& row = model_.Row(static_cast<std::size_t>(item.iItem));
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iSubItem >= 0 && item.iSubItem < 4) {
        textBuffer_ = Widen(Column_Text(row, static_cast<std::size_t>(item.iSubItem)));
        const std::size_t length = std::min(textBuffer_.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        textBuffer_.copy(item.pszText, length);
        item.pszText[length] = L'\0';
    }
    if (item.mask & LVIF_IMAGE) item.iImage = item.iSubItem == 0 ? images_.Index(Shown_Small_Icon(row)) : -1;
    if (item.mask & LVIF_INDENT) item.iIndent = row.indent;
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

void ResultsView::Toggle_Check(std::size_t row) {
    if (row >= model_.Count() || !onUserCheck) return;
    onUserCheck(row, !model_.Row(row).checked);
}

bool ResultsView::On_Notify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != list_) return false;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            Fill_Display_Info(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
            result = 0;
            return true;
        case NM_CUSTOMDRAW: {
            auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header));
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
                const std::size_t index = draw.nmcd.dwItemSpec;
                const bool bold = index < model_.Count() && model_.Row(index).bold && boldFont_;
                ::SelectObject(draw.nmcd.hdc, bold ? boldFont_ : normalFont_);
                result = CDRF_NEWFONT;
            } else {
                result = CDRF_DODEFAULT;
            }
            return true;
        }
        case NM_CLICK:
        case NM_DBLCLK: {
            const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
            LVHITTESTINFO hit{};
            hit.pt = activate.ptAction;
            const int index = ListView_HitTest(list_, &hit);
            if (index >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) {
                Toggle_Check(static_cast<std::size_t>(index));
            } else if (header.code == NM_DBLCLK && index >= 0 && onDoubleClick) {
                onDoubleClick(static_cast<std::size_t>(index));
            }
            result = 0;
            return true;
        }
        case LVN_KEYDOWN: {
            const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
            if (key.wVKey == VK_SPACE) {
                const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
                if (focused >= 0) Toggle_Check(static_cast<std::size_t>(focused));
            }
            result = 0;
            return true;
        }
        case NM_RCLICK: {
            if (onContextMenu) {
                const DWORD position = ::GetMessagePos();
                onContextMenu(POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))});
            }
            result = 0;
            return true;
        }
        case LVN_ODFINDITEMW: result = -1; return true;
        default: return false;
    }
}

}  // namespace corvane::win32
