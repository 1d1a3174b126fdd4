#include "framework/TListBox.h"

#include "framework/AnsiText.h"
#include "framework/TCanvas.h"
#include "framework/TPanel.h"
#include "framework/core/Gb18030Codec.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <QFontMetrics>

#include <algorithm>
#include <climits>
#include <string_view>

namespace {
constexpr int kScrollBarSize = 17;
// A line up to this long is converted and drawn whole; no screen shows more of one line.
constexpr std::size_t kWholeLineBytes = 4096;
// Converted lines kept beyond those on the screen, before the cache starts again.
constexpr std::size_t kMostCachedLines = 1024;

// Bytes of the code page's character at i, as the conversion takes them.
std::size_t charLength(std::string_view s, std::size_t i) {
    const auto* begin = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* p = begin + i;
    Gb18030Codec::Get().Next(p, begin + s.size());
    return std::max<std::size_t>(1, static_cast<std::size_t>(p - begin) - i);
}

// The start of the character holding byte `at`, and the end of the one holding byte `at - 1`.
std::size_t charStartAtOrBefore(std::string_view s, std::size_t at) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t next = i + charLength(s, i);
        if (next > at)
            break;
        i = next;
    }
    return i;
}
std::size_t charEndAtOrAfter(std::string_view s, std::size_t from, std::size_t at) {
    while (from < at && from < s.size())
        from += charLength(s, from);
    return std::min(from, s.size());
}
} // namespace

void TListBoxItems::Add(std::string line) {
    Insert(Count(), std::move(line));
}

void TListBoxItems::Insert(int index, std::string line) {
    index = std::clamp(index, 0, Count());
    lines_.insert(lines_.begin() + index, std::move(line));
    if (owner_->itemIndex_ >= index)
        ++owner_->itemIndex_;
    changed();
}

void TListBoxItems::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    lines_.erase(lines_.begin() + index);
    if (owner_->itemIndex_ == index)
        owner_->itemIndex_ = -1;
    else if (owner_->itemIndex_ > index)
        --owner_->itemIndex_;
    changed();
}

void TListBoxItems::Clear() {
    lines_.clear();
    owner_->itemIndex_ = -1;
    owner_->topIndex_ = 0;
    changed();
}

void TListBoxItems::SetStrings(int index, std::string line) {
    if (index < 0 || index >= Count())
        return;
    lines_[static_cast<std::size_t>(index)] = std::move(line);
    changed();
}

void TListBoxItems::changed() {
    // Converted lines may have moved or changed at once; the rest waits for the last EndUpdate.
    owner_->shownCache_.clear();
    if (updating_ > 0)
        changedWhileUpdating_ = true;
    else
        owner_->itemsChanged();
}

void TListBoxItems::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0 && changedWhileUpdating_) {
        changedWhileUpdating_ = false;
        owner_->itemsChanged();
    }
}

int TListBoxItems::IndexOf(const std::string& line) const {
    auto it = std::find(lines_.begin(), lines_.end(), line);
    return it == lines_.end() ? -1 : static_cast<int>(it - lines_.begin());
}

TListBox::TListBox(TComponent* owner)
    : TControl(owner), items_(this), vScroll_(new QScrollBar(Qt::Vertical, this)),
      hScroll_(new QScrollBar(Qt::Horizontal, this)) {
    SetColor(clWindow);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    vScroll_->hide();
    hScroll_->hide();
    QObject::connect(vScroll_, &QScrollBar::valueChanged, this, [this](int v) {
        topIndex_ = v;
        Invalidate();
    });
    QObject::connect(hScroll_, &QScrollBar::valueChanged, this, [this](int v) {
        xOffset_ = v;
        Invalidate();
    });
    SetBounds(0, 0, 121, 97);
}

void TListBox::SetItemIndex(int index) {
    if (index < -1 || index >= Count())
        index = -1;
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    scrollIntoView(index);
    Invalidate();
}

