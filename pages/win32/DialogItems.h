// Small helpers over the items of a dialog: drop-down lists by position, texts, enabling,
// and a set of labels painted in their dialog's colours.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "controls/win32/CStaticEx.h"

namespace hx::win {

// Empties a drop-down list and adds the texts in order.
void FillList(HWND dialog, int id, std::span<const std::string> texts);
void FillList(HWND dialog, int id, std::span<const char* const> texts);
// Selects a position; a position the list does not hold leaves no selection.
void SelectPosition(HWND dialog, int id, int position);
// The selected position, -1 when there is none.
int SelectedPosition(HWND dialog, int id);

std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
void EnableItems(HWND dialog, std::span<const int> ids, bool enable);
void ShowItems(HWND dialog, std::span<const int> ids, bool show);

// A message box over owner with the application's name as its caption and an OK button.
void ShowMessage(HWND owner, const char* text);

// Puts the focus on an edit box with its whole text selected and the caret in view.
void FocusWithTextSelected(HWND dialog, int id);

// The default-key buttons: the first checked one in key order, or -1.
int FirstCheckedButton(HWND dialog, std::span<const int, 4> ids);
// Checks the button at a position and clears the others; -1 (or any other) checks none.
void CheckOnlyButton(HWND dialog, std::span<const int, 4> ids, int position);

// Labels bound to CStaticEx with one background (and text) colour.
class LabelSet {
public:
    void Attach(HWND dialog, std::span<const int> ids, COLORREF background);
    void Attach(HWND dialog, std::span<const int> ids, COLORREF background, COLORREF text);
    CStaticEx* Find(int id);

private:
    std::vector<std::unique_ptr<CStaticEx>> labels_;
};

}  // namespace hx::win
