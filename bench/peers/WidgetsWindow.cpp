// The floor for the reader's start-up: a plain Qt Widgets window holding what the reader's window
// shows at start (a menu bar with the reader's menu tree, a headline list of text lines and an
// empty pane beside it), with the platform's own look, no skin and no web engine. The peers
// script starts it like any other reader and compares.
//
//   bench_peers_WidgetsWindow
#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>

namespace {

struct MenuSpec {
    const char* title;
    std::initializer_list<const char*> items;
};

void fillMenus(QMenuBar* bar) {
    static const MenuSpec kMenus[] = {
        {"文件", {"导入标题列表", "保存标题列表", "保存新闻内容", "退出"}},
        {"获取新闻",
         {"时事新闻", "军事新闻", "财经要闻", "IT动态", "法治新闻", "体坛快讯", "文娱新闻", "科技新闻", "教育新闻",
          "时尚新闻", "English News"}},
        {"选项", {"使用代理服务器", "界面风格"}},
        {"特别服务", {"天气预报", "IP地理位置查询", "在线电子地图", "万年历"}},
        {"检查新版本", {"开始检查"}},
        {"帮助", {"访问作者的网站", "关于..."}},
    };
    for (const MenuSpec& m : kMenus) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(m.title));
        for (const char* item : m.items)
            menu->addAction(QString::fromUtf8(item));
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Zelmora新闻浏览器"));
    fillMenus(window.menuBar());
    auto* splitter = new QSplitter(&window);
    auto* list = new QListWidget(splitter);
    for (int i = 0; i < 40; ++i) {
        list->addItem(QStringLiteral("国际新闻今日报道经济发展会议 %1").arg(i));
        list->addItem(QStringLiteral(" "));
    }
    auto* pane = new QWidget(splitter);
    pane->setAutoFillBackground(true);
    splitter->setSizes({277, 426});
    window.setCentralWidget(splitter);
    window.resize(703, 543);
    window.show();
    return QApplication::exec();
}
