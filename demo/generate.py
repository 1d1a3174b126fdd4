#!/usr/bin/env python3
"""Builds the demo news site under demo/site/ from the word lists below.

The output is committed, so the site is there without running this; run it again after
changing the lists. Everything is invented: names, places, numbers and events.

  site/rss/<feed>.xml          twelve RSS 2.0 feeds, UTF-8, 20-40 items each
  site/news/<feed>/<n>.html    one article page per item
  site/home/...                the maker's site: root, weather, date, map, zelnews
  site/ip/index.html           the IP-location host's page (its address is filled in by serve.py)
  site/feeds/atom.xml          an Atom feed (UTF-8; text, html and xhtml titles, relative links)
  site/feeds/gb2312.xml        an RSS 2.0 feed in GB2312 (CDATA and entities, relative links)

The two feeds under feeds/ are for the reader's "feeds" section of config.ini, which points a
category at any feed: their links are relative and lead to the articles of two categories.

Article links in the feeds name the host ARTICLE_HOST; serve.py puts the host the feed was
asked from in its place, so the links work on whatever port the demo runs.
"""
import html
import os
import random
import shutil
from datetime import datetime, timedelta, timezone

ARTICLE_HOST = "article.zelmora-news.example"
HERE = os.path.dirname(os.path.abspath(__file__))
SITE = os.path.join(HERE, "site")
CST = timezone(timedelta(hours=8))
START = datetime(2024, 5, 20, 18, 30, tzinfo=CST)

