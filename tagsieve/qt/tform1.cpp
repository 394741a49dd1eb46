#include "tform1.h"

#include <QCompleter>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QMimeData>

#include <initializer_list>

#include "qtkit/form_font.h"
#include "tagsieve/tag_scan.h"
#include "ui_tform1.h"

namespace tagsieve {

namespace {

// The first local file a drag carries, or nothing.
QString dragged_file(const QMimeData* data) {
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

TForm1::TForm1(messaging::MessageSink* messages, QWidget* parent)
    : Form(messages, parent), ui_(std::make_unique<Ui::TForm1>()) {
  ui_->setupUi(this);
  pane_ = std::make_unique<PaneLines>(*ui_->RichEdit1);
  anchor(*ui_->RichEdit1);
  // Where the form opens; uic sets only a top-level form's size.
  move(272, 178);
  qtkit::apply_form_font(*this);

  auto* files = new QFileSystemModel(this);
  files->setRootPath(QString());
  ui_->Edit1->setCompleter(new QCompleter(files, this));

  setAcceptDrops(true);
  for (QObject* target : std::initializer_list<QObject*>{this, ui_->Edit1, ui_->Edit2, ui_->RichEdit1->viewport()}) {
    target->installEventFilter(this);
  }

  connect(ui_->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  ui_->RichEdit1->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::Button1Click() {
  const WaitCursor busy;
  // The path goes from the box's UTF-16 to the platform's own form without
  // a narrow string between them, which on Windows would garble "é".
  scan_tag_values(std::filesystem::path(ui_->Edit1->text().toStdU16String()), ui_->Edit2->text().toStdString(),
                  ui_->CheckBox1->isChecked(), *pane_, messages());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (dragged_file(drag->mimeData()).isEmpty()) break;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString file = dragged_file(drop->mimeData());
      if (file.isEmpty()) break;
      ui_->Edit1->setText(file);
      drop->acceptProposedAction();
      return true;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tagsieve
