#pragma once

class QWidget;

namespace qtkit {

// Gives the form the font it was laid out for, "MS Sans Serif" at 11 pixels
// (8 points at 96 dpi), or where that is missing a sans serif of about the
// same widths, so that no caption outgrows its place; then sizes each label to
// its text and widens a check box whose caption would not fit.
void apply_form_font(QWidget& form);

}  // namespace qtkit