void TListBox::SetTopIndex(int index) {
    const int maxTop = std::max(0, Count() - VisibleLines());
    index = std::clamp(index, 0, maxTop);
    if (index == topIndex_)
        return;
    topIndex_ = index;
    vScroll_->setValue(index);
    Invalidate();
}

void TListBox::SetItemHeight(int value) {
    if (value < 1 || value == itemHeight_)
        return;
    itemHeight_ = value;
    textTop_ = -1;
    updateScrollBars();
    Invalidate();
}

void TListBox::SetCtl3D(bool value) {
    ctl3D_ = value;
    updateScrollBars();
    Invalidate();
}

void TListBox::SetHorizontalExtent(int pixels) {
    horizontalExtent_ = std::max(0, pixels);
    updateScrollBars();
    Invalidate();
}

TRect TListBox::ItemsRect() const {
    const int f = frameWidth();
    TRect r = Rect(f, f, width() - f, height() - f);
    if (!vScroll_->isHidden())
        r.Right -= kScrollBarSize;
    if (!hScroll_->isHidden())
        r.Bottom -= kScrollBarSize;
    return r;
}

TRect TListBox::ItemRect(int index) const {
    const TRect r = ItemsRect();
    const int top = r.Top + (index - topIndex_) * itemHeight_;
    const int left = r.Left - xOffset_;
    return Rect(left, top, std::max(r.Right, left + horizontalExtent_), top + itemHeight_);
}

int TListBox::ItemAtPos(TPoint p, bool existing) const {
    const TRect r = ItemsRect();
    if (p.X < r.Left || p.X >= r.Right || p.Y < r.Top || p.Y >= r.Bottom)
        return -1;
    const int index = topIndex_ + (p.Y - r.Top) / itemHeight_;
    if (existing && index >= Count())
        return -1;
    return index;
}

int TListBox::VisibleLines() const {
    return std::max(1, ItemsRect().Height() / itemHeight_);
}

void TListBox::itemsChanged() {
    updateScrollBars();
    Invalidate();
}

const QString& TListBox::shown(int index) const {
    auto it = shownCache_.find(index);
    if (it != shownCache_.end())
        return it->second;
    if (shownCache_.size() >= kMostCachedLines + static_cast<std::size_t>(VisibleLines()))
        shownCache_.clear();
    return shownCache_.emplace(index, AnsiToQString(items_[index])).first->second;
}

QString TListBox::DrawnText(int index, int* lineX) const {
    if (lineX)
        *lineX = 0;
    if (index < 0 || index >= Count())
        return QString();
    const std::string& line = items_[index];
    if (line.size() <= kWholeLineBytes)
        return shown(index);
    // Only what shows under the scroll, placed by the extent's rule of one "A" per byte; at
    // least a pixel per byte is drawn, more than any character takes.
    const int widthOfA = std::max(1, QFontMetrics(Font().ToQFont()).horizontalAdvance(QLatin1Char('A')));
    const auto firstByte = static_cast<std::size_t>(std::max(0, xOffset_ - 2) / widthOfA);
    const std::size_t from = charStartAtOrBefore(line, firstByte);
    const std::size_t to =
        charEndAtOrAfter(line, from, from + static_cast<std::size_t>(ItemsRect().Width()) + 2);
    if (lineX)
        *lineX =
            static_cast<int>(std::min<std::size_t>(from * static_cast<std::size_t>(widthOfA), INT_MAX / 2));
    return AnsiToQString(std::string_view(line).substr(from, to - from));
}

