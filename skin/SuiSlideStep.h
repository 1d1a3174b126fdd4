#pragma once
// One 15-pixel step of a sliding control (the side channel, the panel): the control is painted at
// its new size at once, then the events that are waiting run, so the slide's pace is set by
// painting and the window stays responsive. A hidden control has nothing to show, so its steps
// neither paint nor run events.
//
//   while (...) {
//       TControl::SetWidth(width + 15);
//       if (!PaintSlideStep(this))
//           return false;   // an event destroyed the control: touch nothing of it any more
//   }
class QWidget;

constexpr int kSlideStep = 15;

// False when the widget was destroyed while the waiting events ran.
bool PaintSlideStep(QWidget* widget);
