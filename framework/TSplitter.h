#pragma once
// The splitter: a thin bar docked beside the control it resizes (the one whose edge touches
// it). Dragging it with the left button shows a hatched line that follows the pointer; Escape
// cancels the drag; on release the control gets the dragged size, held between MinSize() and
// what leaves MinSize() for the rest of the parent. With AutoSnap() a size at or below
// MinSize() asks for 0 instead (the control may refuse it through its size veto). OnMoved runs
// when the size applied differs from the one the previous drag applied.
#include "framework/TControl.h"

class TSplitter : public TControl {
    Q_OBJECT
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
    Q_PROPERTY(bool AutoSnap READ AutoSnap WRITE SetAutoSnap)

public:
    explicit TSplitter(TComponent* owner);
    ~TSplitter() override;

    int MinSize() const { return minSize_; }
    void SetMinSize(int v) { minSize_ = v < 1 ? 1 : v; }
    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool v) { autoSnap_ = v; }
    bool Dragging() const { return control_ != nullptr; }

    TNotifyEvent OnMoved;
    // May change newSize or refuse the size (accept = false) while dragging.
    std::function<void(TComponent* sender, int& newSize, bool& accept)> OnCanResize;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TControl* findControl() const;
    void calcSplitSize(int x, int y, int& newSize, int& split) const;
    bool doCanResize(int& newSize);
    void placeLine();
    void stopSizing();
    void updateControlSize();

    int minSize_ = 30;
    bool autoSnap_ = true;
    TControl* control_ = nullptr;
    TPoint downPos_;
    int maxSize_ = 0;
    int newSize_ = 0;
    int oldSize_ = -1;
    int split_ = 0;
    QWidget* line_ = nullptr;
};
