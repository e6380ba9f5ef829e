// List boxes: a window of visible rows over a sequence of items, with a cursor
// row, a caller's selection index kept up to date, keys and mouse for moving,
// an incremental search by typed prefix, and a configurable way of ending the
// dialog (see Dialog::AddListBoxWestring). With exit setting -1 the list is a
// menu: any key it does not use for moving ends the dialog with that key.
//
// The kinds differ only in where their items come from and how an item is
// drawn; a kind of its own supplies DrawItem (and GetItemText to be
// searchable) and is added with Dialog::AddElement.
#pragma once

#include <cstdint>

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"
#include "ui/Dialog.h"

class ListBoxBase : public DialogElement {
public:
    ListBoxBase(Dialog& owner, int x, int y, int width, int rows, int count, int32_t* selection, int exitSetting);
    ~ListBoxBase() override;

    bool HandleEvent(TDialogEvent& event) override;
    int GetType() const override { return TypeListBox; }
    void Draw() override;

    // Draws item `item` on list row `row` in the attribute, `width` columns.
    virtual void DrawItem(int row, int item, uint8_t attribute) = 0;
    // The text the search matches; empty (never matches) unless a kind says.
    virtual Westring GetItemText(int item);

    // Preloads the search: all but the last character become the search text,
    // the last one is searched for.
    void SetSearchText(const Westring& text);
    const Westring& SearchText() const { return searchText; }
    int Top() const { return top; }
    int CursorRow() const { return cursorRow; }
    int ItemCount() const { return count; }
    int Width() const { return width; }
    int Rows() const { return rows; }

protected:
    bool HandleKey(int code);
    bool HandleMouse(const TDialogEvent& event);
    // Appends the character to the search and moves to the first item (from
    // the current one, wrapping) that starts with the search text; a
    // character that matches nothing is dropped again.
    bool SearchChar(char32_t c);
    void UpdateSearchWindow();
    void ClearSearch();
    void DrawRow(int row);
    // Scrolls while the first button is held on the row above (-1) or below
    // (+1) the list, until input waits.
    void AutoScroll(int direction);
    void StoreSelection();
    // A text cut or padded to the list's width.
    Westring Fit(const Westring& text) const;

    int width;
    int rows;
    int count;
    int top;
    int cursorRow;
    int lastTop;
    int lastCursorRow;
    int32_t* selection;
    int exitSetting;
    Win* searchWindow;
    Westring searchText;
};

// Over an array of 8-bit strings, which it does not own; not searchable.
class ListBoxString : public ListBoxBase {
public:
    ListBoxString(Dialog& owner, int x, int y, int width, int rows, const char* const* strings, int count,
                  int32_t* selection, int exitSetting);
    void DrawItem(int row, int item, uint8_t attribute) override;

private:
    const char* const* strings;
};

// Over an EstringStore, which it does not own.
class ListBoxEstring : public ListBoxBase {
public:
    ListBoxEstring(Dialog& owner, int x, int y, int width, int rows, EstringStore& store, int32_t* selection,
                   int exitSetting);
    void DrawItem(int row, int item, uint8_t attribute) override;
    Westring GetItemText(int item) override;

private:
    EstringStore& store;
};

// Over a WestringStore, which it does not own.
class ListBoxWestring : public ListBoxBase {
public:
    ListBoxWestring(Dialog& owner, int x, int y, int width, int rows, WestringStore& store, int32_t* selection,
                    int exitSetting);
    void DrawItem(int row, int item, uint8_t attribute) override;
    Westring GetItemText(int item) override;

private:
    WestringStore& store;
};
