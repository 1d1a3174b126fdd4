#pragma once
// A skinned window made of the reader's own parts, for the sheets of zelmora-cli skin-sheet: the
// frame with the reader's title and its whole menu (the reader's one menu table), and, with
// content, the content panel holding the side channel collapsed to its bar. It is shown
// off-screen; the sheets grab it.
//
//   CliSkinWindow w(560, 240, DeepBlue, nullptr, true);
//   QImage picture = w.Picture(kPaper);   // the whole window, outside its shape in paper
#include "framework/TColor.h"
#include "skin/TsuiUIStyle.h"

#include <QImage>

#include <map>
#include <memory>
#include <string>

class TForm;
class TMenuItem;
class TsuiFileTheme;
class TsuiForm;
class TsuiMainMenu;
class TsuiPanel;
class TsuiSideChannel;
class TsuiTitleBar;

class CliSkinWindow {
public:
    // width is the title bar's; with a theme every part takes it (style FromThemeFile).
    CliSkinWindow(int width, int height, TsuiUIStyle style, TsuiFileTheme* theme, bool content);
    ~CliSkinWindow();

    TForm* Host() const { return host_.get(); }
    TsuiForm* Frame() const { return frame_; }
    TsuiTitleBar* TitleBar() const;
    // The menu's item of that name in the reader's menu table ("N5").
    TMenuItem* Item(const char* itemName) const;

    // The whole window as it shows, the pixels its shape cuts away in paper.
    QImage Picture(TColor paper) const;

private:
    std::unique_ptr<TForm> host_;
    TsuiForm* frame_ = nullptr;
    TsuiMainMenu* menu_ = nullptr;
    TsuiPanel* panel_ = nullptr;
    TsuiSideChannel* channel_ = nullptr;
    std::map<std::string, TMenuItem*> items_;
};
