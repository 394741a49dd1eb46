#include "qtkit/form.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <map>

#include "plain_text_pane.h"
#include "qtkit/form_font.h"
#include "qtkit/value_slider.h"

namespace qtkit {

namespace {

QString text_of(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QWidget* make_control(const formkit::Component& component, QWidget* form) {
  using formkit::Kind;
  const QString text = text_of(component.text);
  switch (component.kind) {
    case Kind::label:
      return new QLabel(text, form);
    case Kind::scroll_bar: {
      auto* bar = new QScrollBar(Qt::Horizontal, form);
      bar->setRange(0, component.max);
      bar->setPageStep(component.page);
      bar->setFocusPolicy(Qt::StrongFocus);
      if (component.shows_value) make_value_slider(*bar);
      return bar;
    }
    case Kind::edit: {
      auto* edit = new QLineEdit(text, form);
      edit->setReadOnly(component.read_only);
      return edit;
    }
    case Kind::memo: {
      auto* memo = new PlainTextPane(text, form);
      memo->setReadOnly(component.read_only);
      memo->setLineWrapMode(QPlainTextEdit::NoWrap);
      memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      // Tab leaves the pane, as it leaves a Windows edit control.
      memo->setTabChangesFocus(true);
      return memo;
    }
    case Kind::button: {
      auto* button = new QPushButton(text, form);
      button->setDefault(component.default_button);
      return button;
    }
    case Kind::check_box: {
      auto* box = new QCheckBox(text, form);
      box->setChecked(component.checked);
      return box;
    }
    case Kind::list_box: {
      auto* list = new QListWidget(form);
      list->setSelectionMode(QAbstractItemView::ExtendedSelection);
      for (const std::string_view item : component.items) list->addItem(text_of(item));
      return list;
    }
  }
  throw std::invalid_argument("unknown control kind");
}

}  // namespace

Form::Form(const formkit::Form& form, messaging::MessageSink* messages, QWidget* parent)
    : QWidget(parent), message_boxes_(this), messages_(messages ? *messages : message_boxes_), form_(form) {
  setObjectName("Form1");
  setWindowTitle(text_of(form.caption));
  if (form.resizable) {
    resize(form.client_width, form.client_height);
    // The description gives the outer sizes; Qt sizes the client area.
    setMinimumSize(form.min_width - (form.width - form.client_width),
                   form.min_height - (form.height - form.client_height));
  } else {
    setFixedSize(form.client_width, form.client_height);
    // A fixed dialog-like frame: system menu, minimise and close, no maximise
    // (CustomizeWindowHint makes Qt show only the buttons named here).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  }
  place_on_screen(form);
  create_controls(form);
  apply_form_font(*this);
}

void Form::place_on_screen(const formkit::Form& form) {
  // The frame as the description gives it; Qt learns the window manager's
  // only once the window shows.
  const QSize frame = form.resizable ? QSize(form.width - form.client_width, form.height - form.client_height) : QSize();
  const QScreen* screen = QGuiApplication::screenAt(QPoint(form.left, form.top));
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  formkit::Rect placed{form.left, form.top, width() + frame.width(), height() + frame.height()};
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    placed = formkit::place_on_screen(placed, {area.x(), area.y(), area.width(), area.height()}, form.resizable,
                                      form.min_width, form.min_height);
  }
  move(placed.left, placed.top);
  if (form.resizable) resize(placed.width - frame.width(), placed.height - frame.height());
}

void Form::create_controls(const formkit::Form& form) {
  std::map<int, QWidget*> tab_order;
  for (const formkit::Component& component : form.components) {
    QWidget* control = make_control(component, this);
    control->setObjectName(text_of(component.name));
    control->setGeometry(component.left, component.top, component.width, component.height);
    control->setEnabled(component.enabled);
    if (!component.accessible_name.empty()) control->setAccessibleName(text_of(component.accessible_name));
    if (!component.description.empty()) control->setAccessibleDescription(text_of(component.description));
    if (component.background) {
      const QColor colour(static_cast<int>(*component.background & 0xFF), static_cast<int>(*component.background >> 8 & 0xFF),
                          static_cast<int>(*component.background >> 16 & 0xFF));
      QPalette palette = control->palette();
      palette.setColor(QPalette::Base, colour);
      control->setPalette(palette);
      control->setAutoFillBackground(true);
    }
    // A hidden control is a window of its own (below), out of the tab order.
    if (component.tab >= 0 && component.visible) tab_order.emplace(component.tab, control);
    if (!component.visible) {
      // Out of the accessibility tree too, as a window never shown.
      control->setWindowFlag(Qt::Window);
      control->hide();
    }
    if (component.anchored) anchored_ = {control, &component};
  }
  for (const formkit::Component& component : form.components) {
    if (!component.label_for.empty()) control<QLabel>(component.name).setBuddy(&control<QWidget>(component.label_for));
  }
  QWidget* previous = nullptr;
  for (const auto& [tab, control] : tab_order) {
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }
  if (!tab_order.empty()) tab_order.begin()->second->setFocus();
}

void Form::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (anchored_.first == nullptr) return;
  // Qt scales to the screen itself: the layout stays at 96 dpi.
  const formkit::Rect at = formkit::control_rect(form_, *anchored_.second, width(), height(), 96);
  anchored_.first->setGeometry(at.left, at.top, at.width, at.height);
}

void Form::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button == nullptr) {
      for (QPushButton* candidate : findChildren<QPushButton*>()) {
        if (candidate->isDefault()) button = candidate;
      }
    }
    if (button != nullptr && button->isEnabled()) {
      button->click();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

}  // namespace qtkit
