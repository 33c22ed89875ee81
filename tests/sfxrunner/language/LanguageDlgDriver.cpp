#include "LanguageDlgDriver.h"

#include "resource.h"

namespace language_test {

namespace {

std::wstring ItemText(HWND combo, LRESULT item) {
  const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length < 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

std::vector<std::wstring> ComboItems(HWND dialog) {
  HWND combo = ::GetDlgItem(dialog, IDC_LANGUAGE_COMBO);
  std::vector<std::wstring> items;
  const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT item = 0; item < count; ++item) items.push_back(ItemText(combo, item));
  return items;
}

std::wstring SelectedItemText(HWND dialog) {
  HWND combo = ::GetDlgItem(dialog, IDC_LANGUAGE_COMBO);
  const LRESULT item = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  return item < 0 ? std::wstring() : ItemText(combo, item);
}

sfxui_test::Step Do(std::function<void(HWND)> action) {
  return [action](HWND window) {
    action(window);
    return true;
  };
}

HWND ShownDialog() { return sfxui_test::FindOtherDialog(nullptr); }

}  // namespace language_test
