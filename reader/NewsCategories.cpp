#include "reader/NewsCategories.h"

namespace {

constexpr TNewsCategory kCategories[] = {
    {"N27", "国际时事", "/rss/world.xml", "新闻标题(国际时事)"},
    {"N28", "国内社会", "/rss/native.xml", "新闻标题(国内社会)"},
    {"N31", "军事新闻", "/rss/mil.xml", "新闻标题(军事新闻)"},
    // The list caption really reads "要文" where the menu says "要闻".
    {"N10", "财经要闻", "/rss/fortune.xml", "新闻标题(财经要文)"},
    {"IT1", "IT动态", "/rss/it.xml", "新闻标题(IT动态)"},
    {"N8", "法治新闻", "/rss/legal.xml", "新闻标题(法治新闻)"},
    {"N6", "体坛快讯", "/rss/sports.xml", "新闻标题(体坛快讯)"},
    {"N7", "文娱新闻", "/rss/ent.xml", "新闻标题(文娱新闻)"},
    {"N9", "科技新闻", "/rss/science.xml", "新闻标题(科技新闻)"},
    {"N29", "教育新闻", "/rss/edu.xml", "新闻标题(教育新闻)"},
    {"N20", "时尚新闻", "/rss/fashion.xml", "新闻标题(时尚新闻)"},
    {"EnglishNews1", "English News", "/rss/english.xml", "新闻标题(English News|英语新闻)"},
};

constexpr TFixedPage kPages[] = {
    {"N25", "天气预报", TPageHost::Site, "/weather/", TPageTarget::Pane},
    {"IP1", "IP地理位置查询", TPageHost::IpLookup, "/", TPageTarget::SystemBrowser},
    {"N33", "在线电子地图", TPageHost::Site, "/map/", TPageTarget::SystemBrowser},
    {"N32", "万年历", TPageHost::Site, "/date/", TPageTarget::Pane},
    {"N24", "开始检查", TPageHost::Site, "/zelnews", TPageTarget::Pane},
    {"N19", "访问作者的网站", TPageHost::Site, "", TPageTarget::SystemBrowser},
};

constexpr TMenuEntry kMenu[] = {
    {"N1", "", "文件"},
    {"N12", "N1", "导入标题列表"},
    {"N13", "N1", "保存标题列表"},
    {"N14", "N1", "保存新闻内容"},
    {"N15", "N1", "退出"},
    {"N5", "", "获取新闻"},
    {"N26", "N5", "时事新闻"},
    {"N27", "N26", "国际时事"},
    {"N28", "N26", "国内社会"},
    {"N31", "N5", "军事新闻"},
    {"N10", "N5", "财经要闻"},
    {"IT1", "N5", "IT动态"},
    {"N8", "N5", "法治新闻"},
    {"N6", "N5", "体坛快讯"},
    {"N7", "N5", "文娱新闻"},
    {"N9", "N5", "科技新闻"},
    {"N29", "N5", "教育新闻"},
    {"N20", "N5", "时尚新闻"},
    {"EnglishNews1", "N5", "English News"},
    {"N2", "", "选项"},
    {"N16", "N2", "使用代理服务器"},
    {"N17", "N2", "界面风格"},
    {"N18", "N17", "默认"},
    {"MacOs1", "N17", "DeepBlue"},
    {"WinXP1", "N17", "WinXP"},
    {"N11", "N17", "蓝色魅力"},
    {"N22", "N17", "梦幻水晶"},
    {"Google1", "", "特别服务"},
    {"N25", "Google1", "天气预报"},
    {"IP1", "Google1", "IP地理位置查询"},
    {"N33", "Google1", "在线电子地图"},
    {"N32", "Google1", "万年历"},
    {"N3", "", "检查新版本"},
    {"N24", "N3", "开始检查"},
    {"N4", "", "帮助"},
    {"N19", "N4", "访问作者的网站"},
    {"N21", "N4", "关于..."},
};

} // namespace

std::span<const TNewsCategory> NewsCategories() {
    return kCategories;
}

const TNewsCategory* FindCategory(std::string_view itemName) {
    for (const TNewsCategory& c : kCategories)
        if (itemName == c.itemName)
            return &c;
    return nullptr;
}

std::span<const TFixedPage> FixedPages() {
    return kPages;
}

const TFixedPage* FindFixedPage(std::string_view itemName) {
    for (const TFixedPage& p : kPages)
        if (itemName == p.itemName)
            return &p;
    return nullptr;
}

std::span<const TMenuEntry> MainMenuTree() {
    return kMenu;
}
