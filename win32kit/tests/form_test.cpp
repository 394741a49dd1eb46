#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "test_support/recording.h"
#include "win32_support.h"
#include "win32kit/program.h"

namespace {

using test_support::has_focus;
using test_support::press;
using win32kit::Component;
using win32kit::Kind;
using Messages = std::vector<std::string>;

// A form of each kind of control the tools use, with handlers that count.
class Probe : public win32kit::Form {
 public:
  explicit Probe(messaging::MessageSink* messages);
  void Moved() { ++moves; }
  void Clicked() {
    ++clicks;
    if (failure) failure();
  }
  int moves = 0;
  int clicks = 0;
  void (*failure)() = nullptr;
};

// clang-format off
const std::array k_components = {
    Component{.name = L"Label1", .left = 8, .top = 0, .width = 2, .height = 13, .text = L"Une étiquette assez longue",
              .label_for = L"Edit1"},
    Component{.name = L"Button1", .kind = Kind::button, .left = 200, .top = 0, .width = 60, .height = 20,
              .text = L"OK", .tab = 3, .on_event = win32kit::handler(&Probe::Clicked), .default_button = true},
    Component{.name = L"ScrollBar1", .kind = Kind::scroll_bar, .left = 8, .top = 20, .width = 200, .height = 15,
              .tab = 0, .on_event = win32kit::handler(&Probe::Moved), .max = 255, .page = 16, .shows_value = true},
    Component{.name = L"Edit1", .kind = Kind::edit, .left = 8, .top = 40, .width = 100, .height = 21, .tab = 1},
    Component{.name = L"Edit2", .kind = Kind::edit, .left = 120, .top = 40, .width = 100, .height = 21, .tab = 4,
              .enabled = false},
    Component{.name = L"Memo1", .kind = Kind::memo, .left = 0, .top = 70, .width = 290, .height = 120, .tab = 2,
              .anchored = true},
};

const win32kit::FormTable k_probe = {.caption = L"Probe", .left = 10, .top = 10, .client_width = 300,
                                     .client_height = 200, .resizable = true, .width = 320, .height = 240,
                                     .min_width = 250, .min_height = 150, .components = k_components};
// clang-format on

Probe::Probe(messaging::MessageSink* messages) : Form(k_probe, messages) {}

class FormTest : public testing::Test {
 protected:
  int position() { return GetScrollPos(form.control(L"ScrollBar1"), SB_CTL); }
  // The window's outer size, once asked to take width by height if told so.
  std::pair<LONG, LONG> sized(int width = 0, int height = 0) {
    if (width > 0) SetWindowPos(form.handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer;
    GetWindowRect(form.handle(), &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
  }
  // A control's distances to the client area's left, top, right and bottom sides.
  std::tuple<LONG, LONG, LONG, LONG> margins(std::wstring_view name) {
    RECT client;
    GetClientRect(form.handle(), &client);
    const RECT place = test_support::place(form, name);
    return {place.left, place.top, client.right - place.right, client.bottom - place.bottom};
  }

  test_support::RecordingMessages messages;
  Probe form{&messages};
};

// The keys step the bar as Windows's own do, and its value shows.
TEST_F(FormTest, KeysStepTheScrollBarWithinItsRange) {
  const struct {
    UINT key;
    int from;
    int to;
  } cases[] = {
      {VK_RIGHT, 0, 1}, {VK_DOWN, 0, 1},   {VK_LEFT, 5, 4},      {VK_UP, 5, 4},
      {VK_NEXT, 0, 16}, {VK_PRIOR, 20, 4}, {VK_PRIOR, 3, 0},     {VK_NEXT, 250, 255},
      {VK_END, 0, 255}, {VK_HOME, 200, 0}, {VK_RIGHT, 255, 255}, {VK_LEFT, 0, 0},
  };
  ASSERT_TRUE(has_focus(form, L"ScrollBar1"));
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " from " << c.from);
    test_support::drag_thumb(form, L"ScrollBar1", c.from);
    const int moves = form.moves;
    press(form, c.key);
    EXPECT_EQ(position(), c.to);
    EXPECT_EQ(test_support::value_tip(), std::to_string(c.to));
    EXPECT_EQ(form.moves - moves, c.to == c.from ? 0 : 1) << "the handler runs once for each change, only then";
  }
}

TEST_F(FormTest, TabFollowsTheTableSkippingWhatIsDisabledAndShiftTabGoesBack) {
  const std::wstring_view forward[] = {L"Edit1", L"Memo1", L"Button1", L"ScrollBar1"};
  for (const std::wstring_view name : forward) {
    press(form, VK_TAB);
    EXPECT_TRUE(has_focus(form, name)) << std::string(name.begin(), name.end());
  }
  press(form, VK_TAB, true);
  EXPECT_TRUE(has_focus(form, L"Button1"));
  press(form, VK_TAB, true);
  EXPECT_TRUE(has_focus(form, L"Memo1"));
}

TEST_F(FormTest, EnterClicksTheDefaultButtonButIsANewLineInAMemoAndEscapeClosesNothing) {
  SetFocus(form.control(L"Edit1"));
  press(form, VK_RETURN);
  EXPECT_EQ(form.clicks, 1);
  SetFocus(form.control(L"Memo1"));
  press(form, VK_RETURN);
  press(form, VK_ESCAPE);
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(test_support::text_of(form.control(L"Memo1")), "\r\n");
  EXPECT_TRUE(IsWindow(form.handle()));
}

TEST_F(FormTest, OnlyTheAnchoredControlFollowsTheSizeWhichStopsAtTheMinimum) {
  EXPECT_EQ(sized(), std::pair(320L, 240L));
  EXPECT_EQ(margins(L"Memo1"), std::tuple(0L, 70L, 10L, 10L));
  sized(500, 400);
  EXPECT_EQ(margins(L"Memo1"), std::tuple(0L, 70L, 10L, 10L));
  EXPECT_EQ(test_support::place(form, L"Edit1").right, 108);
  EXPECT_EQ(sized(50, 50), std::pair(250L, 150L));
}

// Moved to a screen of 144 dpi, the form lays itself out anew at one and a
// half times the table's pixels, its font too, and stops at a minimum size
// scaled the same.
TEST_F(FormTest, OnAScreenOfMoreDotsEverythingScalesWithIt) {
  RECT suggested{0, 0, 480, 360};
  SendMessageW(form.handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  const RECT edit = test_support::place(form, L"Edit1");
  EXPECT_EQ(std::tuple(edit.left, edit.top, edit.right, edit.bottom), std::tuple(12L, 60L, 162L, 92L));
  EXPECT_EQ(margins(L"Memo1"), std::tuple(0L, 105L, 15L, 15L));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.control(L"Edit1"), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -17);
  EXPECT_EQ(sized(50, 50), std::pair(375L, 225L));
}

// A label takes the width of its caption, and comes just before the control
// it names in the window order, where screen readers look for that name.
TEST_F(FormTest, ALabelIsAsWideAsItsCaptionAndNamesItsControl) {
  const RECT label = test_support::place(form, L"Label1");
  EXPECT_GT(label.right - label.left, 60);
  EXPECT_EQ(GetWindow(form.control(L"Edit1"), GW_HWNDPREV), form.control(L"Label1"));
  EXPECT_EQ(GetWindow(form.control(L"Label1"), GW_HWNDPREV), form.control(L"ScrollBar1"));
}

// What the message says of each kind of exception is the messaging
// library's; here, that it reaches the user and the loop ends.
TEST_F(FormTest, AnExceptionFromAHandlerIsShownAndEndsTheLoop) {
  form.failure = [] { throw std::runtime_error("en panne"); };
  PostMessageW(form.control(L"Button1"), BM_CLICK, 0, 0);
  win32kit::run_message_loop(form);  // returns only once the loop is ended
  EXPECT_EQ(messages.shown, Messages{"Erreur inattendue : en panne"});
}

TEST(RunWindow, AFailureToBuildTheWindowIsShownAndTheExitCodeIsZero) {
  test_support::RecordingMessages messages;
  const int code = win32kit::run_window(
      []() -> std::unique_ptr<win32kit::Form> { throw std::runtime_error("pas de fenêtre"); }, &messages);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(messages.shown, Messages{"Erreur inattendue : pas de fenêtre"});
}

}  // namespace
