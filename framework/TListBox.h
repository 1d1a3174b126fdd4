#pragma once
// A single-selection list box of text lines. Lines are ANSI (GBK) byte strings, the reader's own
// text; only the lines on the screen become QString, when drawn, and stay converted while they
// are unchanged.
//
//   lb->Items().Add(title);  lb->Items().Clear();  lb->Items().Count();  lb->Items()[i]
//   lb->Items().BeginUpdate(); ...Add... lb->Items().EndUpdate();   // scroll bars once, at the end
//   lb->ItemIndex() / SetItemIndex(i)           // -1: nothing selected
//   lb->SetHorizontalExtent(px)                 // the classic LB_SETHORIZONTALEXTENT
//
// Each line is ItemHeight() pixels high. Without an OnDrawItem handler a line is drawn the
// classic way: its rectangle filled with Color() (the highlight colour when selected, the text
// then in the highlight-text colour), the text on one line, vertically centred, 2 pixels from
// the left edge, without "&" processing; the focused line gets a dotted focus rectangle while
// the list has the keyboard focus. The text is centred on the font's real glyph box (ascent,
// descent and the tallest glyphs' ink), so glyphs that stand above the font's ascent are not cut.
// A line longer than a screenful of text is drawn only where it shows: the part under the
// current scroll, each byte counted as wide as "A" (the horizontal extent's own rule), so a
// megabyte line costs what a short one does. Ctl3D() false gives a flat one-pixel frame, true a sunken
// two-pixel edge.
//
// A left click selects the line under the pointer and fires OnClick on release; arrow, page,
// Home and End keys move the selection and fire OnClick; character keys fire OnKeyPress and
// nothing else; a double click fires OnDblClick. A vertical scroll bar appears when the lines
// do not fit, a horizontal one while the horizontal extent is wider than the list.
#include "framework/TControl.h"

#include <QFont>

#include <string>
#include <unordered_map>
#include <vector>

class QScrollBar;
class TListBox;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

using TOwnerDrawState = unsigned;
constexpr TOwnerDrawState odSelected = 1, odFocused = 16;

class TListBoxItems {
public:
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_.at(static_cast<std::size_t>(index)); }
    const std::string& Strings(int index) const { return (*this)[index]; }
    void Add(std::string line);
    void Insert(int index, std::string line);
    void Delete(int index);
    void Clear();
    void SetStrings(int index, std::string line);
    int IndexOf(const std::string& line) const;
    // Changes between these (they nest) update the scroll bars and repaint once, at the end.
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

private:
    friend class TListBox;
    explicit TListBoxItems(TListBox* owner) : owner_(owner) {}
    void changed();
    TListBox* owner_;
    std::vector<std::string> lines_;
    int updating_ = 0;
    bool changedWhileUpdating_ = false;
};

class TListBox : public TControl {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)

public:
    explicit TListBox(TComponent* owner);

    TListBoxItems& Items() { return items_; }
    const TListBoxItems& Items() const { return items_; }
    int Count() const { return items_.Count(); }

    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value) {
        style_ = value;
        Invalidate();
    }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    int HorizontalExtent() const { return horizontalExtent_; }
    void SetHorizontalExtent(int pixels);
    // The area inside the frame and scroll bars in which lines are drawn.
    TRect ItemsRect() const;
    // The rectangle of a line in client coordinates (it may lie outside the visible area).
    TRect ItemRect(int index) const;
    // The line at a client point; -1 when there is none (existing = false: the index the point
    // would have even past the last line).
    int ItemAtPos(TPoint p, bool existing = true) const;
    // Number of lines that fit (wholly) in the list.
    int VisibleLines() const;
    // What drawing a line shows at the current scroll: the text, and in lineX where it starts
    // within the line (0 unless only part of a long line is drawn).
    QString DrawnText(int index, int* lineX = nullptr) const;

    std::function<void(TListBox* control, int index, TRect rect, TOwnerDrawState state)> OnDrawItem;

protected:
    // Draws one line on Canvas(); the default is the classic drawing described above.
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class TListBoxItems;
    void itemsChanged();
    void updateScrollBars();
    void scrollIntoView(int index);
    void selectByUser(int index);
    int frameWidth() const { return ctl3D_ ? 2 : 1; }
    const QString& shown(int index) const;
    int textTop(const QFont& font) const;

    TListBoxItems items_;
    // The converted lines drawn lately, by index; emptied whenever the lines change.
    mutable std::unordered_map<int, QString> shownCache_;
    mutable QFont textTopFont_;
    mutable int textTop_ = -1;
    int itemIndex_ = -1;
    int topIndex_ = 0;
    int itemHeight_ = 16;
    int horizontalExtent_ = 0;
    int xOffset_ = 0;
    bool ctl3D_ = true;
    bool tracking_ = false;
    TListBoxStyle style_ = lbStandard;
    QScrollBar* vScroll_;
    QScrollBar* hScroll_;
};