# feed name, channel title, templates ({0} takes one of the fillers), fillers, body sentences
FEEDS = [
    ("world", "国际时事", [
        "{0}总统抵达日内瓦出席多边气候会谈",
        "联合国安理会就{0}局势举行紧急磋商",
        "{0}举行议会选举 投票率创近十年新高",
        "{0}外长呼吁各方保持克制 尽快恢复对话",
        "{0}宣布上调最低工资标准 明年一月起实施",
        "国际观察:{0}经济复苏面临三大挑战",
        "{0}遭遇强降雨袭击 数千居民紧急转移",
        "{0}与邻国签署边境贸易便利化协定",
        "{0}新任总理宣誓就职 承诺推进改革",
        "世卫组织专家组赴{0}评估公共卫生状况",
    ], ["法国", "巴西", "印度尼西亚", "肯尼亚", "加拿大", "阿根廷", "埃及", "新西兰", "波兰", "越南", "智利", "挪威"],
     ["各方代表在会上就减排目标、资金支持和技术合作等议题深入交换了意见。",
      "分析人士指出,此次会谈能否取得实质成果,关键在于主要经济体能否作出更多承诺。",
      "当地媒体援引官方消息称,相关安排将在未来数周内陆续公布。",
      "多国驻当地使馆已提醒本国公民关注最新动态,注意出行安全。",
      "联合国秘书长发言人表示,欢迎有关各方为缓和局势所作的努力。"]),
    ("native", "国内社会", [
        "{0}启动老旧小区改造 今年惠及十二万户居民",
        "{0}地铁新线开通试运营 沿线市民出行更便捷",
        "{0}推出“一网通办” 百余项事项可掌上办理",
        "{0}暴雨过后积水迅速消退 城市排水系统经受考验",
        "{0}一家三代接力守护古树二十年",
        "{0}开展夏季食品安全专项检查",
        "{0}社区食堂开张 老人十元吃上三菜一汤",
        "{0}公交线路优化调整 新增十条定制专线",
        "{0}图书馆延长开放时间至晚上十点",
        "{0}志愿者服务队获评全国先进集体",
    ], ["杭州", "成都", "西安", "长沙", "青岛", "昆明", "合肥", "南昌", "兰州", "厦门", "沈阳", "贵阳"],
     ["据当地有关部门介绍,该项工作自今年年初启动以来,进展总体顺利。",
      "不少市民表示,这些变化实实在在地方便了日常生活。",
      "记者在现场看到,工作人员正在有序引导群众办理相关手续。",
      "下一步,当地将继续听取群众意见,不断完善配套措施。",
      "相关负责人表示,将把这项民生实事办好办实。"]),
    ("mil", "军事新闻", [
        "海军{0}舰艇编队完成远海联合训练",
        "空军{0}部队组织夜间复杂气象飞行训练",
        "{0}军区某旅开展实弹射击考核",
        "国防部新闻发言人就{0}相关问题答记者问",
        "{0}某部官兵冒雨展开抢险救灾",
        "军事专家解读:{0}演习释放哪些信号",
        "{0}新型无人机亮相航展 引发关注",
        "{0}边防哨所官兵巡逻在海拔五千米雪线",
    ], ["东部战区", "南部战区", "西部战区", "北部战区", "中部战区", "某训练基地", "某海防团", "某陆航旅"],
     ["此次训练紧贴实战要求,重点锤炼部队的快速反应和协同作战能力。",
      "参训官兵克服高温、大风等不利条件,圆满完成了各项训练课目。",
      "据介绍,训练全程采用背靠背对抗方式,不预设脚本。",
      "专家认为,这反映出部队训练的实战化水平在不断提高。"]),
    ("fortune", "财经要闻", [
        "{0}板块午后走强 沪指收涨百分之零点八",
        "央行开展{0}操作 维护流动性合理充裕",
        "{0}行业上半年营收同比增长一成二",
        "{0}价格连续三周回落 业内预计将企稳",
        "多家银行下调{0}利率 存款搬家现象引关注",
        "{0}企业加快出海步伐 海外订单饱满",
        "专家:{0}市场仍有较大增长空间",
        "统计局:五月份{0}数据好于预期",
    ], ["新能源", "半导体", "消费电子", "生猪", "大宗商品", "跨境电商", "黄金", "钢铁", "房地产", "光伏", "汽车"],
     ["市场人士认为,近期政策面的积极信号有助于稳定投资者预期。",
      "从成交情况看,两市全天成交额较前一交易日有所放大。",
      "业内分析指出,短期波动难免,但中长期基本面依然稳健。",
      "有关部门表示,将继续加大对实体经济的支持力度。"]),
    ("it", "IT动态", [
        "{0}发布新一代旗舰手机 主打影像与续航",
        "{0}开源大模型推理框架 下载量一周破十万",
        "{0}宣布数据中心全面使用可再生能源",
        "{0}笔记本电脑新品开售 首批现货告罄",
        "{0}操作系统更新修复多个安全漏洞",
        "{0}与高校共建人工智能联合实验室",
        "{0}云服务出现短暂故障 目前已全面恢复",
        "{0}推出面向中小企业的低代码平台",
    ], ["星河科技", "云图公司", "极光软件", "蓝鲸网络", "启明电子", "天穹数据", "青松智能", "海鸥通信", "北辰芯片"],
     ["该公司在发布会上表示,新产品在性能和能耗方面都有明显提升。",
      "业内人士认为,这一举措将进一步加剧市场竞争。",
      "据介绍,相关服务将首先在部分城市试点,随后逐步推广。",
      "用户可通过官方应用商店获取更新,整个过程约需十分钟。"]),
    ("legal", "法治新闻", [
        "{0}法院公开审理一起电信网络诈骗案",
        "{0}检察院提起首例个人信息保护公益诉讼",
        "{0}警方破获特大跨省盗窃团伙 追回赃款八百万",
        "{0}出台规定 规范外卖骑手劳动权益保障",
        "{0}一男子醉驾被判拘役四个月",
        "{0}开展普法进社区活动 律师现场答疑",
        "{0}法院调解一起邻里纠纷 双方握手言和",
        "{0}公安提醒:谨防冒充客服退款诈骗",
    ], ["北京市海淀区", "上海市浦东新区", "广州市", "深圳市", "重庆市", "武汉市", "南京市", "天津市", "苏州市"],
     ["法院经审理认为,被告人的行为已构成犯罪,依法应予惩处。",
      "办案民警介绍,犯罪嫌疑人作案手段隐蔽,一度给侦查工作带来困难。",
      "法官提醒广大群众,遇到纠纷要通过合法途径维护自身权益。",
      "该案的审理对同类案件具有一定的示范意义。"]),
    ("sports", "体坛快讯", [
        "中超联赛:{0}主场二比一逆转取胜",
        "{0}队员夺得游泳世界杯男子二百米自由泳金牌",
        "CBA总决赛{0}四比二夺冠",
        "{0}马拉松鸣枪开跑 三万名跑者参赛",
        "女排国家队{0}集训名单公布",
        "{0}羽毛球公开赛国羽收获三金",
        "乒乓球世界杯{0}站 国乒包揽男女单冠军",
        "{0}新建体育公园向市民免费开放",
    ], ["上海", "山东", "广东", "北京", "浙江", "辽宁", "江苏", "四川", "福建", "湖北"],
     ["比赛中双方你来我往,场面十分激烈。",
      "赛后主教练表示,球队还有不少需要改进的地方。",
      "现场近四万名观众见证了这场精彩的对决。",
      "这是该队本赛季取得的第五场胜利,目前暂列积分榜第二位。"]),
    ("ent", "文娱新闻", [
        "电影《{0}》定档暑期 首支预告片发布",
        "《{0}》收视率领跑同时段 观众好评如潮",
        "话剧《{0}》开启全国巡演 首站一票难求",
        "纪录片《{0}》带观众走进非遗传承人的故事",
        "《{0}》原班人马再聚首 续集正式开机",
        "音乐节《{0}》公布首批演出阵容",
        "动画电影《{0}》票房突破十亿",
    ], ["远山的回响", "星河彼岸", "长街灯火", "海上来信", "春日序曲", "归途", "云上的村庄", "北方以北", "夜航船"],
     ["片方透露,影片筹备历时三年,拍摄地遍及多个省份。",
      "不少观众在社交平台留言,表示被剧中的细节深深打动。",
      "导演在发布会上分享了创作过程中的趣事。",
      "业内人士认为,这部作品的成功说明优质内容始终是硬道理。"]),
    ("science", "科技新闻", [
        "我国科学家在{0}领域取得重要突破",
        "{0}研究成果登上国际顶级期刊",
        "新一代{0}实验装置通过验收",
        "科普:{0}是怎样改变我们生活的",
        "{0}卫星成功发射 顺利进入预定轨道",
        "青年科学家谈{0}研究的下一个十年",
        "{0}国家重点实验室向公众开放参观",
    ], ["量子通信", "高温超导", "深海探测", "基因编辑", "可控核聚变", "遥感测绘", "脑科学", "新型电池", "气象观测"],
     ["研究团队经过多年攻关,终于攻克了这一关键难题。",
      "专家表示,这项成果有望在未来五到十年内实现应用。",
      "论文审稿人评价称,该研究思路新颖,数据扎实。",
      "据悉,相关技术已申请多项发明专利。"]),
    ("edu", "教育新闻", [
        "{0}高考报名人数公布 较去年有所增加",
        "{0}中小学推行课后服务全覆盖",
        "{0}高校毕业生就业双选会提供岗位两万个",
        "{0}启动乡村教师素质提升计划",
        "教育部:{0}将纳入义务教育阶段课程",
        "{0}试点初中学业水平考试改革",
        "{0}新建扩建幼儿园五十所 新增学位一万个",
    ], ["河南省", "江苏省", "四川省", "湖南省", "广东省", "山东省", "人工智能通识", "劳动教育", "河北省", "云南省"],
     ["教育部门相关负责人表示,此举旨在进一步促进教育公平。",
      "不少家长表示,这项政策减轻了他们的后顾之忧。",
      "据统计,今年参与该项目的学校数量比去年增加了三成。",
      "专家建议,学校应结合自身实际,避免一刀切。"]),
    ("fashion", "时尚新闻", [
        "{0}时装周开幕 国潮设计成最大亮点",
        "今夏流行色揭晓 {0}系穿搭走红",
        "{0}老字号推出联名款 年轻人排队抢购",
        "设计师谈{0}:舒适与环保成为关键词",
        "{0}街拍:简约风格持续受宠",
        "{0}手工刺绣登上国际秀场",
    ], ["上海", "北京", "成都", "薄荷绿", "奶油白", "雾霾蓝", "苏州", "深圳", "杭州"],
     ["本季作品大量运用传统纹样,又融入了当代剪裁。",
      "多位业内人士认为,消费者对品质和个性的追求正在改变市场。",
      "主办方介绍,本届活动吸引了来自二十多个国家和地区的设计师参加。",
      "不少年轻消费者表示,更愿意为有文化内涵的设计买单。"]),
    ("english", "English News", [
        "{0} unveils plan to double rail capacity by 2030",
        "Storm leaves thousands without power in {0}",
        "{0} central bank holds interest rates steady",
        "Researchers in {0} report breakthrough in battery recycling",
        "{0} hosts regional summit on water security",
        "Tourism in {0} rebounds to pre-pandemic levels",
        "{0} court rules on landmark data privacy case",
        "Students in {0} win international robotics contest",
    ], ["Canada", "Kenya", "Norway", "Chile", "Vietnam", "New Zealand", "Portugal", "Morocco", "Finland"],
     ["Officials said the measures would be rolled out in stages over the coming months.",
      "Analysts cautioned that the outlook depended on conditions abroad.",
      "Local residents welcomed the news but called for more consultation.",
      "The announcement follows months of talks between the parties involved."]),
]

