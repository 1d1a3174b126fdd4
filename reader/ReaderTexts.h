#pragma once
// The reader's fixed texts, UTF-8 as the widgets take them (QString::fromUtf8). Text the reader
// keeps from feeds and files is GB18030 instead; see CodePage.h.

inline constexpr const char* kAppTitle = "Zelmora新闻浏览器";
inline constexpr const char* kAppVersionTitle = "Zelmora新闻浏览器 V2.01";

// The one message box of a failed feed command (information icon, OK only).
inline constexpr const char* kConnectFailCaption = "无法连接到新闻服务器";
inline constexpr const char* kConnectFailText =
    "无法连接网络,请重试或检查网络连接.如果不是网络连接的问题,可能是由于新闻服务器的IP地址改变,请下载最新版的"
    "Zelmora新闻浏览器.";

// The proxy note (information icon, OK only).
inline constexpr const char* kProxyNoteCaption = "使用代理服务器";
inline constexpr const char* kProxyNoteText =
    "关于如何设定代理服务器请参阅安装目录下的Readme.txt文件,内有详细说明";

// The side channel's caption before any category has been chosen.
inline constexpr const char* kInitialListCaption = "新闻标题";

// The import dialog's filter: one entry, "News List TXT" for "*.txt". The save dialog has none.
inline constexpr const char* kListFileFilter = "News List TXT|*.txt";
