#pragma once

class QAbstractSlider;

namespace qtkit {

// Makes slider a value slider, as the Win32 kit makes its scroll bars: Right
// and Down raise the value by one, Left and Up lower it, Page Down and Page Up
// move it by a page, Home and End take it to its ends; and as it moves, its
// value shows in a tooltip over the thumb.
void make_value_slider(QAbstractSlider& slider);

}  // namespace qtkit