// The top of the text cell that centres the font's glyph box in a line: the box spans the
// font's ascent and descent and the ink of its tallest glyphs, which may stand above the ascent.
int TListBox::textTop(const QFont& font) const {
    if (textTop_ >= 0 && font == textTopFont_)
        return textTop_;
    static const QString probe = QString::fromUtf8("中国龘gjpqy|ÁÉ");
    const QFontMetrics fm(font);
    const QRect ink = fm.tightBoundingRect(probe);
    const int above = std::max(fm.ascent(), -ink.top());
    const int below = std::max(fm.descent(), ink.bottom() + 1);
    const int baseline = (itemHeight_ - (above + below)) / 2 + above;
    textTopFont_ = font;
    textTop_ = std::max(0, baseline - fm.ascent());
    return textTop_;
}

void TListBox::updateScrollBars() {
    const int f = frameWidth();
    const int w = width() - 2 * f, h = height() - 2 * f;
    bool needV = false, needH = false;
    // Each bar takes room from the other's direction; two rounds settle it.
    for (int round = 0; round < 2; ++round) {
        needH = horizontalExtent_ > w - (needV ? kScrollBarSize : 0);
        needV = Count() * itemHeight_ > h - (needH ? kScrollBarSize : 0);
    }
    const int innerW = w - (needV ? kScrollBarSize : 0), innerH = h - (needH ? kScrollBarSize : 0);
    vScroll_->setVisible(needV);
    hScroll_->setVisible(needH);
    const int lines = std::max(1, innerH / itemHeight_);
    const int maxTop = std::max(0, Count() - lines);
    vScroll_->setGeometry(width() - f - kScrollBarSize, f, kScrollBarSize, innerH);
    vScroll_->setRange(0, maxTop);
    vScroll_->setPageStep(lines);
    const int maxX = std::max(0, horizontalExtent_ - innerW);
    hScroll_->setGeometry(f, height() - f - kScrollBarSize, innerW, kScrollBarSize);
    hScroll_->setRange(0, maxX);
    hScroll_->setPageStep(std::max(1, innerW));
    hScroll_->setSingleStep(std::max(1, innerW / 10));
    topIndex_ = std::min(topIndex_, maxTop);
    xOffset_ = needH ? std::min(xOffset_, maxX) : 0;
    vScroll_->setValue(topIndex_);
    hScroll_->setValue(xOffset_);
}

void TListBox::scrollIntoView(int index) {
    if (index < 0)
        return;
    if (index < topIndex_)
        SetTopIndex(index);
    else if (index >= topIndex_ + VisibleLines())
        SetTopIndex(index - VisibleLines() + 1);
}

void TListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas& c = *Canvas();
    c.FillRect(rect);
    if (index >= Count())
        return;
    int lineX = 0;
    const QString text = DrawnText(index, &lineX);
    // Drawn within the line and the visible area only: nothing past either is laid out.
    const TRect area = ItemsRect();
    const TRect clip =
        Rect(std::max(rect.Left, area.Left), rect.Top, std::min(rect.Right, area.Right), rect.Bottom);
    c.TextRect(clip, rect.Left + 2 + lineX, rect.Top + textTop(c.Font().ToQFont()), text);
}

