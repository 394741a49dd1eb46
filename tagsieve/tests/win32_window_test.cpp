#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include "pane_lines.h"
#include "tform1.h"
#include "win32kit/text.h"

namespace {

// A file dropped on the window goes to the path box.
TEST(TagWindow, ADroppedFileGoesToThePathBox) {
  tagsieve::TForm1 form;
  const std::wstring path = L"C:\\Mods \u00e9 \u0153 \u6c34\\weaptwk.xml";
  const HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
  auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
  GlobalUnlock(drop);
  SendMessageW(form.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(win32kit::window_text(form.control("Edit1")), path);
}

// A control that takes no text (out of memory, in practice: no window here)
// throws what the core expects of a pane without room.
TEST(PaneLines, AControlThatTakesNoTextIsOutOfMemory) {
  const std::string_view lines[] = {"1", "2"};
  tagsieve::PaneLines no_pane(nullptr);
  EXPECT_THROW(no_pane.append(lines), std::bad_alloc);
}

}  // namespace
