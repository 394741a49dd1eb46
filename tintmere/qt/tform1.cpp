#include "tform1.h"

#include "qtkit/form_font.h"
#include "qtkit/value_slider.h"
#include "tintmere/colour.h"
#include "tintmere/credits.h"
#include "tintmere/tweak_file.h"
#include "tintmere/water_entries.h"
#include "ui_tform1.h"

namespace tintmere {

TForm1::TForm1(messaging::MessageSink* messages, QWidget* parent)
    : Form(messages, parent), ui_(std::make_unique<Ui::TForm1>()) {
  ui_->setupUi(this);
  // A fixed dialog-like frame: system menu, minimise and close, no maximise
  // (CustomizeWindowHint makes Qt show only the buttons named here).
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  // Where the form opens; uic sets only a top-level form's size.
  move(288, 143);
  qtkit::apply_form_font(*this);

  // Out of the accessibility tree too: a list that only holds data, never
  // shown, is nothing for a screen reader to find.
  ui_->ListBox1->setWindowFlag(Qt::Window);
  for (const std::string_view entry : k_water_entries) {
    ui_->ListBox1->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
  }
  for (QScrollBar* bar : {ui_->ScrollBar1, ui_->ScrollBar2, ui_->ScrollBar3}) qtkit::make_value_slider(*bar);

  connect(ui_->ScrollBar1, &QScrollBar::valueChanged, this, &TForm1::ScrollBar1Change);
  connect(ui_->ScrollBar2, &QScrollBar::valueChanged, this, &TForm1::ScrollBar2Change);
  connect(ui_->ScrollBar3, &QScrollBar::valueChanged, this, &TForm1::ScrollBar3Change);
  connect(ui_->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(ui_->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
}

TForm1::~TForm1() = default;

void TForm1::ScrollBar1Change() { show_preview(); }
void TForm1::ScrollBar2Change() { show_preview(); }
void TForm1::ScrollBar3Change() { show_preview(); }

void TForm1::show_preview() {
  const Colour shown = colour();
  QPalette palette = ui_->Edit1->palette();
  palette.setColor(QPalette::Base, QColor(shown.red, shown.green, shown.blue));
  ui_->Edit1->setPalette(palette);
}

Colour TForm1::colour() const {
  return slider_colour(ui_->ScrollBar1->value(), ui_->ScrollBar2->value(), ui_->ScrollBar3->value());
}

void TForm1::Button1Click() {
  generate_tweak_file(colour(), messages());
}

void TForm1::Button2Click() { messages().show_message(k_credits); }

}  // namespace tintmere
