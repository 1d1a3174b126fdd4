#include "skin/SuiStyleDecisions.h"

#include "framework/TControl.h"
#include "framework/TForm.h"
#include "skin/TsuiFileTheme.h"

#include <QMetaProperty>

namespace {

// The style a UIStyle property holds, whether published as an integer or as the enumeration.
TsuiUIStyle styleOf(const QObject* object) {
    const QVariant v = object->property("UIStyle");
    bool ok = false;
    const int value = v.toInt(&ok);
    return ok && value >= FromThemeFile && value <= BlueGlass ? TsuiUIStyle(value) : DeepBlue;
}

// Writes through the property's own type so that enumerations and object references convert.
void writeProperty(QObject* object, const char* name, const QVariant& value) {
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0)
        return;
    const QMetaProperty prop = meta->property(index);
    QVariant v = value;
    if (prop.isEnumType())
        v = QVariant(value.toInt());
    prop.write(object, v);
}

} // namespace

TsuiUIStyle OwnerFormStyle(TComponent* owner) {
    TForm* form = owner ? qobject_cast<TForm*>(owner->Object()) : nullptr;
    if (!form)
        return DeepBlue;
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* child = form->Controls(i);
        if (child->inherits("TsuiForm"))
            return styleOf(child);
    }
    return DeepBlue;
}

bool ResolveFileTheme(const TsuiFileTheme* fileTheme, TsuiUIStyle style, TsuiUIStyle& builtInStyle) {
    builtInStyle = style;
    if (style != FromThemeFile)
        return false;
    if (fileTheme && fileTheme->Loaded())
        return true;
    builtInStyle = DeepBlue;
    return false;
}

bool HasPublishedProp(const QObject* object, const QString& name) {
    return object && object->metaObject()->indexOfProperty(name.toLatin1().constData()) >= 0;
}

void RestyleChildControls(TControl* container, TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    if (!container)
        return;
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* child = container->Controls(i);
        if (!HasPublishedProp(child, "FileTheme") || !HasPublishedProp(child, "UIStyle"))
            continue;
        writeProperty(child, "FileTheme", QVariant::fromValue(static_cast<QObject*>(fileTheme)));
        writeProperty(child, "UIStyle", QVariant(int(style)));
    }
}
