#pragma once
// TsuiThemeManager: one assignment restyles a whole window. It holds a style, an optional file
// theme and a list of component names; setting the style hands both to every listed component
// of its owner form, found by name at each assignment (it keeps no references to them).
//
//   skinman->CompList().Add("suiform");  ...
//   skinman->SetUIStyle(WinXP);   // each listed component: UIStyle := WinXP, FileTheme := theme,
//                                 // in list order; then OnUIStyleChanged if the value changed
//
// Rules:
//   - names are looked up among the components the owner form owns, ignoring letter case; a
//     name without a component is skipped; an owner that is not a form restyles nothing;
//   - UIStyle and FileTheme are set by property name, so any class publishing both can be
//     listed; one that does not publish them stops the list with EPropertyError
//     "Property UIStyle does not exist", after the style has been stored, and no event fires;
//   - setting FileTheme re-applies the current style (no event);
//   - a listed component that goes away loses its line for good; when the file theme goes
//     away the manager forgets it and returns to DeepBlue without restyling anything.
#include "framework/TComponent.h"
#include "skin/TsuiThemeMgrCompList.h"
#include "skin/TsuiUIStyle.h"

class TsuiFileTheme;

class TsuiThemeManager : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(TsuiStyles::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(QStringList CompList READ CompListLines WRITE SetCompList)
public:
    explicit TsuiThemeManager(TComponent* owner);
    ~TsuiThemeManager() override;

    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle style);

    TsuiFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TsuiFileTheme* theme);

    TsuiThemeMgrCompList& CompList() { return compList_; }
    const TsuiThemeMgrCompList& CompList() const { return compList_; }
    QStringList CompListLines() const { return compList_.Lines(); }
    void SetCompList(const QStringList& lines) { compList_.Assign(lines); }

    void ApplyToList();

    TNotifyEvent OnUIStyleChanged;

    void Notification(TComponent* component, TOperation operation) override;

private:
    TsuiUIStyle style_ = DeepBlue;
    TsuiFileTheme* fileTheme_ = nullptr;
    TsuiThemeMgrCompList compList_;
};
