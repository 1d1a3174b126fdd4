#pragma once
// The twelve news categories, the fixed pages and the whole main menu, as tables the window
// builds its menu from. Captions are UTF-8.
#include <span>
#include <string_view>

struct TNewsCategory {
    const char* itemName;    // the menu item, "N27"
    const char* menuCaption; // "国际时事"
    const char* feedPath;    // on the feed host, "/rss/world.xml"
    const char* listCaption; // given to the side channel after the fetch, "新闻标题(国际时事)"
};

// In menu order.
std::span<const TNewsCategory> NewsCategories();
// nullptr when the item is no category.
const TNewsCategory* FindCategory(std::string_view itemName);

enum class TPageHost { Site, IpLookup };
enum class TPageTarget { Pane, SystemBrowser };

struct TFixedPage {
    const char* itemName;
    const char* menuCaption;
    TPageHost host;
    const char* path; // "" for the site root, which is "http://" and the host alone
    TPageTarget target;
};

std::span<const TFixedPage> FixedPages();
const TFixedPage* FindFixedPage(std::string_view itemName);

// The main menu tree in display order. A top-level item has an empty parent; an item with
// children opens a submenu. The command of each leaf is the window's "<itemName>Click".
struct TMenuEntry {
    const char* itemName;
    const char* parent;
    const char* caption;
};

std::span<const TMenuEntry> MainMenuTree();
