#pragma once
// A timer component: OnTimer runs every Interval() milliseconds on the GUI thread while the
// timer is Enabled(), has an interval above 0 and has a handler.
#include "framework/TComponent.h"

#include <QTimer>

class TTimer : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)

public:
    explicit TTimer(TComponent* owner);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int Interval() const { return interval_; }
    void SetInterval(int value);
    // Whether the timer is really ticking.
    bool Active() const { return timer_.isActive(); }
    // Setting the handler starts or stops the timer as the classic timer does.
    void SetOnTimer(TNotifyEvent handler);
    const TNotifyEvent& OnTimer() const { return onTimer_; }

private:
    void update();

    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 1000;
    TNotifyEvent onTimer_;
};