# The feeds that carry the awkward item shapes; 时事新闻's two (world, native) never do.
AWKWARD_FEEDS = ("english", "science")

REPORTERS = ["王晓明", "李静", "张伟", "陈思远", "刘洋", "赵敏", "孙浩", "周婷"]
EN_REPORTERS = ["Anna Berg", "David Osei", "Maria Costa", "Tom Hale"]


def headlines(templates, fillers, count, rng):
    pairs = [(t, f) for t in templates for f in fillers]
    rng.shuffle(pairs)
    seen, out = set(), []
    for t, f in pairs:
        text = t.format(f)
        if text not in seen:
            seen.add(text)
            out.append(text)
        if len(out) == count:
            break
    return out


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def article_page(feed, channel, title, when, sentences, rng, english):
    paras = rng.sample(sentences, len(sentences))
    reporter = rng.choice(EN_REPORTERS if english else REPORTERS)
    byline = (f"By {reporter} | {when:%Y-%m-%d %H:%M}" if english
              else f"{when:%Y年%m月%d日 %H:%M} 来源:Zelmora新闻网 记者 {reporter}")
    lead = (f"{title}. " if english else f"本网讯 {title}。")
    body = "\n".join(f"<p>{html.escape(p)}</p>" for p in [lead + paras[0]] + paras[1:])
    back = "Back to the list" if english else "返回"
    return f"""<!DOCTYPE html>
<html lang="{'en' if english else 'zh-CN'}">
<head>
<meta charset="utf-8">
<title>{html.escape(title)} - {html.escape(channel)}</title>
<link rel="stylesheet" href="/static/news.css">
</head>
<body>
<div class="bar">Zelmora新闻网 · {html.escape(channel)}</div>
<article>
<h1>{html.escape(title)}</h1>
<div class="byline">{html.escape(byline)}</div>
{body}
</article>
<div class="foot"><a href="/rss/{feed}.xml">RSS</a> · {back}: {html.escape(channel)}</div>
</body>
</html>
"""


