#pragma once

#include <QPlainTextEdit>

namespace qtkit {

// The output pane: a plain text editor whose copies carry plain text alone.
// Qt's own offers a selection as HTML, ODF and Markdown too, which for a
// million lines takes seconds, and a gigabyte once pasted.
class PlainTextPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  [[nodiscard]] QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace qtkit
