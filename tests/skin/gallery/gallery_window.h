#pragma once
// A skinned window that holds every control kind the skin knows, in each of
// its styles and states, with nested containers registered for the skin to
// walk and paint. The gallery program shows it; the gallery test drives it.

#include <windows.h>

namespace gallery {

struct Gallery {
  HWND window = nullptr;
  HWND pushButton = nullptr, defaultButton = nullptr, disabledButton = nullptr;
  HWND checkedBox = nullptr, uncheckedBox = nullptr, disabledBox = nullptr;
  HWND radioFirst = nullptr, radioSecond = nullptr, radioThird = nullptr;
  HWND simpleCombo = nullptr, dropDownCombo = nullptr, dropListCombo = nullptr;
  HWND tickedTrackbar = nullptr, plainTrackbar = nullptr, verticalTrackbar = nullptr;
  HWND progressBar = nullptr, verticalProgressBar = nullptr;
  HWND upDownBuddy = nullptr, upDown = nullptr, horizontalBuddy = nullptr, horizontalUpDown = nullptr;
  HWND tabControl = nullptr, tabGroupBox = nullptr, nestedCheckBox = nullptr, nestedRadio = nullptr,
       nestedButton = nullptr;
  HWND groupBox = nullptr, groupCheckBox = nullptr, groupEdit = nullptr;
  HWND toolbar = nullptr;
};

// Creates the gallery at (x, y), skins it and registers its containers
// (paint on); the window is shown. Destroy it with DestroyWindow.
Gallery createGallery(int x, int y);

}  // namespace gallery
