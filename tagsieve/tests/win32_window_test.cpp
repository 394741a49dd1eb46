#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "pane_lines.h"
#include "tform1.h"
#include "win32_support.h"
#include "win32kit/text.h"

namespace {

using Messages = std::vector<std::string>;
using test_support::has_focus;
using test_support::text_of;

class TagWindow : public testing::Test {
 protected:
  TagWindow() {
    test_support::write_file(sample,
                             "<Damage>5</Damage>\r\n<Damage>5</Damage>\r\n<Damage>7</Damage>\r\n"
                             "<Port\xE9" "e>\xC9" "cu</Port\xE9" "e>\r\n<Port\xC3\xA9" "e>40</Port\xC3\xA9" "e>\r\n");
  }

  void type(const std::wstring& path, const std::wstring& tag) {
    SetWindowTextW(form.control(L"Edit1"), path.c_str());
    SetWindowTextW(form.control(L"Edit2"), tag.c_str());
  }
  void click() { SendMessageW(form.control(L"Button1"), BM_CLICK, 0, 0); }
  std::string pane() { return text_of(form.control(L"RichEdit1")); }

  test_support::TempDir dir;
  // A folder that the ANSI code page cannot name.
  std::filesystem::path sample = [this] {
    const auto folder = dir.path() / L"Mods \u00e9 \u0153 \u6c34";
    std::filesystem::create_directory(folder);
    return folder / "weaptwk.xml";
  }();
  test_support::RecordingMessages messages;
  tagsieve::TForm1 form{&messages};
};

// What a scan finds and says is the core's; here, that it gets the boxes'
// path and tag, whatever the system's code page, and the check box, and that
// the pane takes the lines.
TEST_F(TagWindow, ScansWithWhatTheBoxesSayIntoThePane) {
  EXPECT_TRUE(has_focus(form, L"RichEdit1"));
  type(sample.wstring(), L"Damage");
  click();
  EXPECT_EQ(pane(), "5\r\n7");
  SendMessageW(form.control(L"CheckBox1"), BM_CLICK, 0, 0);
  click();
  EXPECT_EQ(pane(), "5\r\n5\r\n7");  // emptied first, not filled twice
  type(sample.wstring(), L"Port\u00e9e");
  click();
  EXPECT_EQ(pane(), "\xC3\x89" "cu\r\n40");  // and the pane shows it beyond ASCII
  EXPECT_EQ(messages.shown, Messages{});
}

// A control that takes no text (out of memory, in practice: no window here)
// throws what the core expects of a pane without room.
TEST(PaneLines, AControlThatTakesNoTextIsOutOfMemory) {
  const std::string_view lines[] = {"1", "2"};
  tagsieve::PaneLines no_pane(nullptr);
  EXPECT_THROW(no_pane.append(lines), std::bad_alloc);
}

TEST_F(TagWindow, EnterShowsTheValuesTabLeavesThePaneAndOnlyThePaneFollowsTheSize) {
  type(sample.wstring(), L"Damage");
  SetFocus(form.control(L"Edit2"));
  test_support::press(form, VK_RETURN);
  EXPECT_EQ(pane(), "5\r\n7");
  SetWindowTextW(form.control(L"RichEdit1"), L"");
  SetFocus(form.control(L"RichEdit1"));
  for (const wchar_t* next : {L"Edit1", L"Edit2", L"CheckBox1", L"Button1"}) {
    test_support::press(form, VK_TAB);
    EXPECT_TRUE(has_focus(form, next)) << text_of(form.control(next));
  }
  EXPECT_EQ(pane(), "");
  const RECT edit = test_support::place(form, L"Edit1");
  SetWindowPos(form.handle(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(form.handle(), &client);
  EXPECT_EQ(test_support::place(form, L"RichEdit1").bottom, client.bottom);
  EXPECT_EQ(test_support::place(form, L"Edit1").right, edit.right);
}

TEST_F(TagWindow, ADroppedFileGoesToThePathBox) {
  const std::wstring path = sample.wstring();
  const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  const HGLOBAL drop = GlobalAlloc(GHND, bytes);
  auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
  GlobalUnlock(drop);
  SendMessageW(form.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(win32kit::window_text(form.control(L"Edit1")), path);
}

// The Win32 form and the Qt one are described twice, as a table and as a
// Designer file: they must say the same.
TEST(Form1, TheTableDescribesTheQtForm) {
  tagsieve::TForm1 form;
  test_support::expect_table_matches_ui(form.table(), UI_FILE);
}

// Explorer's Properties and Task Manager say what the program is.
TEST(Program, SaysWhatItIs) {
  test_support::expect_version(PROGRAM_FILE, "tagsieve", "Tagsieve : liste les valeurs d'une balise d'un fichier de réglages", PROJECT_VERSION);
}

}  // namespace
