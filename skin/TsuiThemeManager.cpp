#include "skin/TsuiThemeManager.h"

#include "framework/TForm.h"
#include "skin/TsuiFileTheme.h"

#include <QMetaProperty>

namespace {

// Sets a published pointer property to the theme: built in the property's own pointer type, as
// a QVariant of a null QObject* converts to no other pointer type.
void setFileThemeProp(QObject* object, TsuiFileTheme* theme) {
    if (!IsPublishedProp(object, QStringLiteral("FileTheme")))
        throw EPropertyError("Property FileTheme does not exist");
    const QMetaObject* meta = object->metaObject();
    int index = meta->indexOfProperty("FileTheme");
    if (index < 0) { // published in another letter case
        for (int i = meta->propertyCount() - 1; i >= 0 && index < 0; --i)
            if (QString::fromLatin1(meta->property(i).name()).compare("FileTheme", Qt::CaseInsensitive) == 0)
                index = i;
    }
    const QMetaProperty prop = meta->property(index);
    QObject* asObject = theme;
    if (!(prop.metaType().flags() & QMetaType::PointerToQObject) ||
        !prop.write(object, QVariant(prop.metaType(), &asObject)))
        throw EPropertyError("Invalid property value");
}

} // namespace

TsuiThemeManager::TsuiThemeManager(TComponent* owner) : TNonVisualComponent(owner) {
    SetUIStyle(DeepBlue);
}

TsuiThemeManager::~TsuiThemeManager() {
    if (fileTheme_)
        RemoveFreeNotification(fileTheme_);
    DestroyComponents();
}

void TsuiThemeManager::SetUIStyle(TsuiUIStyle style) {
    const bool changed = style != style_;
    style_ = style;
    ApplyToList();
    // Only after every listed component has its new style.
    if (changed)
        CallEvent(OnUIStyleChanged, this);
}

void TsuiThemeManager::SetFileTheme(TsuiFileTheme* theme) {
    if (fileTheme_ && fileTheme_ != theme)
        RemoveFreeNotification(fileTheme_);
    fileTheme_ = theme;
    // A theme owned elsewhere must still tell us when it goes.
    if (theme)
        FreeNotification(theme);
    SetUIStyle(style_);
}

void TsuiThemeManager::ApplyToList() {
    TComponent* owner = Owner();
    if (!owner || !qobject_cast<TForm*>(owner->Object()))
        return;
    // By index, re-checked each time: a component's setter may change what the form holds.
    for (int i = 0; i < compList_.Count(); ++i) {
        TComponent* component = owner->FindComponent(compList_.Strings(i));
        if (!component)
            continue;
        SetPublishedProp(component->Object(), QStringLiteral("UIStyle"), QVariant(int(style_)));
        setFileThemeProp(component->Object(), fileTheme_);
    }
}

void TsuiThemeManager::Notification(TComponent* component, TOperation operation) {
    TNonVisualComponent::Notification(component, operation);
    if (!component || operation != opRemove || component == this)
        return;
    const int line = compList_.IndexOf(component->Name());
    if (line >= 0)
        compList_.Delete(line);
    if (component == fileTheme_) {
        fileTheme_ = nullptr;
        style_ = DeepBlue;
    }
}
