#include "app/TContentPanel.h"

#include "framework/TCanvas.h"

void TContentPanel::Paint() {
    TCanvas& c = *Canvas();
    const TRect client = ClientRect();
    c.Brush().SetColor(Color());
    c.FillRect(Rect(client.Left, client.Top + kBarHeight, client.Right, client.Bottom));

    const TRect bar = Rect(client.Left, client.Top, client.Right, client.Top + kBarHeight);
    c.Brush().SetColor(kBarColor);
    c.FillRect(bar);
    if (Caption().isEmpty())
        return;
    c.Font() = Font();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    TRect text = bar;
    text.Left += 6;
    text.Right -= 6;
    c.DrawText(Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}