void TListBox::Paint() {
    TCanvas& c = *Canvas();
    const TRect area = ItemsRect();
    const int focusLine = itemIndex_ >= 0 ? itemIndex_ : 0;
    const int last = std::min(Count(), topIndex_ + area.Height() / itemHeight_ + 1);
    for (int i = topIndex_; i < last; ++i) {
        TOwnerDrawState state = 0;
        if (i == itemIndex_)
            state |= odSelected;
        if (hasFocus() && i == focusLine)
            state |= odFocused;
        c.Font() = Font();
        c.Brush().SetColor(Color());
        if (state & odSelected) {
            c.Brush().SetColor(clHighlight);
            c.Font().SetColor(clHighlightText);
        }
        const TRect r = ItemRect(i);
        DrawItem(i, r, state);
        if (state & odFocused)
            c.DrawFocusRect(r);
    }
    // The rest of the list shows its colour.
    const int usedBottom = area.Top + (last - topIndex_) * itemHeight_;
    c.Brush().SetColor(Color());
    if (usedBottom < area.Bottom)
        c.FillRect(Rect(area.Left, usedBottom, area.Right, area.Bottom));
    if (Count() == 0 && hasFocus())
        c.DrawFocusRect(Rect(area.Left, area.Top, area.Right, area.Top + itemHeight_));
    // The frame goes last, over anything that ran past the line area.
    TRect frame = ClientRect();
    if (ctl3D_) {
        Frame3D(c, frame, clBtnShadow, clBtnHighlight, 1);
        Frame3D(c, frame, cl3DDkShadow, cl3DLight, 1);
    } else {
        c.Brush().SetColor(clWindowFrame);
        c.FrameRect(frame);
    }
    const int f = frameWidth();
    c.Brush().SetColor(Color());
    if (area.Right < width() - f && vScroll_->isHidden())
        c.FillRect(Rect(area.Right, f, width() - f, height() - f));
    if (!vScroll_->isHidden() && !hScroll_->isHidden()) {
        c.Brush().SetColor(clBtnFace);
        c.FillRect(Rect(area.Right, area.Bottom, width() - f, height() - f));
    }
}

void TListBox::Resize() {
    updateScrollBars();
    TControl::Resize();
}

void TListBox::selectByUser(int index) {
    if (Count() == 0)
        return;
    index = std::clamp(index, 0, Count() - 1);
    SetItemIndex(index);
    Click();
}

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        setFocus(Qt::MouseFocusReason);
        const int index = ItemAtPos(Point(x, y));
        if (index >= 0) {
            SetItemIndex(index);
            tracking_ = !(shift & ssDouble);
        }
    }
    TControl::MouseDown(button, shift, x, y);
}

void TListBox::MouseMove(TShiftState shift, int x, int y) {
    if (tracking_ && (shift & ssLeft) && Count() > 0) {
        const TRect r = ItemsRect();
        int index = topIndex_ + (y - r.Top) / itemHeight_;
        if (y < r.Top)
            index = topIndex_ - 1;
        SetItemIndex(std::clamp(index, 0, Count() - 1));
    }
    TControl::MouseMove(shift, x, y);
}

void TListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TControl::MouseUp(button, shift, x, y);
    if (button == mbLeft && tracking_) {
        tracking_ = false;
        Click();
    }
}

void TListBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const TMouseButton button = event->button() == Qt::RightButton    ? mbRight
                                : event->button() == Qt::MiddleButton ? mbMiddle
                                                                      : mbLeft;
    GuardEvent([&] { MouseUp(button, ShiftFromQt(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void TListBox::KeyDown(int& key, TShiftState shift) {
    TControl::KeyDown(key, shift);
    const int current = itemIndex_;
    switch (key) {
    case Qt::Key_Up:
        selectByUser(current < 0 ? 0 : current - 1);
        break;
    case Qt::Key_Down:
        selectByUser(current < 0 ? 0 : current + 1);
        break;
    case Qt::Key_PageUp:
        selectByUser(current - VisibleLines() + 1);
        break;
    case Qt::Key_PageDown:
        selectByUser(std::max(current, 0) + VisibleLines() - 1);
        break;
    case Qt::Key_Home:
        selectByUser(0);
        break;
    case Qt::Key_End:
        selectByUser(Count() - 1);
        break;
    case Qt::Key_Left:
        hScroll_->setValue(hScroll_->value() - hScroll_->singleStep());
        break;
    case Qt::Key_Right:
        hScroll_->setValue(hScroll_->value() + hScroll_->singleStep());
        break;
    default:
        return;
    }
    key = 0;
}

void TListBox::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        SetTopIndex(topIndex_ - steps * 3);
    event->accept();
}

void TListBox::focusInEvent(QFocusEvent* event) {
    TControl::focusInEvent(event);
    Invalidate();
}

void TListBox::focusOutEvent(QFocusEvent* event) {
    TControl::focusOutEvent(event);
    Invalidate();
}
