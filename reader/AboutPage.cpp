#include "reader/AboutPage.h"

#include "framework/core/AtomicFileWriter.h"
#include "framework/core/CodePage.h"
#include "framework/core/EInOutError.h"
#include "reader/TReaderHosts.h"

#include <filesystem>

std::string AboutPageBytes(const TReaderHosts& hosts) {
    // The break tags before the link are upper case and those after it lower case; the title's
    // bold is closed, the font and body are left open. Browsers take all of it.
    std::string html;
    html += "<body bgcolor=\"#FCF6E8\" link=\"#0099FF\" vlink=\"#000099\" alink=\"#0066FF\">";
    html += "<font size=\"4\"><b>Zelmora新闻浏览器 V2.01</b>";
    html += "<BR><BR><BR>";
    html +=
        "感谢您选用Zelmora新闻浏览器!本软件可以免费使用和自由传播,但请勿用于商业用途,也请勿修改后冒名发布。"
        "新闻内容的版权归各新闻网站所有,本软件只负责把标题和文章带到您的面前。";
    html += "<BR><BR>";
    html += "程序设计与界面制作:Zelmora工作室";
    html += "<BR>";
    html += "<a href=\"" + hosts.SiteUrl("") + "\" target=\"_blank\"><b>点击这里访问我的网站</b></a>";
    html += "<br>";
    html += "意见和建议请通过网站上的留言板告诉我们,每一条都会认真阅读。";
    return Utf8ToAnsi(html) + "\r\n";
}

std::string WriteAboutPage(const TReaderHosts& hosts, const std::string& directory) {
    if (directory.empty())
        throw EInOutError(std::string("Cannot create file \"") + kAboutPageName + "\". No cache directory");
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec)
        throw EInOutError("Cannot create file \"" +
                          (std::filesystem::path(directory) / kAboutPageName).string() + "\". " +
                          ec.message());
    std::string path = (std::filesystem::path(directory) / kAboutPageName).string();
    AtomicFileWriter out(path);
    out.Write(AboutPageBytes(hosts));
    out.Commit();
    return path;
}
