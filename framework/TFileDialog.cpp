#include "framework/TFileDialog.h"

#include "framework/TPlatform.h"

#include <QWidget>

TOpenDialog::TOpenDialog(TComponent* owner) : TNonVisualComponent(owner) {}

bool TOpenDialog::Execute() {
    return run(false);
}

bool TOpenDialog::run(bool save) {
    TFileDialogRequest request;
    request.Save = save;
    request.Title = title_;
    request.Filter = filter_;
    request.FileName = fileName_;
    request.DefaultExt = defaultExt_;
    request.InitialDir = initialDir_;
    QWidget* owner = Owner() ? qobject_cast<QWidget*>(Owner()->Object()) : nullptr;
    QString chosen;
    if (!Platform().FileDialog(owner, request, chosen))
        return false;
    fileName_ = chosen;
    return true;
}