def feed_xml(feed, channel, items):
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             '<rss version="2.0">',
             "<channel>",
             f"<title>Zelmora新闻网 - {html.escape(channel)}</title>",
             f"<link>http://{ARTICLE_HOST}/</link>",
             f"<description>{html.escape(channel)}</description>",
             "<language>" + ("en" if feed == "english" else "zh-cn") + "</language>",
             f"<lastBuildDate>{START:%a, %d %b %Y %H:%M:%S +0800}</lastBuildDate>"]
    for it in items:
        lines.append("<item>")
        lines.append(f"<title>{it['title_xml']}</title>")
        if it["link"] is not None:
            lines.append(f"<link>{it['link']}</link>")
        else:
            lines.append(f"<guid>{it['page_url']}</guid>")
        lines.append(f"<description>{html.escape(it['summary'])}</description>")
        lines.append(f"<pubDate>{it['when']:%a, %d %b %Y %H:%M:%S +0800}</pubDate>")
        lines.append("</item>")
    lines += ["</channel>", "</rss>", ""]
    return "\n".join(lines)


def build_feed(index, feed, channel, templates, fillers, sentences):
    rng = random.Random(1000 + index)
    english = feed == "english"
    count = 20 + rng.randrange(0, 21)
    titles = headlines(templates, fillers, count, rng)
    items = []
    when = START - timedelta(minutes=7 * index)
    for n, title in enumerate(titles, 1):
        when -= timedelta(minutes=rng.randrange(9, 95))
        page = f"/news/{feed}/{n:03d}.html"
        write(os.path.join(SITE, page.lstrip("/")),
              article_page(feed, channel, title, when, sentences, rng, english))
        title_xml = html.escape(title, quote=False)
        # A few items in the shapes real feeds use: a CDATA title, a title on its own indented
        # line and an item whose only link is its permalink guid. Only in AWKWARD_FEEDS, so the
        # first list a newcomer opens looks as it should.
        awkward = feed in AWKWARD_FEEDS
        if awkward and n % 9 == 4:
            title_xml = f"<![CDATA[{title}]]>"
        elif awkward and n % 7 == 2:
            title_xml = f"\n    {title_xml}  \n  "
        page_url = f"http://{ARTICLE_HOST}{page}"
        link = None if awkward and n == len(titles) - 2 else page_url
        items.append({"title_xml": title_xml, "link": link, "page_url": page_url, "when": when,
                      "summary": sentences[n % len(sentences)]})
    write(os.path.join(SITE, "rss", f"{feed}.xml"), feed_xml(feed, channel, items))
    return titles


