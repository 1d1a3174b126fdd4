#pragma once
// The slide of a skinned container (the panel's height, the side channel's width): 15-pixel
// steps, each painted before the next with the waiting events run in between (SuiSlideStep.h).
// A request that arrives while a slide runs does not start a slide inside it: it is kept, the
// running slide jumps to its end, and the control runs the kept request after it; the last kept
// request wins, and one for where the running slide already goes is void.
//
//   TsuiSlideDriver slide_{*this, [this] { return Height(); }, [this](int h) { SetHeight(h); }};
//   if (slide_.Keep({expand}))      // a slide runs: kept for later
//       return;
//   if (!slide_.Run(expand, true, [this] { return target(); }))
//       return false;               // destroyed on the way: touch nothing
//   return slide_.Fire(OnPop);      // false when the handler destroyed the control
#include "framework/TComponent.h"

#include <functional>
#include <optional>

class TControl;

struct TsuiSlideRequest {
    bool Open = true;
    bool Quick = false;
};

class TsuiSlideDriver {
public:
    // extent and setExtent read and set the control's size along the slide.
    TsuiSlideDriver(TControl& control, std::function<int()> extent, std::function<void(int)> setExtent);

    bool Moving() const { return moving_; }
    // Where the running (or last) slide goes: true when opening.
    bool Opening() const { return opening_; }

    // While a slide runs: keeps request for after it, or forgets what was kept when the slide
    // already goes that way (unless keepSame). False when no slide runs: the caller runs it now.
    bool Keep(TsuiSlideRequest request, bool keepSame = false);
    const std::optional<TsuiSlideRequest>& Kept() const { return kept_; }
    std::optional<TsuiSlideRequest> TakeKept();
    void ForgetKept() { kept_.reset(); }
    // Something else the control keeps that ends a running slide at once as well.
    std::function<bool()> OtherKept;

    // One slide toward target() (asked at every step: the end may move meanwhile), in steps while
    // stepwise, else at once. atStart runs once moving; atEnd once the control stands at its end,
    // repainted, still moving. False when the control was destroyed on the way.
    bool Run(bool opening, bool stepwise, const std::function<int()>& target,
             const std::function<void()>& atStart = {}, const std::function<void()>& atEnd = {});

    // Calls the control's end-of-slide event; false when the handler destroyed the control.
    bool Fire(const TNotifyEvent& event);

private:
    bool interrupted() const { return kept_.has_value() || (OtherKept && OtherKept()); }

    TControl& control_;
    std::function<int()> extent_;
    std::function<void(int)> setExtent_;
    bool moving_ = false;
    bool opening_ = false;
    std::optional<TsuiSlideRequest> kept_;
};
