#include "framework/TScriptedPlatform.h"

TScriptedPlatform::TScriptedPlatform() {
    SetPlatform(this);
}

TScriptedPlatform::~TScriptedPlatform() {
    if (&Platform() == this)
        SetPlatform(nullptr);
}

int TScriptedPlatform::MessageBox(QWidget*, const QString& text, const QString& caption, unsigned flags) {
    Boxes.push_back(Box{text, caption, flags});
    if (!BoxAnswers.empty()) {
        int answer = BoxAnswers.front();
        BoxAnswers.pop_front();
        return answer;
    }
    const unsigned buttons = flags & 0xF;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

bool TScriptedPlatform::FileDialog(QWidget*, const TFileDialogRequest& request, QString& fileName) {
    Dialogs.push_back(request);
    if (DialogAnswers.empty())
        return false;
    std::optional<QString> answer = DialogAnswers.front();
    DialogAnswers.pop_front();
    if (!answer)
        return false;
    fileName = *answer;
    return true;
}

void TScriptedPlatform::OpenUrl(const QString& url) {
    OpenedUrls.push_back(url);
}