def page(title, body, extra_head=""):
    return f"""<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>{title}</title>
<link rel="stylesheet" href="/static/news.css">
{extra_head}</head>
<body>
<div class="bar">Zelmora工作室</div>
<article>
{body}
</article>
</body>
</html>
"""


def build_home():
    write(os.path.join(SITE, "home", "index.html"), page("Zelmora工作室", """<h1>Zelmora工作室</h1>
<p>欢迎来到Zelmora工作室的网站。这里发布Zelmora新闻浏览器的最新版本、使用说明和常见问题。</p>
<ul>
<li><a href="/zelnews">检查新版本</a></li>
<li><a href="/weather/">天气预报</a></li>
<li><a href="/date/">万年历</a></li>
<li><a href="/map/">在线电子地图</a></li>
</ul>
<p>这是随程序附带的演示站点,所有新闻和数据均为虚构。</p>"""))

    rng = random.Random(42)
    cities = ["北京", "上海", "广州", "深圳", "杭州", "成都", "西安", "武汉", "南京", "重庆", "哈尔滨", "昆明"]
    kinds = ["晴", "多云", "阴", "小雨", "雷阵雨", "晴转多云", "多云转小雨"]
    rows = []
    for c in cities:
        low = rng.randrange(12, 24)
        rows.append(f"<tr><td>{c}</td><td>{rng.choice(kinds)}</td><td>{low}℃ ~ {low + rng.randrange(5, 11)}℃</td>"
                    f"<td>{rng.choice(['东风', '南风', '西北风', '东南风'])}{rng.randrange(1, 5)}级</td></tr>")
    write(os.path.join(SITE, "home", "weather", "index.html"), page("天气预报", f"""<h1>天气预报</h1>
<p>今明两天主要城市天气(演示数据)</p>
<table class="grid"><tr><th>城市</th><th>天气</th><th>气温</th><th>风力</th></tr>
{chr(10).join(rows)}
</table>"""))

    write(os.path.join(SITE, "home", "date", "index.html"), page("万年历", """<h1>万年历</h1>
<p id="today"></p>
<table class="grid" id="cal"></table>
<script>
(function () {
  var now = new Date(), y = now.getFullYear(), m = now.getMonth();
  var names = ["日", "一", "二", "三", "四", "五", "六"];
  document.getElementById("today").textContent =
    "今天是" + y + "年" + (m + 1) + "月" + now.getDate() + "日 星期" + names[now.getDay()];
  var first = new Date(y, m, 1).getDay(), days = new Date(y, m + 1, 0).getDate();
  var rows = "<tr>" + names.map(function (n) { return "<th>" + n + "</th>"; }).join("") + "</tr><tr>";
  for (var i = 0; i < first; i++) rows += "<td></td>";
  for (var d = 1; d <= days; d++) {
    rows += (d === now.getDate() ? "<td class=\\"on\\">" : "<td>") + d + "</td>";
    if ((first + d) % 7 === 0) rows += "</tr><tr>";
  }
  document.getElementById("cal").innerHTML = rows + "</tr>";
})();
</script>"""))

    dots = [("北京", 300, 95), ("上海", 345, 170), ("广州", 290, 250), ("成都", 185, 185),
            ("西安", 230, 150), ("武汉", 280, 180), ("乌鲁木齐", 60, 70), ("拉萨", 95, 190)]
    marks = "\n".join(f'<circle cx="{x}" cy="{y}" r="4" fill="#c0392b"/>'
                      f'<text x="{x + 7}" y="{y + 4}" font-size="12">{n}</text>' for n, x, y in dots)
    write(os.path.join(SITE, "home", "map", "index.html"), page("在线电子地图", f"""<h1>在线电子地图</h1>
<p>主要城市位置示意(演示)</p>
<svg width="420" height="300" style="background:#eaf3fb;border:1px solid #9bb">
<path d="M20,80 L120,30 L260,40 L330,60 L390,120 L360,200 L300,270 L200,260 L120,230 L40,180 Z"
 fill="#f7f1de" stroke="#8a7"/>
{marks}
</svg>"""))

    write(os.path.join(SITE, "home", "zelnews.html"), page("检查新版本", """<h1>检查新版本</h1>
<p>您正在使用的Zelmora新闻浏览器 V2.01 已经是最新版本。</p>
<p>更新记录:</p>
<ul><li>V2.01 新增英语新闻频道,界面风格增加到五种。</li>
<li>V2.00 支持通过代理服务器获取新闻,可以保存和导入标题列表。</li></ul>"""))

    write(os.path.join(SITE, "ip", "index.html"), page("IP地理位置查询", """<h1>IP地理位置查询</h1>
<p>您的IP地址是:<b>{{CLIENT_IP}}</b></p>
<p>地理位置:{{CLIENT_PLACE}}</p>
<p>(演示站点只认识本机和局域网地址。)</p>"""))

    write(os.path.join(SITE, "static", "news.css"), """body { margin: 0; font: 15px/1.7 "WenQuanYi Zen Hei", sans-serif; background: #fcf6e8; color: #222; }
.bar { background: #1d4e89; color: #fff; padding: 6px 14px; font-weight: bold; }
article { max-width: 720px; margin: 0 auto; padding: 8px 18px 24px; }
h1 { font-size: 22px; line-height: 1.4; color: #123; }
.byline { color: #777; font-size: 13px; margin-bottom: 12px; }
.foot { border-top: 1px solid #ddd; color: #888; font-size: 13px; padding: 8px 18px; text-align: center; }
table.grid { border-collapse: collapse; } table.grid td, table.grid th { border: 1px solid #ccb; padding: 3px 10px; }
td.on { background: #0099ff; color: #fff; }
a { color: #0066cc; }
""")


