#include "skin/TsuiMenuSkin.h"

#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TImageList.h"
#include "framework/TMenu.h"
#include "skin/SuiDrawing.h"
#include "skin/TsuiStyleSource.h"

#include <QPainter>
#include <QWidget>

namespace {

// The item's image from the user's list, when it has one there.
bool hasUserImage(const TMenuItem* item, const TImageList* userImages) {
    return item->ImageIndex() != -1 && userImages && userImages->Count() > item->ImageIndex();
}

} // namespace

void TsuiMenuSkin::ApplyStyle(TsuiUIStyle style) {
    UIStyle = style;
    BarWidth = 26;
    if (style == MacOS) {
        MenuItemHeight = 20;
        SeparatorHeight = 12;
        SeparatorColor = clBlack;
    } else {
        MenuItemHeight = 21;
        SeparatorHeight = 5;
        SeparatorColor = 0x848284;
    }
    const TsuiStyleSource source(FileTheme, style);
    // A colour the theme file lacks keeps the menu's own.
    BarColor = source.Color(TStyleEntry::MenuBarColor, BarColor);
    Color = source.Color(TStyleEntry::MenuBackgroundColor, Color);
    FontColor = source.Color(TStyleEntry::MenuFontColor, FontColor);
    SelectedBorderColor = source.Color(TStyleEntry::MenuSelectedBorderColor, SelectedBorderColor);
    SelectedColor = source.Color(TStyleEntry::MenuSelectedBackgroundColor, SelectedColor);
    SelectedFontColor = source.Color(TStyleEntry::MenuSelectedFontColor, SelectedFontColor);
}

void TsuiMenuSkin::SetMenuItemHeight(int value) {
    if (UIStyle != MacOS)
        MenuItemHeight = value;
}

void TsuiMenuSkin::SetSeparatorHeight(int value) {
    if (UIStyle != MacOS)
        SeparatorHeight = value;
}

void TsuiMenuSkin::MeasureItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) const {
    height = item->IsLine() ? SeparatorHeight : MenuItemHeight;
    // The measuring canvas carries the desktop's menu font. A menu that draws in its own font
    // is measured in it too, so its captions are never cut.
    if (!UseSystemFont) {
        canvas.Font().SetName(FontName);
        canvas.Font().SetSize(FontSize);
        canvas.Font().SetCharset(FontCharset);
    }
    width = canvas.TextWidth(item->Caption()) + canvas.TextWidth(item->ShortCutText()) + BarWidth + 40;
}

// The flat outer frame of the drop-down the canvas paints. Here the items reach the drop-down's
// edges, so the frame is drawn after each item, over it: the last item drawn leaves it whole.
void TsuiMenuSkin::drawFlatFrame(TCanvas& canvas) const {
    // The drop-down is the device the canvas paints; its outer frame goes flat. Like the
    // classic menu this runs again for every item drawn.
    QPainter* painter = canvas.Painter();
    if (auto* window = painter ? dynamic_cast<QWidget*>(painter->device()) : nullptr) {
        const TColor line =
            TsuiStyleSource(FileTheme, UIStyle).DefaultedColor(TStyleEntry::FormBackgroundColor);
        window->setProperty("ownerDrawnFrame", true);
        painter->save();
        painter->setClipping(false);
        DrawScreenFrameAroundWindow(canvas, window->width(), window->height(), clBlack, line);
        painter->restore();
    }
}

void TsuiMenuSkin::DrawItem(TMenuItem* item, TCanvas& canvas, const TRect& rect, bool selected,
                            const TImageList* checkMarks, const TImageList* userImages) const {
    const TRect& r = rect;
    const auto barAndBackground = [&] {
        if (BarWidth > 0)
            FillRectInColor(canvas, Rect(r.Left, r.Top, r.Left + BarWidth, r.Bottom), BarColor);
        FillRectInColor(canvas, Rect(r.Left + BarWidth, r.Top, r.Right, r.Bottom), Color);
    };

    if (item->IsLine()) {
        if (UIStyle == MacOS) {
            StretchMacMenuStripShort(canvas, r);
        } else {
            barAndBackground();
            DrawMenuSeparatorLine(canvas, r, SeparatorColor, BarWidth);
        }
        if (FlatMenu)
            drawFlatFrame(canvas);
        return;
    }

    const bool enabled = item->Enabled();
    if (selected && enabled) {
        if (UIStyle == MacOS) {
            StretchMacMenuStripSelected(canvas, r);
        } else {
            FillRectInColor(canvas, r, SelectedColor);
            FrameRectInColor(canvas, r, SelectedBorderColor);
        }
    } else if (UIStyle == MacOS) {
        StretchMacMenuStripFull(canvas, r);
    } else {
        barAndBackground();
    }

    TFont& font = canvas.Font();
    if (UseSystemFont) {
        AssignSystemMenuFont(font);
    } else {
        font.SetName(FontName);
        font.SetSize(FontSize);
        font.SetCharset(FontCharset);
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    font.SetColor(!enabled ? TColor(0x808080) : selected ? SelectedFontColor : FontColor);
    if (item->Default())
        font.SetStyle(font.Style() | fsBold);

    TRect captionRect = Rect(r.Left + BarWidth + 4, r.Top + 4, r.Right, r.Bottom);
    canvas.DrawText(item->Caption(), captionRect, DT_SINGLELINE);

    const QString shortcut = item->ShortCutText();
    if (!shortcut.isEmpty())
        canvas.TextOut(r.Right - canvas.TextWidth(shortcut) - 16, r.Top + 4, shortcut);

    const bool image = hasUserImage(item, userImages);
    if (item->Checked()) {
        if (image) {
            FrameRectInColor(canvas, Rect(r.Left + 2, r.Top + 1, r.Left + 21, r.Top + 20), clBlack);
            FillRectInColor(canvas, Rect(r.Left + 3, r.Top + 2, r.Left + 20, r.Top + 19), SelectedColor);
        } else if (checkMarks) {
            checkMarks->Draw(canvas, r.Left + 4, r.Top + 3, 0, enabled);
        }
    }
    if (image)
        userImages->Draw(canvas, r.Left + 4, r.Top + 3, item->ImageIndex(), enabled);
    if (FlatMenu)
        drawFlatFrame(canvas);
}

void AddMenuCheckMark(TImageList& list) {
    TBitmap tick;
    LoadSkinBitmap(tick, "MENU_CHECKED");
    list.AddMasked(tick, clWhite);
}
