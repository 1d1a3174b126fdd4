#!/usr/bin/python3
"""Differential test: zelmora-cli headlines against Debian's python3-feedparser.

Generates feeds of every common shape (Atom with text, html and xhtml titles; RSS 1.0; RSS 2.0
with CDATA and entities; relative links; Atom and RSS 1.0 whose elements carry a namespace
prefix; items whose CDATA sections and comments hold item ends, titles and links), each in many
character sets, with and without an HTTP charset that differs from the XML declaration, and
feeds in the shapes public sites serve (real_world_feeds.py), and checks that every title and
link the CLI prints is the one feedparser reads, as plain text.

    feed_differential.py ZELMORA_CLI
"""
import html
import html.parser
import os
import subprocess
import sys
import tempfile

import feedparser

import real_world_feeds

BASE = 'http://feeds.test/news/feed.xml'

# Text each character set can carry, beside ASCII.
REPERTOIRE = {
    'utf-8': '国际新闻 ä é ő 😀 𠀀 — “引号”',
    'utf-16': '国际新闻 ä é 😀 𠀀 “q”',
    'gb2312': '国际新闻 体坛快讯',
    'gbk': '国际新闻 镕 體育',
    'gb18030': '国际新闻 ä 😀 𠀀 €',
    'big5': '國際新聞 體育 臺灣',
    'shift_jis': '日本語のニュース カタカナ',
    'euc-kr': '한국어 뉴스 서울',
    'iso-8859-1': 'Café naïve Ärger ß',
    'windows-1252': 'Café “quoted” – € ß',
}

# A declaration that is wrong, for the variant where the HTTP charset must win.
WRONG_DECLARATION = {
    'utf-8': 'iso-8859-1', 'gb2312': 'windows-1252', 'gbk': 'iso-8859-1', 'gb18030': 'utf-8',
    'big5': 'utf-8', 'shift_jis': 'euc-kr', 'euc-kr': 'shift_jis', 'iso-8859-1': 'utf-8',
    'windows-1252': 'utf-8',
}


def esc(s):
    return s.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;')


def atom(words):
    return f'''<feed xmlns="http://www.w3.org/2005/Atom">
<title>The feed's own title</title><link href="http://feeds.test/"/><id>urn:feed</id>
<entry><title>{esc(words)} plain &amp; simple</title><link rel="alternate" type="text/html" href="/a/1.html?x=1&amp;y=2"/><id>urn:1</id></entry>
<entry><title type="text">Tabs\tand
 breaks {esc(words)}</title><link href="2.html"/><id>urn:2</id></entry>
<entry><title type="html">Example &lt;b&gt;Atom&lt;/b&gt; {esc(words)} &amp;amp; &amp;mdash; more</title><link rel="self" href="http://self.test/"/><link href="../b/3.html"/><id>urn:3</id></entry>
<entry><title type="xhtml"><div xmlns="http://www.w3.org/1999/xhtml">X <b>bold</b> {esc(words)} &amp; &lt;tag&gt;</div></title><link href="http://other.test/4"/><id>urn:4</id></entry>
<entry><title type="html"><![CDATA[<i>Italic</i> {words} &amp; cdata]]></title><link href="#frag5"/><id>urn:5</id></entry>
<entry><title>Numeric &#20013;&#x6587; &#x1F600; refs</title><link href="//cdn.test/6"/><id>urn:6</id></entry>
</feed>
'''


def rss1(words):
    return f'''<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" xmlns="http://purl.org/rss/1.0/">
<channel rdf:about="http://feeds.test/"><title>Channel title</title><link>http://feeds.test/</link>
<description>d</description><items><rdf:Seq><rdf:li resource="http://feeds.test/1"/></rdf:Seq></items></channel>
<item rdf:about="http://feeds.test/1"><title>{esc(words)} one</title><link>http://feeds.test/1</link></item>
<item rdf:about="http://feeds.test/2"><title>Two &amp; &quot;quoted&quot; &#039;single&#039;</title><link>/2?a=1&amp;b=2</link></item>
<item rdf:about="http://feeds.test/3"><title>  {esc(words)}  three  </title><link>3.html</link></item>
</rdf:RDF>
'''


