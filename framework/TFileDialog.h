#pragma once
// Open and save file dialogs as components: set Filter (classic "Text|*.txt|All|*.*"),
// FileName, DefaultExt, Title, InitialDir; Execute() shows the dialog through Platform() and
// returns false when the user cancels, true with FileName() set to the chosen path.
#include "framework/TComponent.h"

class TOpenDialog : public TNonVisualComponent {
    Q_OBJECT
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)

public:
    explicit TOpenDialog(TComponent* owner);

    QString Filter() const { return filter_; }
    void SetFilter(const QString& v) { filter_ = v; }
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& v) { fileName_ = v; }
    QString DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString& v) { defaultExt_ = v; }
    QString Title() const { return title_; }
    void SetTitle(const QString& v) { title_ = v; }
    QString InitialDir() const { return initialDir_; }
    void SetInitialDir(const QString& v) { initialDir_ = v; }

    virtual bool Execute();

protected:
    bool run(bool save);

private:
    QString filter_;
    QString fileName_;
    QString defaultExt_;
    QString title_;
    QString initialDir_;
};

class TSaveDialog : public TOpenDialog {
    Q_OBJECT
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override { return run(true); }
};
