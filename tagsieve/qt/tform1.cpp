#include "tform1.h"

#include <QCheckBox>
#include <QCompleter>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>

#include <initializer_list>

#include "tagsieve/form1.h"
#include "tagsieve/tag_scan.h"

namespace tagsieve {

namespace {

// The first local file a drag carries, its name's bytes as they are, or nothing.
std::filesystem::path dragged_file(const QMimeData* data) {
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
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
    : Form(k_form1, messages, parent), pane_(control<QPlainTextEdit>("RichEdit1")) {
  auto* files = new QFileSystemModel(this);
  files->setRootPath(QString());
  control<QLineEdit>("Edit1").setCompleter(new QCompleter(files, this));

  setAcceptDrops(true);
  for (QObject* target : std::initializer_list<QObject*>{this, &control<QLineEdit>("Edit1"), &control<QLineEdit>("Edit2"),
                                                         control<QPlainTextEdit>("RichEdit1").viewport()}) {
    target->installEventFilter(this);
  }

  connect(&control<QPushButton>("Button1"), &QPushButton::clicked, this, &TForm1::Button1Click);
}

void TForm1::take_file(const std::filesystem::path& file) {
  given_ = given_path(file);
  control<QLineEdit>("Edit1").setText(QString::fromStdU16String(given_.shown.u16string()));
}

void TForm1::Button1Click() {
  const WaitCursor busy;
  // The path goes from the box's UTF-16 to the platform's own form without
  // a narrow string between them, which on Windows would garble "é".
  scan_tag_values(boxed_path(std::filesystem::path(control<QLineEdit>("Edit1").text().toStdU16String()), given_),
                  control<QLineEdit>("Edit2").text().toStdString(), control<QCheckBox>("CheckBox1").isChecked(), pane_,
                  messages());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (dragged_file(drag->mimeData()).empty()) break;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::filesystem::path file = dragged_file(drop->mimeData());
      if (file.empty()) break;
      take_file(file);
      drop->acceptProposedAction();
      return true;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tagsieve
