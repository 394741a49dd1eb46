// Reads a Qt Designer form as the tools write theirs (one widget element per
// control, each property on one line) and compares it with a Win32 table.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <regex>

#include "test_support/files.h"
#include "win32_support.h"
#include "win32kit/text.h"

namespace test_support {

namespace {

using win32kit::Kind;

struct UiWidget {
  std::string kind;
  std::string body;  // its properties
};

std::optional<std::string> property(const std::string& body, const std::string& name) {
  std::smatch found;
  const std::regex pattern("<property name=\"" + name + "\"><(?:string|cstring|number|bool|enum)>([^<]*)<");
  if (!std::regex_search(body, found, pattern)) return std::nullopt;
  return found[1].str();
}

std::array<int, 4> geometry(const std::string& body) {
  std::smatch found;
  static const std::regex pattern("<rect><x>(-?\\d+)</x><y>(-?\\d+)</y><width>(\\d+)</width><height>(\\d+)</height>");
  if (!std::regex_search(body, found, pattern)) return {-1, -1, -1, -1};
  return {std::stoi(found[1]), std::stoi(found[2]), std::stoi(found[3]), std::stoi(found[4])};
}

int number(const std::string& body, const std::string& name, int otherwise) {
  const auto text = property(body, name);
  return text ? std::stoi(*text) : otherwise;
}

bool flag(const std::string& body, const std::string& name, bool otherwise) {
  const auto text = property(body, name);
  return text ? *text == "true" : otherwise;
}

// The Base colour of a palette, as Windows packs a colour; nothing without one.
std::optional<COLORREF> base_colour(const std::string& body) {
  std::smatch found;
  static const std::regex pattern(
      "role=\"Base\"><brush[^>]*><color[^>]*><red>(\\d+)</red><green>(\\d+)</green><blue>(\\d+)</blue>");
  if (!std::regex_search(body, found, pattern)) return std::nullopt;
  return RGB(std::stoi(found[1]), std::stoi(found[2]), std::stoi(found[3]));
}

// What a Qt widget class is among the table's kinds; the tag viewer's pane is
// a plain text edit of its own.
std::optional<Kind> kind_of_class(const std::string& qt_class) {
  static const std::map<std::string, Kind> kinds = {
      {"QLabel", Kind::label},         {"QScrollBar", Kind::scroll_bar}, {"QLineEdit", Kind::edit},
      {"QPlainTextEdit", Kind::memo},  {"tagsieve::PlainTextPane", Kind::memo},
      {"QPushButton", Kind::button},   {"QCheckBox", Kind::check_box},   {"QListWidget", Kind::list_box},
  };
  const auto kind = kinds.find(qt_class);
  if (kind == kinds.end()) return std::nullopt;
  return kind->second;
}

}  // namespace

void expect_table_matches_ui(const win32kit::FormTable& table, const std::filesystem::path& ui_file) {
  const std::string ui = read_file(ui_file).value_or("");
  ASSERT_FALSE(ui.empty()) << ui_file;

  // The form's own properties come before its first control.
  const std::string form = ui.substr(0, ui.find("<widget", ui.find("<widget") + 1));
  EXPECT_EQ(win32kit::to_utf8(table.caption), property(form, "windowTitle").value_or(""));
  const auto [x, y, client_width, client_height] = geometry(form);
  EXPECT_EQ(std::pair(table.client_width, table.client_height), std::pair(client_width, client_height));
  EXPECT_EQ(table.resizable, form.find("\"maximumSize\"") == std::string::npos);

  // Controls hold no widget of their own, so each ends at the first </widget>.
  std::map<std::string, UiWidget> widgets;
  static const std::regex widget_pattern("<widget class=\"([^\"]+)\" name=\"([^\"]+)\">((?:(?!<widget)[\\s\\S])*?)</widget>");
  for (std::sregex_iterator it(ui.begin(), ui.end(), widget_pattern), end; it != end; ++it) {
    widgets[(*it)[2].str()] = {(*it)[1].str(), (*it)[3].str()};
  }
  std::vector<std::string> tab_order;
  static const std::regex tab_pattern("<tabstop>([^<]+)</tabstop>");
  for (std::sregex_iterator it(ui.begin(), ui.end(), tab_pattern), end; it != end; ++it) tab_order.push_back((*it)[1]);

  EXPECT_EQ(table.components.size(), widgets.size());
  for (const win32kit::Component& component : table.components) {
    const std::string name = win32kit::to_utf8(component.name);
    SCOPED_TRACE(name);
    const auto widget = widgets.find(name);
    if (widget == widgets.end()) {
      ADD_FAILURE() << "in the table, not in " << ui_file.filename();
      continue;
    }
    const std::string& body = widget->second.body;
    EXPECT_EQ(std::optional(component.kind), kind_of_class(widget->second.kind)) << widget->second.kind;
    EXPECT_EQ((std::array{component.left, component.top, component.width, component.height}), geometry(body));
    EXPECT_EQ(win32kit::to_utf8(component.text), property(body, "text").value_or(""));
    const auto tab = std::find(tab_order.begin(), tab_order.end(), name);
    EXPECT_EQ(component.tab, tab == tab_order.end() ? -1 : static_cast<int>(tab - tab_order.begin()));
    EXPECT_EQ(component.max, number(body, "maximum", 0));
    EXPECT_EQ(component.page, number(body, "pageStep", 0));
    EXPECT_EQ(component.enabled, flag(body, "enabled", true));
    EXPECT_EQ(component.visible, flag(body, "visible", true));
    EXPECT_EQ(component.read_only, flag(body, "readOnly", false));
    EXPECT_EQ(component.checked, flag(body, "checked", false));
    EXPECT_EQ(component.background, base_colour(body));
    EXPECT_EQ(win32kit::to_utf8(component.label_for), property(body, "buddy").value_or(""));
    EXPECT_EQ(win32kit::to_utf8(component.accessible_name), property(body, "accessibleName").value_or(""));
    EXPECT_EQ(win32kit::to_utf8(component.description), property(body, "accessibleDescription").value_or(""));
    EXPECT_EQ(component.default_button, flag(body, "default", false));
  }
}

}  // namespace test_support
