#include "qtkit/guarded_application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTranslator>

#include <algorithm>
#include <csignal>
#include <regex>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace qtkit {

namespace {

// The platform's own style, with a mark on the slider that has the focus,
// which Fusion does not draw: a keyboard user sees which one the keys move.
class FocusMarkingStyle : public QProxyStyle {
 public:
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar || !(option->state & State_HasFocus)) return;
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
  }
};

const char* g_watching_for = nullptr;
QtMessageHandler g_previous_handler = nullptr;
std::vector<std::pair<QtMsgType, QString>> g_held_messages;

void hold_or_say_why_not(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtFatalMsg) {
    g_held_messages.emplace_back(type, text);
    return;
  }
  std::vector<std::string> said;
  for (const auto& held : g_held_messages) said.push_back(held.second.toStdString());
  const QByteArray named = qEnvironmentVariableIsEmpty("DISPLAY") ? qgetenv("WAYLAND_DISPLAY") : qgetenv("DISPLAY");
  std::fputs(startup_failure(g_watching_for, said, text.toStdString(), named.toStdString()).c_str(), stderr);
  std::_Exit(1);
}

}  // namespace

DisplayWatch::DisplayWatch(const char* program) {
  g_watching_for = program;
  g_previous_handler = qInstallMessageHandler(hold_or_say_why_not);
}

DisplayWatch::~DisplayWatch() {
  qInstallMessageHandler(g_previous_handler);
  for (const auto& [type, text] : std::exchange(g_held_messages, {})) qt_message_output(type, QMessageLogContext(), text);
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // A write past the file-size limit (ulimit -f) then fails, and the window
  // says so, instead of the signal ending the program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  setStyle(new FocusMarkingStyle);
  // Qt's own texts (a text box's menu, a message box's buttons) in French,
  // as the rest of the windows, whatever the system's language.
  auto* french = new QTranslator(this);
  if (french->load(QLocale(QLocale::French), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installTranslator(french);
  }
}

void GuardedApplication::identify(const QString& desktop_id) {
  setDesktopFileName(desktop_id);
  setWindowIcon(QIcon::fromTheme(desktop_id, QIcon(":/icons/" + desktop_id + ".png")));
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    report_failure();
  }
  return false;
}

void GuardedApplication::report_failure() {
  failures_->show_message(messaging::describe_current_exception());
  exit(0);
}

std::string startup_failure(const std::string& program, const std::vector<std::string>& said, const std::string& fatal,
                            const std::string& display) {
  const auto any_says = [&](std::string_view words) {
    return std::any_of(said.begin(), said.end(), [&](const std::string& line) { return line.find(words) != std::string::npos; });
  };
  // Where no platform plugin was there to try (QT_QPA_PLATFORM names one that
  // is not installed), what is missing is the first plugin Qt could not find.
  static const std::regex missing_plugin(R"re(Could not find the Qt platform plugin "([^"]*)")re");
  std::smatch missing;
  const auto first = std::find_if(said.begin(), said.end(), [&](const std::string& line) { return std::regex_search(line, missing, missing_plugin); });
  if (first != said.end() && !any_says("Could not load the Qt platform plugin")) {
    return program + " : aucune fenêtre ne peut s'ouvrir (le module d'affichage «\u00A0" + missing[1].str() + "\u00A0» de Qt est introuvable).\n";
  }
  // The X server or the Wayland compositor named does not answer.
  if (any_says("could not connect to display") || any_says("Failed to create wl_display")) {
    return program + " : aucun affichage graphique n'est ouvert (l'affichage «\u00A0" + display + "\u00A0» ne répond pas).\n";
  }
  std::string text = program + " : la fenêtre n'a pas pu s'ouvrir. Qt dit :\n";
  for (const std::string& line : said) text += line + "\n";
  return text + fatal + "\n";
}

bool check_display(const char* program) {
  // An empty WAYLAND_DISPLAY names no display, yet has Qt try its Wayland
  // plugin, where one is installed, which then fails in English words of
  // its own on the terminal.
  if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) qunsetenv("WAYLAND_DISPLAY");
  for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"}) {
    if (!qEnvironmentVariableIsEmpty(variable)) return true;
  }
  std::fprintf(stderr, "%s : aucun affichage graphique n'est ouvert (DISPLAY et WAYLAND_DISPLAY sont vides).\n", program);
  return false;
}

int run_window(GuardedApplication& application, const std::function<std::unique_ptr<QWidget>()>& make_form) {
  try {
    const std::unique_ptr<QWidget> form = make_form();
    form->show();
    application.exec();
  } catch (...) {
    application.report_failure();
  }
  return 0;
}

}  // namespace qtkit
