// A list box and its item store. The current position is the entry with the
// focus rectangle (the caret), which in a multiple-selection list need not be
// selected.
#pragma once

#include "Control.h"
#include "Strings.h"

namespace gui {

class TListBox;

// The entries of a list box as a list of strings; the engine reads and
// fills it directly. Texts are read from the list box's own copy of them,
// never with LB_GETTEXT, whose translation to the ANSI code page overruns a
// fixed buffer on long entries under Wine.
class TListBoxItems : public TStrings {
public:
    explicit TListBoxItems(TListBox& list) : list_(list) {}

    int Count() const override;
    // Index errors raise EStringListError.
    std::string Get(int index) const override;
    void Put(int index, const std::string& text);
    LPARAM Data(int index) const;
    void SetData(int index, LPARAM data);
    void Add(const std::string& text) override;
    void Insert(int index, const std::string& text);
    void Delete(int index);
    void Clear() override;
    // Swaps two entries with their data. Both come out unselected (each is
    // removed and inserted again); all other entries keep their selection;
    // the current position follows the entry it was on.
    void Exchange(int first, int second);
    std::vector<std::string> ToVector() const;
    // Replaces all entries; the list reserves room for them first.
    void Assign(const std::vector<std::string>& texts);

private:
    void CheckIndex(int index) const;
    TListBox& list_;
};

// Colours and the device context an item is drawn with.
struct TListItemCanvas {
    HDC Handle = nullptr;
    COLORREF BrushColor = 0;
    void FillRect(const RECT& rect) const;
};

using TDrawItemEvent = std::function<void(TListBox& sender, int index, RECT rect, UINT state, TListItemCanvas& canvas)>;

// Told of every change to a list's entries, however it was made (through the
// item store or by a message sent to the list), so that it can mirror them.
class TListItemsObserver {
public:
    virtual ~TListItemsObserver() = default;
    virtual void ItemInserted(int index, const std::string& text) = 0;
    virtual void ItemDeleted(int index) = 0;
    virtual void ItemsCleared() = 0;
};

struct TListBoxStyle {
    bool MultiSelect = true;
    bool ExtendedSelect = true;
    bool OwnerDrawFixed = true;
    int ItemHeight = 12;
};

class TListBox : public TControl {
public:
    TListBox(TControl& parent, const TRect& bounds, const TListBoxStyle& style = {});

    TListBoxItems& Items() { return items_; }
    bool MultiSelect() const { return style_.MultiSelect; }
    int SelCount() const;
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    // Current position; -1 when the list has none.
    int ItemIndex() const;
    // Accepts any index; one outside the list leaves the position where it is.
    void SetItemIndex(int index);
    void DeleteSelected();

    TNotifyEvent OnDblClick;
    TDrawItemEvent OnDrawItem;
    // Null: nobody is told.
    void SetItemsObserver(TListItemsObserver* observer) { observer_ = observer; }
    // The entries' texts, kept in step with the list's own.
    const std::vector<std::string>& Texts() const { return texts_; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void HandleCreated() override;
    void DestroyingHandle() override;
    bool CommandNotify(WORD code) override;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    TListBoxStyle style_;
    TListBoxItems items_;
    TListItemsObserver* observer_ = nullptr;
    std::vector<std::string> texts_;
};

}  // namespace gui
