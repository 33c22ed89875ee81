#pragma once
// Reading the language dialog as the user sees it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ModalScript.h"

namespace language_test {

// The combo box's item texts, top to bottom.
std::vector<std::wstring> ComboItems(HWND dialog);
// The text of the combo box's selected item; empty when none is selected.
std::wstring SelectedItemText(HWND dialog);
// A script step that does something once.
sfxui_test::Step Do(std::function<void(HWND)> action);
// The visible dialog of this thread, for dialogs whose object the test cannot reach.
HWND ShownDialog();

}  // namespace language_test
