#include "framework/TPointerWindowMove.h"

#include "framework/TForm.h"
#include "framework/TPlatform.h"

#include <algorithm>

void TPointerWindowMove::Begin(TForm* form, TPoint screenPoint) {
    form_ = form;
    start_ = screenPoint;
    origin_ = form ? Point(form->Left(), form->Top()) : Point(0, 0);
}

void TPointerWindowMove::Follow(TPoint screenPoint) {
    if (!form_)
        return;
    const TRect work = Platform().WorkArea();
    int left = origin_.X + (screenPoint.X - start_.X);
    int top = origin_.Y + (screenPoint.Y - start_.Y);
    // Keep the top-left corner on the work area, so the caption stays within reach.
    left = std::clamp(left, work.Left, std::max(work.Left, work.Right - 1));
    top = std::clamp(top, work.Top, std::max(work.Top, work.Bottom - 1));
    form_->SetBounds(left, top, form_->Width(), form_->Height());
}

void TPointerWindowMove::End() {
    form_ = nullptr;
}

bool TPointerWindowMove::Active() const {
    return !form_.isNull();
}
