#include "qtkit/guarded_application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QStyleOption>
#include <QTranslator>

#include <csignal>
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

void hold_or_say_no_display(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtFatalMsg) {
    g_held_messages.emplace_back(type, text);
    return;
  }
  // Where no platform plugin was there to try (QT_QPA_PLATFORM names one that
  // is not installed), what is missing is the first plugin Qt could not find,
  // not the display; where Qt found one but could not start it, the display.
  static const QRegularExpression missing_plugin(R"re(Could not find the Qt platform plugin "([^"]*)")re");
  QString missing;
  bool found_but_failed = false;
  for (const auto& [held_type, held] : g_held_messages) {
    found_but_failed = found_but_failed || held.contains("Could not load the Qt platform plugin");
    if (const QRegularExpressionMatch found = missing_plugin.match(held); found.hasMatch() && missing.isEmpty()) missing = found.captured(1);
  }
  if (!found_but_failed && !missing.isEmpty()) {
    std::fprintf(stderr, "%s : aucune fenêtre ne peut s'ouvrir (le module d'affichage «\u00A0%s\u00A0» de Qt est introuvable).\n",
                 g_watching_for, missing.toLocal8Bit().constData());
    std::_Exit(1);
  }
  const QByteArray named = qEnvironmentVariableIsEmpty("DISPLAY") ? qgetenv("WAYLAND_DISPLAY") : qgetenv("DISPLAY");
  std::fprintf(stderr, "%s : aucun affichage graphique n'est ouvert (l'affichage «\u00A0%s\u00A0» ne répond pas).\n",
               g_watching_for, named.constData());
  std::_Exit(1);
}

}  // namespace

DisplayWatch::DisplayWatch(const char* program) {
  g_watching_for = program;
  g_previous_handler = qInstallMessageHandler(hold_or_say_no_display);
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
