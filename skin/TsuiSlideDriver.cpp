#include "skin/TsuiSlideDriver.h"

#include "framework/TControl.h"
#include "skin/SuiSlideStep.h"

#include <QPointer>

TsuiSlideDriver::TsuiSlideDriver(TControl& control, std::function<int()> extent,
                                 std::function<void(int)> setExtent)
    : control_(control), extent_(std::move(extent)), setExtent_(std::move(setExtent)) {}

bool TsuiSlideDriver::Keep(TsuiSlideRequest request, bool keepSame) {
    if (!moving_)
        return false;
    if (request.Open == opening_ && !keepSame)
        kept_.reset();
    else
        kept_ = request;
    return true;
}

std::optional<TsuiSlideRequest> TsuiSlideDriver::TakeKept() {
    std::optional<TsuiSlideRequest> request = kept_;
    kept_.reset();
    return request;
}

bool TsuiSlideDriver::Run(bool opening, bool stepwise, const std::function<int()>& target,
                          const std::function<void()>& atStart, const std::function<void()>& atEnd) {
    moving_ = true;
    opening_ = opening;
    if (atStart)
        atStart();
    // Steps while more than one step remains; the last, shorter move goes straight to the end.
    const auto stepsLeft = [&] {
        return opening ? extent_() + kSlideStep < target() : extent_() - kSlideStep > target();
    };
    while (stepwise && stepsLeft()) {
        setExtent_(extent_() + (opening ? kSlideStep : -kSlideStep));
        if (!PaintSlideStep(&control_))
            return false;
        if (interrupted())
            break; // a newer request takes over: finish at once
    }
    setExtent_(target());
    control_.Repaint();
    if (atEnd)
        atEnd();
    moving_ = false;
    return true;
}

bool TsuiSlideDriver::Fire(const TNotifyEvent& event) {
    QPointer<TControl> alive(&control_);
    CallEvent(event, &control_);
    return !alive.isNull();
}
