#pragma once
// Setters of skinned controls repaint only for a real change:
//
//   void TsuiPanel::SetBorderColor(TColor value) {
//       if (SetChanged(borderColor_, value))
//           dropPicture();
//   }

// Sets field to value; true when that changed it.
template <typename T> bool SetChanged(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}
