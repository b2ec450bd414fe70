#include "ListBox.h"

#include "Exceptions.h"

#include <algorithm>

namespace gui {
namespace {

TCreateParams ListParams(const TListBoxStyle& style) {
    TCreateParams params;
    params.ClassName = "LISTBOX";
    params.Style = WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    if (style.MultiSelect) params.Style |= style.ExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (style.OwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
    params.ExStyle = WS_EX_CLIENTEDGE;
    return params;
}

}  // namespace

// ---- TListBoxItems --------------------------------------------------------

int TListBoxItems::Count() const { return static_cast<int>(list_.Texts().size()); }

void TListBoxItems::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
}

std::string TListBoxItems::Get(int index) const {
    CheckIndex(index);
    return list_.Texts()[static_cast<std::size_t>(index)];
}

void TListBoxItems::Put(int index, const std::string& text) {
    CheckIndex(index);
    LPARAM data = Data(index);
    Delete(index);
    Insert(index, text);
    SetData(index, data);
}

LPARAM TListBoxItems::Data(int index) const {
    CheckIndex(index);
    return list_.Perform(LB_GETITEMDATA, static_cast<WPARAM>(index));
}

void TListBoxItems::SetData(int index, LPARAM data) {
    CheckIndex(index);
    list_.Perform(LB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

void TListBoxItems::Add(const std::string& text) {
    list_.Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TListBoxItems::Insert(int index, const std::string& text) {
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    list_.Perform(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

void TListBoxItems::Delete(int index) {
    CheckIndex(index);
    list_.Perform(LB_DELETESTRING, static_cast<WPARAM>(index));
}

void TListBoxItems::Clear() { list_.Perform(LB_RESETCONTENT); }

void TListBoxItems::Exchange(int first, int second) {
    CheckIndex(first);
    CheckIndex(second);
    int current = list_.ItemIndex();
    int top = static_cast<int>(list_.Perform(LB_GETTOPINDEX));
    std::string firstText = Get(first);
    std::string secondText = Get(second);
    LPARAM firstData = Data(first);
    LPARAM secondData = Data(second);
    Put(first, secondText);
    SetData(first, secondData);
    Put(second, firstText);
    SetData(second, firstData);
    // Re-inserted entries come back unselected; the current position follows its entry.
    if (current == first) current = second;
    else if (current == second) current = first;
    list_.Perform(LB_SETTOPINDEX, static_cast<WPARAM>(top));
    if (current >= 0) list_.SetItemIndex(current);
}

std::vector<std::string> TListBoxItems::ToVector() const {
    std::vector<std::string> texts;
    for (int i = 0, n = Count(); i < n; ++i) texts.push_back(Get(i));
    return texts;
}

void TListBoxItems::Assign(const std::vector<std::string>& texts) {
    Clear();
    std::size_t bytes = 0;
    for (const auto& text : texts) bytes += text.size() + 1;
    list_.Perform(LB_INITSTORAGE, texts.size(), static_cast<LPARAM>(bytes));
    for (const auto& text : texts) Add(text);
}

// ---- TListItemCanvas ------------------------------------------------------

void TListItemCanvas::FillRect(const RECT& rect) const {
    BrushPtr brush(CreateSolidBrush(BrushColor));
    ::FillRect(Handle, &rect, brush.get());
}

// ---- TListBox -------------------------------------------------------------

TListBox::TListBox(TControl& parent, const TRect& bounds, const TListBoxStyle& style)
    : TControl(&parent, bounds, ListParams(style)), style_(style), items_(*this) {
    CreateHandle();
    HandleCreated();
}

void TListBox::HandleCreated() {
    // The item height cannot come from WM_MEASUREITEM: that arrives before the window is known.
    if (style_.OwnerDrawFixed) Perform(LB_SETITEMHEIGHT, 0, style_.ItemHeight);
}

int TListBox::SelCount() const {
    if (!style_.MultiSelect) return Perform(LB_GETCURSEL) >= 0 ? 1 : 0;
    return static_cast<int>(Perform(LB_GETSELCOUNT));
}

bool TListBox::Selected(int index) const {
    return Perform(LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

void TListBox::SetSelected(int index, bool selected) {
    if (style_.MultiSelect) Perform(LB_SETSEL, selected ? TRUE : FALSE, index);
    else Perform(LB_SETCURSEL, selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1));
}

int TListBox::ItemIndex() const {
    if (!style_.MultiSelect) return static_cast<int>(Perform(LB_GETCURSEL));
    if (Perform(LB_GETCOUNT) <= 0) return -1;
    return static_cast<int>(Perform(LB_GETCARETINDEX));
}

void TListBox::SetItemIndex(int index) {
    if (ItemIndex() == index) return;
    if (style_.MultiSelect) Perform(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    else Perform(LB_SETCURSEL, static_cast<WPARAM>(index));
}

void TListBox::DeleteSelected() {
    if (style_.MultiSelect) {
        for (int i = items_.Count() - 1; i >= 0; --i)
            if (Selected(i)) items_.Delete(i);
        return;
    }
    int current = ItemIndex();
    if (current >= 0) items_.Delete(current);
}

LRESULT TListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = TControl::WndProc(message, wParam, lParam);
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        if (result >= 0 && static_cast<std::size_t>(result) <= texts_.size()) {
            const auto at = texts_.insert(texts_.begin() + result, reinterpret_cast<const char*>(lParam));
            if (observer_) observer_->ItemInserted(static_cast<int>(result), *at);
        }
        break;
    case LB_DELETESTRING:
        if (result != LB_ERR && wParam < texts_.size()) {
            texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(wParam));
            if (observer_) observer_->ItemDeleted(static_cast<int>(wParam));
        }
        break;
    case LB_RESETCONTENT:
        texts_.clear();
        if (observer_) observer_->ItemsCleared();
        break;
    default:
        break;
    }
    return result;
}

void TListBox::DestroyingHandle() {
    // The entries go with the window.
    texts_.clear();
    if (observer_) observer_->ItemsCleared();
}

bool TListBox::CommandNotify(WORD code) {
    if (code == LBN_SELCHANGE) {
        Click();
        return true;
    }
    if (code == LBN_DBLCLK) {
        if (OnDblClick) OnDblClick(*this);
        return true;
    }
    return false;
}

bool TListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
        return true;
    }
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    TListItemCanvas canvas;
    canvas.Handle = item.hDC;
    canvas.BrushColor = ColorToRGB(selected ? clHighlight : clWindow);
    SetTextColor(item.hDC, ColorToRGB(selected ? clHighlightText : Font().Color));
    SetBkColor(item.hDC, canvas.BrushColor);
    SelectGuard font(item.hDC, FontHandle());
    int index = static_cast<int>(item.itemID);
    if (OnDrawItem) {
        OnDrawItem(*this, index, item.rcItem, item.itemState, canvas);
    } else {
        canvas.FillRect(item.rcItem);
        RECT text = item.rcItem;
        text.left += 2;
        std::string entry = items_.Get(index);
        DrawTextA(item.hDC, entry.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

}  // namespace gui
