#include <QCoreApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include "tform1.h"

namespace {

// The first local file of a drop goes to the path box, wherever it lands,
// whatever bytes its name holds.
TEST(TagWindow, ADroppedFileGoesToThePathBox) {
  tagsieve::TForm1 form;
  QMimeData data;
  data.setUrls({QUrl("https://example.org/a.xml"), QUrl::fromEncoded("file:///a/caf%E9.xml")});
  QWidget* target = form.control<QPlainTextEdit>("RichEdit1").viewport();
  QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  EXPECT_EQ(std::pair(enter.isAccepted() && drop.isAccepted(), form.control<QLineEdit>("Edit1").text()), std::pair(true, QString::fromUtf8("/a/caf\xC3\xA9.xml")));
}

}  // namespace