def atom_feed(items):
    """An Atom feed of the world news, its titles in the three types Atom knows."""
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             '<feed xmlns="http://www.w3.org/2005/Atom" xml:lang="zh-cn">',
             "<title>Zelmora新闻网 - 环球速递 (Atom)</title>",
             '<link rel="self" href="/feeds/atom.xml"/>',
             '<link rel="alternate" type="text/html" href="/"/>',
             "<id>urn:zelmora:demo:atom</id>",
             f"<updated>{START.isoformat()}</updated>"]
    for n, (title, page, when) in enumerate(items):
        esc = html.escape(title, quote=False)
        if n % 3 == 1:
            # Markup escaped inside an html title: the reader lists it without the tags.
            head, _, tail = title.partition(" ")
            title_el = f'<title type="html">&lt;b&gt;{html.escape(head, quote=False)}&lt;/b&gt; ' \
                       f'{html.escape(tail, quote=False)} &amp;mdash; 环球速递</title>'
        elif n % 3 == 2:
            title_el = ('<title type="xhtml"><div xmlns="http://www.w3.org/1999/xhtml">'
                        f'<em>{esc}</em> &amp; 更多</div></title>')
        else:
            title_el = f"<title>{esc}</title>"
        lines += ["<entry>", title_el,
                  '<link rel="alternate" type="text/html" href="%s"/>' % page,
                  f"<id>urn:zelmora:demo:atom:{n + 1}</id>",
                  f"<updated>{when.isoformat()}</updated>", "</entry>"]
    lines += ["</feed>", ""]
    return "\n".join(lines)