def rss2(words):
    return f'''<rss version="2.0"><channel><title>Channel title</title><link>http://feeds.test/</link>
<description>d</description>
<item><title><![CDATA[{words} & CDATA <kept> as it stands]]></title><link>http://feeds.test/1</link><description>x</description></item>
<item><title>Entities &amp; &lt;angle&gt; &quot;q&quot; &#039;s&#039; &#x4E2D;{esc(words)}</title><link>http://feeds.test/2?a=1&amp;b=2</link></item>
<item><title>Double &amp;amp; escaped &amp;lt;b&amp;gt;bold&amp;lt;/b&amp;gt;</title><link>/3</link></item>
<item><title>Escaped markup &lt;b&gt;{esc(words)}&lt;/b&gt;</title><link>  rel/4.html  </link></item>
<item><title>
   {esc(words)}
   wrapped </title><link>../5.html</link></item>
<item><title>Named &amp;nbsp; in text</title><link>http://feeds.test/6</link></item>
</channel></rss>
'''


def atom_prefixed(words):
    return f'''<a:feed xmlns:a="http://www.w3.org/2005/Atom" xml:base="http://feeds.test/news/">
<a:title>The feed's own title</a:title><a:link href="http://feeds.test/"/><a:id>urn:feed</a:id>
<a:entry><a:title>{esc(words)} prefixed &amp; plain</a:title><a:link rel="alternate" type="text/html" href="/a/1.html?x=1&amp;y=2"/><a:id>urn:1</a:id></a:entry>
<a:entry xml:base="sub/"><a:title type="html">Prefixed &lt;b&gt;html&lt;/b&gt; {esc(words)}</a:title><a:link rel="self" href="http://self.test/"/><a:link href="2.html"/><a:id>urn:2</a:id></a:entry>
<a:entry><a:title type="xhtml"><div xmlns="http://www.w3.org/1999/xhtml">X <b>bold</b> {esc(words)}</div></a:title><a:link href="http://other.test/3"/><a:link rel="enclosure" href="http://other.test/3.mp3"/><a:id>urn:3</a:id></a:entry>
<a:entry><a:source><a:title>Copied</a:title><a:link href="http://src.test/"/><a:id>urn:src</a:id></a:source><a:title>From a source {esc(words)}</a:title><a:link href="4.html"/><a:id>urn:4</a:id></a:entry>
</a:feed>
'''


def rss1_prefixed(words):
    return f'''<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" xmlns:rss="http://purl.org/rss/1.0/" xmlns:dc="http://purl.org/dc/elements/1.1/">
<rss:channel rdf:about="http://feeds.test/"><rss:title>Channel title</rss:title><rss:link>http://feeds.test/</rss:link>
<rss:description>d</rss:description><rss:items><rdf:Seq><rdf:li resource="http://feeds.test/1"/></rdf:Seq></rss:items></rss:channel>
<rss:image rdf:about="http://feeds.test/logo.png"><rss:title>Logo</rss:title><rss:link>http://feeds.test/</rss:link></rss:image>
<rss:item rdf:about="http://feeds.test/1"><rss:title>{esc(words)} one</rss:title><rss:link>http://feeds.test/1</rss:link></rss:item>
<rss:item rdf:about="http://feeds.test/2"><rss:title>Two &amp; &quot;quoted&quot;</rss:title><rss:link>/2?a=1&amp;b=2</rss:link><rss:description><![CDATA[<p>{words}</p></rss:item>]]></rss:description></rss:item>
<rss:item rdf:about="http://feeds.test/3"><dc:title>{esc(words)} by Dublin Core</dc:title><rss:link>3.html</rss:link></rss:item>
</rdf:RDF>
'''


def rss2_hidden(words):
    """Items whose CDATA sections and comments hold what looks like item ends, titles and links."""
    return f'''<rss version="2.0"><channel><title>Channel title</title><link>http://feeds.test/</link>
<description><![CDATA[<item><title>Not an item</title></item>]]></description>
<!-- <item><title>Commented out</title><link>http://feeds.test/old</link></item> -->
<item><title>{esc(words)} first</title><description><![CDATA[<p>{words}</p></item><item><title>Not a title</title><link>http://feeds.test/not</link>]]></description><link>http://feeds.test/1</link></item>
<item><!-- </item> <title>Old title</title> --><title><![CDATA[{words} </item> inside]]></title><link>http://feeds.test/2</link></item>
<item><description><![CDATA[<title>Not mine</title><link>http://feeds.test/not</link>]]></description><title>Third {esc(words)}</title><link>/3</link></item>
<item><title>Fourth</title><content:encoded xmlns:content="http://purl.org/rss/1.0/modules/content/"><![CDATA[<html><head><title>Page</title><link rel="stylesheet" href="s.css"></head></html>]]></content:encoded><guid>http://feeds.test/4</guid></item>
</channel></rss>
'''


