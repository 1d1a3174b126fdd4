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

void writeStyle(QObject* object, TsuiUIStyle style) {
    const QMetaObject* meta = object->metaObject();
    const QMetaProperty prop = meta->property(meta->indexOfProperty("UIStyle"));
    // An enumeration property takes the integer; the meta type converts it.
    prop.write(object, QVariant(int(style)));
}

void writeFileTheme(QObject* object, TsuiFileTheme* theme) {
    const QMetaObject* meta = object->metaObject();
    const QMetaProperty prop = meta->property(meta->indexOfProperty("FileTheme"));
    // Build the value in the property's own pointer type: a QVariant holding a null QObject*
    // does not convert to a null TsuiFileTheme*.
    if (prop.metaType() == QMetaType::fromType<TsuiFileTheme*>()) {
        prop.write(object, QVariant::fromValue(theme));
    } else {
        QObject* asObject = theme;
        prop.write(object, QVariant(prop.metaType(), &asObject));
    }
}

} // namespace

TsuiUIStyle OwnerFormStyle(TComponent* owner) {
    TForm* form = owner ? qobject_cast<TForm*>(owner->Object()) : nullptr;
    if (!form)
        return DeepBlue;
    for (int i = 0; i < form->ControlCount(); ++i) {
        TControl* child = form->Controls(i);
        if (IsSkinnedFrame(child))
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
    return object && IsPublishedProp(object, name);
}

void RestyleChildControls(TControl* container, TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    if (!container)
        return;
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* child = container->Controls(i);
        if (!HasPublishedProp(child, "FileTheme") || !HasPublishedProp(child, "UIStyle"))
            continue;
        writeFileTheme(child, fileTheme);
        writeStyle(child, style);
    }
}

// Classes are compared by their name without namespace, so the frame's class needs no header
// here.
bool IsSkinnedFrame(const QObject* object) {
    if (!object)
        return false;
    for (const QMetaObject* m = object->metaObject(); m; m = m->superClass()) {
        const QByteArray name(m->className());
        const int colon = name.lastIndexOf(':');
        if (name.mid(colon + 1) == "TsuiForm")
            return true;
    }
    return false;
}