def gb2312_feed(items):
    """An RSS 2.0 feed of the domestic news in GB2312, as older Chinese sites still serve it."""
    lines = ['<?xml version="1.0" encoding="gb2312"?>',
             '<rss version="2.0">', "<channel>",
             "<title>Zelmora新闻网 - 国内要闻 (GB2312)</title>",
             "<link>/</link>", "<description>国内要闻</description>"]
    for n, (title, page, when) in enumerate(items):
        if n % 4 == 1:
            title_xml = f"<![CDATA[{title}]]>"
        elif n % 4 == 3:
            title_xml = html.escape(title, quote=False) + " &#8212; &#x300C;快讯&#x300D;"
        else:
            title_xml = html.escape(title, quote=False)
        lines += ["<item>", f"<title>{title_xml}</title>", f"<link>..{page}</link>",
                  f"<pubDate>{when:%a, %d %b %Y %H:%M:%S +0800}</pubDate>", "</item>"]
    lines += ["</channel>", "</rss>", ""]
    return "\n".join(lines)


def build_other_feeds(titles):
    """The feeds under feeds/, from the articles already written for world and native."""
    atom = [(t, f"/news/world/{n:03d}.html", START - timedelta(hours=n))
            for n, t in enumerate(titles["world"][:15], 1)]
    write(os.path.join(SITE, "feeds", "atom.xml"), atom_feed(atom))
    # "feeds/../news/native/001.html": relative to the feed's own place, as some sites write them.
    gb = [(t, f"/news/native/{n:03d}.html", START - timedelta(hours=n))
          for n, t in enumerate(titles["native"][:15], 1)]
    path = os.path.join(SITE, "feeds", "gb2312.xml")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(gb2312_feed(gb).encode("gb2312"))


def main():
    if os.path.isdir(SITE):
        shutil.rmtree(SITE)
    total = 0
    titles = {}
    for i, (feed, channel, templates, fillers, sentences) in enumerate(FEEDS):
        titles[feed] = build_feed(i, feed, channel, templates, fillers, sentences)
        print(f"{feed:8} {len(titles[feed])} items")
        total += len(titles[feed])
    build_other_feeds(titles)
    build_home()
    print(f"{total} articles")


if __name__ == "__main__":
    main()
