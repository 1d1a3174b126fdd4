#pragma once
// A platform for tests: records every message box, dialog and opened URL, answers from queues
// the test fills, and reports the pointer, screen and work area the test sets. Installs itself
// as Platform() for its lifetime.
//
//   TScriptedPlatform platform;
//   platform.DialogAnswers.push_back("/tmp/list.txt");   // next file dialog picks this
//   platform.DialogAnswers.push_back(std::nullopt);      // the one after is cancelled
//   ... run the command ...
//   EXPECT_EQ(platform.Boxes.at(0).Text, "...");
#include "framework/TPlatform.h"

#include <deque>
#include <optional>
#include <vector>

class TScriptedPlatform : public TPlatform {
public:
    struct Box {
        QString Text;
        QString Caption;
        unsigned Flags = 0;
    };

    TScriptedPlatform();
    ~TScriptedPlatform() override;

    int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags) override;
    bool FileDialog(QWidget* owner, const TFileDialogRequest& request, QString& fileName) override;
    void OpenUrl(const QString& url) override;
    TPoint CursorPos() override { return Cursor; }
    TRect ScreenRect() override { return Screen; }
    TRect WorkArea() override { return Work; }
    std::vector<TRect> WorkAreas() override {
        std::vector<TRect> areas{Work};
        areas.insert(areas.end(), OtherWork.begin(), OtherWork.end());
        return areas;
    }
    bool StartSystemMove(QWidget* window) override {
        SystemMoves.push_back(window);
        return SystemMoveAnswer;
    }

    std::vector<Box> Boxes;
    std::deque<int> BoxAnswers; // empty: IDOK (IDYES for yes/no boxes)
    std::vector<TFileDialogRequest> Dialogs;
    std::deque<std::optional<QString>> DialogAnswers; // empty: cancelled
    std::vector<QString> OpenedUrls;
    TPoint Cursor{-1000, -1000};
    TRect Screen = Rect(0, 0, 1280, 1024);
    TRect Work = Rect(0, 0, 1280, 1000);
    std::vector<TRect> OtherWork;      // the work areas of further screens
    std::vector<QWidget*> SystemMoves; // windows handed to the system move
    bool SystemMoveAnswer = false;     // false: refused, as without a window manager
};
