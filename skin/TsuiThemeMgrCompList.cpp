#include "skin/TsuiThemeMgrCompList.h"

int TsuiThemeMgrCompList::IndexOf(const QString& name) const {
    for (int i = 0; i < Count(); ++i)
        if (lines_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
