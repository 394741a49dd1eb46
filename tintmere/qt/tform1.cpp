#include "tform1.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "tintmere/credits.h"
#include "tintmere/form1.h"
#include "tintmere/tweak_file.h"

namespace tintmere {

TForm1::TForm1(messaging::MessageSink* messages, QWidget* parent) : Form(k_form1, messages, parent) {
  connect(&control<QScrollBar>("ScrollBar1"), &QScrollBar::valueChanged, this, &TForm1::ScrollBar1Change);
  connect(&control<QScrollBar>("ScrollBar2"), &QScrollBar::valueChanged, this, &TForm1::ScrollBar2Change);
  connect(&control<QScrollBar>("ScrollBar3"), &QScrollBar::valueChanged, this, &TForm1::ScrollBar3Change);
  connect(&control<QPushButton>("Button1"), &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(&control<QPushButton>("Button2"), &QPushButton::clicked, this, &TForm1::Button2Click);
}

void TForm1::ScrollBar1Change() { show_preview(); }
void TForm1::ScrollBar2Change() { show_preview(); }
void TForm1::ScrollBar3Change() { show_preview(); }

void TForm1::show_preview() {
  const Colour shown = colour();
  auto& preview = control<QLineEdit>("Edit1");
  QPalette palette = preview.palette();
  palette.setColor(QPalette::Base, QColor(shown.red, shown.green, shown.blue));
  preview.setPalette(palette);
  preview.setAccessibleDescription(QString::fromStdString(colour_description(shown)));
}

Colour TForm1::colour() const {
  const auto position = [this](std::string_view bar) { return control<QScrollBar>(bar).value(); };
  return slider_colour(position("ScrollBar1"), position("ScrollBar2"), position("ScrollBar3"));
}

void TForm1::Button1Click() { generate_tweak_file(colour(), messages()); }

void TForm1::Button2Click() { messages().show_message(k_credits); }

}  // namespace tintmere
