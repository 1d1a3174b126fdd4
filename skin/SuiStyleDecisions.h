#pragma once
// How a skinned component chooses its style and passes it on.
//
//   OwnerFormStyle(owner)        UIStyle of the first TsuiForm among the owner form's direct child
//                                controls; DeepBlue when the owner is no form or has none
//   ResolveFileTheme(ft, style, builtIn)
//                                true: take the entries from the file theme; false: from the
//                                built-in table with builtIn (FromThemeFile without a loaded
//                                theme falls back to DeepBlue)
//   RestyleChildControls(c, style, ft)
//                                each direct child control that publishes both FileTheme and
//                                UIStyle gets FileTheme := ft, then UIStyle := style
//   HasPublishedProp(obj, name)  whether the object's class publishes the property
//   IsSkinnedFrame(obj)          whether the object is a TsuiForm (or derives from one)
//
// Published properties are Q_PROPERTYs; UIStyle is read and written by name, as an integer or
// the TsuiStyles::TsuiUIStyle enumeration, and FileTheme as a TsuiFileTheme* (QObject*).
#include "skin/TsuiUIStyle.h"

#include <QString>

class QObject;
class TComponent;
class TControl;
class TsuiFileTheme;

TsuiUIStyle OwnerFormStyle(TComponent* owner);
bool ResolveFileTheme(const TsuiFileTheme* fileTheme, TsuiUIStyle style, TsuiUIStyle& builtInStyle);
void RestyleChildControls(TControl* container, TsuiUIStyle style, TsuiFileTheme* fileTheme);
bool HasPublishedProp(const QObject* object, const QString& name);
bool IsSkinnedFrame(const QObject* object);
