// Headline cutting of synthetic feeds of 1, 10 and 100 MiB, with every title and link read as the
// reader shows them (decoded, entities and CDATA, trimmed, in GB18030): the time per byte should
// stay flat as the feed grows (the cutter is linear), also for a feed whose items all lack a
// link, where a cutter that searched the rest of the text again for every item would go
// quadratic. pugixml's DOM parse of the same bytes runs beside it, alone and then reading each
// item's title and link. A second shape has fewer, longer items (an article's opening as escaped
// HTML in each description), cut beside pugixml's DOM parse too. Each runs at least 1.5 s, so the
// first pass over fresh memory does not stand for the whole.
#include "framework/core/CodePage.h"
#include "reader/FeedCutter.h"
#include "reader/THeadlineStore.h"

#include <benchmark/benchmark.h>
#include <map>
#include <string>

#ifdef ZEL_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace {

constexpr std::size_t kMiB = 1024 * 1024;

std::string makeFeed(std::size_t bytes, bool withLinks) {
    static const char* const kTitles[] = {
        "联合国安理会就地区局势举行紧急磋商", "新能源板块午后走强 沪指收涨 &amp; 创业板",
        "Storm leaves thousands without power &#8212; again", "  我国科学家在量子通信领域取得突破  ",
        "<![CDATA[电影《远山的回响》定档暑期 😀]]>"};
    std::string feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\"><channel>"
                       "<title>Bench</title><link>http://bench.test/</link>\n";
    feed.reserve(bytes + 1024);
    for (std::size_t n = 0; feed.size() < bytes; ++n) {
        feed += "<item><title>";
        feed += kTitles[n % 5];
        feed += "</title>";
        if (withLinks)
            feed += "<link>http://bench.test/news/" + std::to_string(n) + ".html</link>";
        feed += "<description>一段不长的摘要文字,用来让条目更像真实的新闻。</description>"
                "<pubDate>Mon, 20 May 2024 18:16:00 +0800</pubDate></item>\n";
    }
    feed += "</channel></rss>\n";
    return feed;
}

// Items as many news sites write them: the article's opening as escaped HTML in the description
// (about 1.5 KB), a category and a guid. Here most bytes are text between few tags.
std::string makeArticleFeed(std::size_t bytes) {
    std::string para;
    for (int i = 0; i < 12; ++i)
        para += "&lt;p&gt;本网讯 分析人士指出,此次会谈能否取得实质成果,关键在于主要经济体能否作出更多承诺。&lt;/p&gt;";
    std::string feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\"><channel>"
                       "<title>Bench</title><link>http://bench.test/</link>\n";
    feed.reserve(bytes + 4096);
    for (std::size_t n = 0; feed.size() < bytes; ++n) {
        feed += "<item><title>联合国安理会就地区局势举行紧急磋商 " + std::to_string(n) + "</title>";
        feed += "<link>http://bench.test/news/" + std::to_string(n) + ".html</link>";
        feed += "<description>" + para + "</description><category>国际</category>";
        feed += "<guid isPermaLink=\"false\">bench-" + std::to_string(n) + "</guid>";
        feed += "<pubDate>Mon, 20 May 2024 18:16:00 +0800</pubDate></item>\n";
    }
    feed += "</channel></rss>\n";
    return feed;
}

const std::string& articleFeed(std::size_t mib) {
    static std::map<std::size_t, std::string> cache;
    auto& f = cache[mib];
    if (f.empty())
        f = makeArticleFeed(mib * kMiB);
    return f;
}

const std::string& feed(std::size_t mib, bool withLinks) {
    static std::map<std::pair<std::size_t, bool>, std::string> cache;
    auto& f = cache[{mib, withLinks}];
    if (f.empty())
        f = makeFeed(mib * kMiB, withLinks);
    return f;
}

void cut(benchmark::State& state, const std::string& body) {
    THeadlineStore store;
    for (auto _ : state) {
        store.Reset();
        CutHeadlines(body, TFeedOrigin{"", "", "http://go.test/go/?url="}, store);
        benchmark::DoNotOptimize(store.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
    state.counters["items"] = store.Count();
}

void BM_CutHeadlines(benchmark::State& state) {
    cut(state, feed(static_cast<std::size_t>(state.range(0)), true));
}
void BM_CutHeadlinesNoLinks(benchmark::State& state) {
    cut(state, feed(static_cast<std::size_t>(state.range(0)), false));
}
BENCHMARK(BM_CutHeadlines)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK(BM_CutHeadlinesNoLinks)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(1.5);

void BM_CutHeadlinesArticleFeed(benchmark::State& state) {
    cut(state, articleFeed(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_CutHeadlinesArticleFeed)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(1.5);

// Only the cutting, no title conversion: what the text search itself costs.
void BM_CutRawItems(benchmark::State& state) {
    const std::string& body = feed(static_cast<std::size_t>(state.range(0)), true);
    for (auto _ : state) {
        std::size_t n = 0;
        CutFeedItems(body, [&](const TRawFeedItem& raw) {
            n += raw.title.size() + raw.link.size();
            return true;
        });
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_CutRawItems)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(1.5);

#ifdef ZEL_HAVE_PUGIXML
// A full parse of the same feed, then every item's title and link, converted like the cutter's
// (pugixml leaves CDATA out of the text and does not trim).
void pugi(benchmark::State& state, bool withLinks) {
    const std::string& body = feed(static_cast<std::size_t>(state.range(0)), withLinks);
    std::size_t items = 0;
    for (auto _ : state) {
        pugi::xml_document doc;
        pugi::xml_parse_result ok = doc.load_buffer(body.data(), body.size());
        if (!ok) {
            state.SkipWithError(ok.description());
            return;
        }
        items = 0;
        for (pugi::xml_node item : doc.child("rss").child("channel").children("item")) {
            std::string title = Utf8ToAnsi(item.child("title").text().get());
            std::string link = std::string("http://go.test/go/?url=") + item.child("link").text().get();
            benchmark::DoNotOptimize(title);
            benchmark::DoNotOptimize(link);
            ++items;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
    state.counters["items"] = static_cast<double>(items);
}
// The DOM parse alone.
void domParse(benchmark::State& state, const std::string& body) {
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_buffer(body.data(), body.size()).status);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}
void BM_PugixmlDomParse(benchmark::State& state) {
    domParse(state, feed(static_cast<std::size_t>(state.range(0)), true));
}
BENCHMARK(BM_PugixmlDomParse)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(1.5);

void BM_PugixmlDomParseArticleFeed(benchmark::State& state) {
    domParse(state, articleFeed(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_PugixmlDomParseArticleFeed)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(1.5);

void BM_PugixmlParse(benchmark::State& state) {
    pugi(state, true);
}
void BM_PugixmlParseNoLinks(benchmark::State& state) {
    pugi(state, false);
}
BENCHMARK(BM_PugixmlParse)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK(BM_PugixmlParseNoLinks)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(1.5);
#endif

} // namespace

BENCHMARK_MAIN();
