#include "tools/cli/CliSkinWindow.h"

#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "reader/NewsCategories.h"
#include "reader/ReaderTexts.h"
#include "skin/TsuiFileTheme.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMainMenu.h"
#include "skin/TsuiMenuBar.h"
#include "skin/TsuiPanel.h"
#include "skin/TsuiSideChannel.h"
#include "skin/TsuiTitleBar.h"

#include <QCoreApplication>
#include <QPainter>

namespace {

template <typename Skinned> void restyle(Skinned* part, TsuiUIStyle style, TsuiFileTheme* theme) {
    part->SetFileTheme(theme);
    part->SetUIStyle(style);
}

} // namespace

CliSkinWindow::CliSkinWindow(int width, int height, TsuiUIStyle style, TsuiFileTheme* theme, bool content)
    : host_(std::make_unique<TForm>(nullptr)) {
    host_->SetBounds(40, 40, width + 20, height);
    frame_ = new TsuiForm(host_.get());
    frame_->SetCaption(QString::fromUtf8(kAppTitle));
    menu_ = new TsuiMainMenu(host_.get());
    auto& items = items_;
    for (const TMenuEntry& e : MainMenuTree()) {
        auto* item = new TMenuItem(host_.get());
        item->SetName(QString::fromLatin1(e.itemName));
        item->SetCaption(QString::fromUtf8(e.caption));
        (*e.parent ? items.at(e.parent) : menu_->Items())->Add(item);
        items[e.itemName] = item;
    }
    menu_->Loaded();
    if (content) {
        panel_ = new TsuiPanel(host_.get());
        panel_->SetParent(frame_);
        panel_->SetCaption(QString::fromUtf8("新闻内容"));
        channel_ = new TsuiSideChannel(host_.get());
        channel_->SetParent(panel_);
        channel_->SetCaption(QString::fromUtf8(kInitialListCaption));
        restyle(panel_, style, theme);
        restyle(channel_, style, theme);
    }
    frame_->SetFileTheme(theme);
    frame_->SetUIStyle(style);
    // The title bar is as wide as the host's inside less the band: make it exactly width.
    host_->SetWidth(host_->Width() + width - TitleBar()->Width());
    host_->Show();
    QCoreApplication::processEvents();
    if (panel_) {
        // Below the menu bar, placed as the reader's window places its panel (not aligned to the
        // client area, which would take away its collapse button).
        const int top = frame_->MenuBar() ? frame_->MenuBar()->Top() + frame_->MenuBar()->Height()
                                          : TitleBar()->Top() + TitleBar()->Height();
        panel_->SetBounds(0, top, frame_->ClientWidth(), frame_->ClientHeight() - top);
        QCoreApplication::processEvents();
    }
}

CliSkinWindow::~CliSkinWindow() = default;

TsuiTitleBar* CliSkinWindow::TitleBar() const {
    return frame_->TitleBar();
}

TMenuItem* CliSkinWindow::Item(const char* itemName) const {
    return items_.at(itemName);
}

QImage CliSkinWindow::Picture(TColor paper) const {
    QImage image = host_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The region the window is cut to: only round corners cut anything.
    if (frame_->RoundCorner() > 1) {
        const QRegion shape = frame_->WindowRegion();
        QPainter painter(&image);
        painter.setClipRegion(QRegion(image.rect()) - shape);
        painter.fillRect(image.rect(), QColor(paper & 0xFF, (paper >> 8) & 0xFF, (paper >> 16) & 0xFF));
    }
    return image;
}
