#include "plain_text_pane.h"

#include <QMimeData>

namespace qtkit {

QMimeData* PlainTextPane::createMimeDataFromSelection() const {
  // The selected text straight from the document, each line ending in the
  // paragraph separator that Qt keeps between lines.
  QString text = textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  auto* data = new QMimeData;
  data->setText(text);
  return data;
}

}  // namespace qtkit
