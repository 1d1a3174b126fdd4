#include "framework/TTimer.h"

#include "framework/TControl.h"

TTimer::TTimer(TComponent* owner) : TNonVisualComponent(owner) {
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        if (onTimer_)
            GuardEvent([this] { onTimer_(this); });
    });
}

void TTimer::SetEnabled(bool value) {
    enabled_ = value;
    update();
}

void TTimer::SetInterval(int value) {
    interval_ = value;
    update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    update();
}

void TTimer::update() {
    timer_.stop();
    if (enabled_ && interval_ > 0 && onTimer_) {
        timer_.setInterval(interval_);
        timer_.start();
    }
}