def atom_hidden(words):
    """Entries whose CDATA sections and comments hold what looks like entry ends, titles and links."""
    return f'''<feed xmlns="http://www.w3.org/2005/Atom"><title>Feed</title><id>urn:feed</id>
<entry><title>{esc(words)} one</title><content type="html"><![CDATA[<p>{words}</p></entry><entry><title>Not an entry</title><link href="http://feeds.test/not"/>]]></content><link href="http://feeds.test/1"/><id>urn:1</id></entry>
<!-- <entry><title>Commented out</title></entry> -->
<entry><!-- <title>Old</title> </entry> --><summary type="html"><![CDATA[<link href="http://feeds.test/not"/>]]></summary><title>Two {esc(words)}</title><link href="2.html"/><id>urn:2</id></entry>
</feed>
'''


SHAPES = {'atom': atom, 'rss1': rss1, 'rss2': rss2, 'atom-prefixed': atom_prefixed, 'rss1-prefixed': rss1_prefixed,
          'rss2-hidden-tags': rss2_hidden, 'atom-hidden-tags': atom_hidden}


def encode(text, charset):
    """The feed's bytes; UTF-16 with its byte-order mark."""
    if charset == 'utf-16':
        return '\ufeff'.encode('utf-16-le') + text.encode('utf-16-le')
    return text.encode(charset)


class TextOnly(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts = []

    def handle_data(self, data):
        self.parts.append(data)


def plain(detail):
    """A title as plain text: HTML-typed titles without their markup."""
    value = detail.get('value', '')
    if detail.get('type') in ('text/html', 'application/xhtml+xml'):
        p = TextOnly()
        p.feed(value)
        p.close()
        value = ''.join(p.parts)
    for c in '\r\n\t':
        value = value.replace(c, ' ')
    return value.strip()


def expected(body, content_type):
    parsed = feedparser.parse(body, response_headers={'content-type': content_type, 'content-location': BASE})
    return [(plain(e.get('title_detail', {})), e.get('link', '')) for e in parsed.entries]


def actual(cli, path, content_type):
    out = subprocess.run([cli, 'headlines', path, '--base', BASE, '--content-type', content_type],
                         capture_output=True, check=True).stdout
    lines = out.decode('gb18030').split('\r\n')
    assert lines[-1] == '', 'output must end in CR LF'
    lines = lines[:-1]
    return [(lines[i], lines[i + 1]) for i in range(0, len(lines), 2)]


def compare(cli, tmp, name, body, content_type):
    """Whether the CLI reads every title and link of one feed as feedparser does; prints how not."""
    path = os.path.join(tmp, 'feed.xml')
    with open(path, 'wb') as f:
        f.write(body)
    want = expected(body, content_type)
    got = actual(cli, path, content_type)
    if not want:
        print(f'ORACLE READ NOTHING: {name}')
        return False
    if want == got:
        return True
    print(f'MISMATCH: {name}')
    for i in range(max(len(want), len(got))):
        w = want[i] if i < len(want) else None
        g = got[i] if i < len(got) else None
        if w != g:
            print(f'  item {i}: feedparser {w!r}\n          zelmora    {g!r}')
    return False


def generated():
    """(name, bytes, content type) of every shape in every character set."""
    for shape, make in SHAPES.items():
        for charset, words in REPERTOIRE.items():
            variants = [(charset, None)]
            if charset in WRONG_DECLARATION:
                variants.append((WRONG_DECLARATION[charset], charset))
            for declared, http_charset in variants:
                text = f'<?xml version="1.0" encoding="{declared}"?>\n' + make(words)
                kind = 'application/atom+xml' if shape.startswith('atom') else 'application/rss+xml'
                content_type = kind + (f'; charset={http_charset}' if http_charset else '')
                name = f'{shape} in {charset} (declared {declared}, HTTP {http_charset or "none"})'
                yield name, encode(text, charset), content_type


def main():
    cli = sys.argv[1]
    feeds = list(generated()) + real_world_feeds.cases()
    with tempfile.TemporaryDirectory() as tmp:
        failures = sum(not compare(cli, tmp, *feed) for feed in feeds)
    print(f'{len(feeds)} feeds, {failures} differing')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
