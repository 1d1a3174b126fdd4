#include "reader/HeadlineListFile.h"

#include "framework/core/AtomicFileWriter.h"
#include "framework/core/TextFile.h"
#include "reader/THeadlineStore.h"

int ImportHeadlineList(const std::string& fileName, THeadlineStore& store) {
    // The whole file is read before the store changes, so an unreadable file leaves the old
    // list in place instead of half a new one.
    std::vector<std::string> lines = ReadTextLines(fileName);
    store.Reset();
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        THeadlineItem item;
        item.title = std::move(lines[i]);
        if (i + 1 < lines.size())
            item.link = std::move(lines[i + 1]);
        store.Append(std::move(item));
    }
    return store.Count();
}

std::string HeadlineListText(const THeadlineStore& store) {
    std::string text;
    for (std::int32_t i = 0; i < store.Count(); ++i) {
        const THeadlineItem& item = store.Item(i);
        text.append(item.title).append("\r\n").append(item.link).append("\r\n");
    }
    return text;
}

bool SaveHeadlineList(const std::string& fileName, const THeadlineStore& store) {
    if (store.Count() == 0)
        return false;
    AtomicFileWriter out(fileName);
    for (std::int32_t i = 0; i < store.Count(); ++i) {
        const THeadlineItem& item = store.Item(i);
        out.Write(item.title);
        out.Write("\r\n");
        out.Write(item.link);
        out.Write("\r\n");
    }
    out.Commit();
    return true;
}
