#pragma once
// TsuiThemeMgrCompList: the theme manager's list of component names, one per line, in the order
// in which they are restyled. A plain list: unsorted, duplicates allowed, names compared without
// regard to letter case.
#include <QStringList>

class TsuiThemeMgrCompList {
public:
    int Count() const { return int(lines_.size()); }
    const QString& Strings(int index) const { return lines_.at(index); }
    void Add(const QString& line) { lines_.append(line); }
    void Delete(int index) { lines_.removeAt(index); }
    void Clear() { lines_.clear(); }
    // The first line equal to name ignoring case, or -1.
    int IndexOf(const QString& name) const;
    // Replaces the lines with copies of the given ones.
    void Assign(const QStringList& lines) { lines_ = lines; }
    const QStringList& Lines() const { return lines_; }

private:
    QStringList lines_;
};
