"""Feeds in the shapes public sites serve, for feed_differential.py.

Podcasts (itunes, media), WordPress RSS and Atom, Blogger, YouTube, GitHub and Reddit Atom, old
forum RSS with HTML titles, dc:title beside title, blanks and line breaks in titles and links, a
channel image before the items, and character set trouble: a wrong HTTP charset either way, a
body without any label, a byte-order mark with a declaration.
"""

ITUNES = 'xmlns:itunes="http://www.itunes.com/dtds/podcast-1.0.dtd"'
MEDIA = 'xmlns:media="http://search.yahoo.com/mrss/"'
DC = 'xmlns:dc="http://purl.org/dc/elements/1.1/"'
CONTENT = 'xmlns:content="http://purl.org/rss/1.0/modules/content/"'
ATOMNS = 'xmlns:atom="http://www.w3.org/2005/Atom"'

PODCAST = f'''<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" {ITUNES} {MEDIA} {ATOMNS} {CONTENT}>
<channel>
<title>The Example Show</title>
<link>https://podcast.test/</link>
<atom:link href="https://podcast.test/feed.xml" rel="self" type="application/rss+xml"/>
<image><url>https://podcast.test/art.jpg</url><title>The Example Show</title><link>https://podcast.test/</link></image>
<itunes:image href="https://podcast.test/art.jpg"/>
<itunes:owner><itunes:name>Host</itunes:name><itunes:email>h@podcast.test</itunes:email></itunes:owner>
<itunes:category text="Technology"><itunes:category text="Tech News"/></itunes:category>
<item>
  <title>Episode 42: “Bits &amp; Bytes”</title>
  <itunes:title>Bits and Bytes</itunes:title>
  <itunes:episode>42</itunes:episode>
  <link>https://podcast.test/episodes/42</link>
  <enclosure url="https://cdn.podcast.test/42.mp3?src=rss&amp;t=1" length="123" type="audio/mpeg"/>
  <guid isPermaLink="false">podcast-42</guid>
  <itunes:image href="https://podcast.test/42.jpg"/>
  <media:content url="https://cdn.podcast.test/42.mp3" type="audio/mpeg"><media:title type="plain">Media 42</media:title></media:content>
  <content:encoded><![CDATA[<p>Show notes with a <a href="https://x.test/">link</a> &amp; <title>not a title</title></p>]]></content:encoded>
</item>
<item>
  <itunes:title>Only an itunes title</itunes:title>
  <enclosure url="https://cdn.podcast.test/41.mp3" length="1" type="audio/mpeg"/>
  <guid>https://podcast.test/episodes/41</guid>
</item>
<item>
  <title>Trailer</title>
  <media:title>Media trailer</media:title>
  <guid isPermaLink="true">https://podcast.test/trailer</guid>
</item>
</channel>
</rss>
'''

WORDPRESS_RSS = f'''<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"
	{CONTENT}
	xmlns:wfw="http://wellformedweb.org/CommentAPI/"
	{DC}
	{ATOMNS}
	xmlns:sy="http://purl.org/rss/1.0/modules/syndication/"
	xmlns:slash="http://purl.org/rss/1.0/modules/slash/"
	>

<channel>
	<title>Example Blog</title>
	<atom:link href="https://blog.test/feed/" rel="self" type="application/rss+xml" />
	<link>https://blog.test</link>
	<description>Just another site</description>
	<lastBuildDate>Mon, 01 Jan 2024 00:00:00 +0000</lastBuildDate>
	<language>en-US</language>
	<sy:updatePeriod>
	hourly	</sy:updatePeriod>
<image>
	<url>https://blog.test/wp-content/uploads/cropped-icon-32x32.png</url>
	<title>Example Blog</title>
	<link>https://blog.test</link>
	<width>32</width>
	<height>32</height>
</image> 
	<item>
		<title>Don&#8217;t panic &#8211; it&#8217;s only &#8220;news&#8221; &amp; more&#8230;</title>
		<link>https://blog.test/2024/01/dont-panic/</link>
					<comments>https://blog.test/2024/01/dont-panic/#respond</comments>
		
		<dc:creator><![CDATA[admin]]></dc:creator>
		<pubDate>Mon, 01 Jan 2024 00:00:00 +0000</pubDate>
				<category><![CDATA[Uncategorized]]></category>
		<guid isPermaLink="false">https://blog.test/?p=123</guid>

					<description><![CDATA[An excerpt &#8230; <a href="https://blog.test/2024/01/dont-panic/">Continue reading</a>]]></description>
										<content:encoded><![CDATA[<p>Body <title>fake</title> <link>fake</link></p>]]></content:encoded>
					<wfw:commentRss>https://blog.test/2024/01/dont-panic/feed/</wfw:commentRss>
			<slash:comments>0</slash:comments>
		</item>
	<item>
		<title>Caf&#233; &#038; cr&#232;me &#x2014; 50&#37; off</title>
		<link>https://blog.test/2024/01/cafe/?utm_source=rss&#038;utm_medium=rss</link>
		<guid isPermaLink="false">https://blog.test/?p=124</guid>
	</item>
	</channel>
</rss>
'''

WORDPRESS_ATOM = '''<?xml version="1.0" encoding="UTF-8"?><feed
  xmlns="http://www.w3.org/2005/Atom"
  xmlns:thr="http://purl.org/syndication/thread/1.0"
  xml:lang="en-US"
  xml:base="https://blog.test/wp-atom.php"
   >
	<title type="text">Example Blog</title>
	<subtitle type="text">Just another site</subtitle>
	<updated>2024-01-01T00:00:00Z</updated>
	<link rel="alternate" type="text/html" href="https://blog.test" />
	<id>https://blog.test/feed/atom/</id>
	<link rel="self" type="application/atom+xml" href="https://blog.test/feed/atom/" />
	<entry>
		<author>
			<name>admin</name>
							<uri>https://blog.test</uri>
						</author>
		<title type="html"><![CDATA[Don&#8217;t <em>panic</em> &amp; relax]]></title>
		<link rel="alternate" type="text/html" href="https://blog.test/2024/01/dont-panic/" />
		<id>https://blog.test/?p=123</id>
		<updated>2024-01-01T00:00:00Z</updated>
		<published>2024-01-01T00:00:00Z</published>
		<category scheme="https://blog.test" term="Uncategorized" />
		<summary type="html"><![CDATA[An excerpt]]></summary>
		<content type="html" xml:base="https://blog.test/2024/01/dont-panic/"><![CDATA[<p>Body</p>]]></content>
		<link rel="replies" type="text/html" href="https://blog.test/2024/01/dont-panic/#comments" thr:count="0" />
		<link rel="replies" type="application/atom+xml" href="https://blog.test/2024/01/dont-panic/feed/atom/" thr:count="0" />
		<thr:total>0</thr:total>
	</entry>
	<entry>
		<title type="html"><![CDATA[Tom &amp; Jerry &#8211; &lt;3]]></title>
		<link rel="alternate" type="text/html" href="/2024/01/tom/" />
		<id>https://blog.test/?p=124</id>
	</entry>
</feed>
'''

BLOGGER = '''<?xml version='1.0' encoding='UTF-8'?><?xml-stylesheet href="http://www.blogger.com/styles/atom.css" type="text/css"?><feed xmlns='http://www.w3.org/2005/Atom' xmlns:openSearch='http://a9.com/-/spec/opensearchrss/1.0/' xmlns:blogger='http://schemas.google.com/blogger/2008' xmlns:georss='http://www.georss.org/georss' xmlns:gd="http://schemas.google.com/g/2005" xmlns:thr='http://purl.org/syndication/thread/1.0'><id>tag:blogger.com,1999:blog-1</id><updated>2024-01-01T00:00:00.000-08:00</updated><category term="news"/><title type='text'>Example Blogspot</title><subtitle type='html'></subtitle><link rel='http://schemas.google.com/g/2005#feed' type='application/atom+xml' href='https://x.blogspot.com/feeds/posts/default'/><link rel='self' type='application/atom+xml' href='https://www.blogger.com/feeds/1/posts/default'/><link rel='alternate' type='text/html' href='https://x.blogspot.com/'/><link rel='hub' href='http://pubsubhubbub.appspot.com/'/><link rel='next' type='application/atom+xml' href='https://www.blogger.com/feeds/1/posts/default?start-index=26&amp;max-results=25'/><author><name>Author</name><uri>http://www.blogger.com/profile/1</uri><email>noreply@blogger.com</email><gd:image rel='http://schemas.google.com/g/2005#thumbnail' width='16' height='16' src='https://img1.blogblog.com/img/b16-rounded.gif'/></author><generator version='7.00' uri='http://www.blogger.com'>Blogger</generator><openSearch:totalResults>2</openSearch:totalResults><entry><id>tag:blogger.com,1999:blog-1.post-2</id><published>2024-01-01T00:00:00.000-08:00</published><updated>2024-01-01T00:00:00.000-08:00</updated><category scheme="http://www.blogger.com/atom/ns#" term="news"/><title type='text'>Blogger post &#39;two&#39; &amp; &lt;more&gt;</title><content type='html'>&lt;p&gt;Body with &lt;link rel="x" href="y"&gt;&lt;/p&gt;</content><link rel='replies' type='application/atom+xml' href='https://x.blogspot.com/feeds/2/comments/default' title='Post Comments'/><link rel='replies' type='text/html' href='https://x.blogspot.com/2024/01/two.html#comment-form' title='0 Comments'/><link rel='edit' type='application/atom+xml' href='https://www.blogger.com/feeds/1/posts/default/2'/><link rel='self' type='application/atom+xml' href='https://www.blogger.com/feeds/1/posts/default/2'/><link rel='alternate' type='text/html' href='https://x.blogspot.com/2024/01/two.html' title='Blogger post &#39;two&#39;'/><author><name>Author</name></author><media:thumbnail xmlns:media="http://search.yahoo.com/mrss/" url="https://blogger.googleusercontent.com/img/s72-c/x.png" height="72" width="72"/><thr:total>0</thr:total></entry><entry><id>tag:blogger.com,1999:blog-1.post-1</id><title type='text'></title><content type='html'>untitled</content><link rel='alternate' type='text/html' href='https://x.blogspot.com/2024/01/blog-post.html' title=''/></entry></feed>'''

YOUTUBE = '''<?xml version="1.0" encoding="UTF-8"?>
<feed xmlns:yt="http://www.youtube.com/xml/schemas/2015" xmlns:media="http://search.yahoo.com/mrss/" xmlns="http://www.w3.org/2005/Atom">
 <link rel="self" href="http://www.youtube.com/feeds/videos.xml?channel_id=UCx"/>
 <id>yt:channel:UCx</id>
 <yt:channelId>UCx</yt:channelId>
 <title>Channel Name</title>
 <link rel="alternate" href="https://www.youtube.com/channel/UCx"/>
 <author>
  <name>Channel Name</name>
  <uri>https://www.youtube.com/channel/UCx</uri>
 </author>
 <published>2010-01-01T00:00:00+00:00</published>
 <entry>
  <id>yt:video:AAAA</id>
  <yt:videoId>AAAA</yt:videoId>
  <yt:channelId>UCx</yt:channelId>
  <title>My video | Part 1 &amp; 2 — “live” 🎸</title>
  <link rel="alternate" href="https://www.youtube.com/watch?v=AAAA"/>
  <author>
   <name>Channel Name</name>
   <uri>https://www.youtube.com/channel/UCx</uri>
  </author>
  <published>2024-01-01T00:00:00+00:00</published>
  <updated>2024-01-02T00:00:00+00:00</updated>
  <media:group>
   <media:title>My video | Part 1 &amp; 2 — “live” 🎸</media:title>
   <media:content url="https://www.youtube.com/v/AAAA?version=3" type="application/x-shockwave-flash" width="640" height="390"/>
   <media:thumbnail url="https://i1.ytimg.com/vi/AAAA/hqdefault.jpg" width="480" height="360"/>
   <media:description>Description with <b>no</b> markup &lt;3</media:description>
   <media:community>
    <media:starRating count="10" average="5.00" min="1" max="5"/>
    <media:statistics views="100"/>
   </media:community>
  </media:group>
 </entry>
 <entry>
  <id>yt:video:BBBB</id>
  <media:group><media:title>Only the media title</media:title></media:group>
  <link rel="alternate" href="https://www.youtube.com/watch?v=BBBB"/>
 </entry>
</feed>
'''

GITHUB = '''<?xml version="1.0" encoding="UTF-8"?>
<feed xmlns="http://www.w3.org/2005/Atom" xmlns:media="http://search.yahoo.com/mrss/" xml:lang="en-US">
  <id>tag:github.com,2008:https://github.com/o/r/releases</id>
  <link type="text/html" rel="alternate" href="https://github.com/o/r/releases"/>
  <link type="application/atom+xml" rel="self" href="https://github.com/o/r/releases.atom"/>
  <title>Release notes from r</title>
  <updated>2024-01-01T00:00:00Z</updated>
  <entry>
    <id>tag:github.com,2008:Repository/1/v1.2.0</id>
    <updated>2024-01-01T00:00:00Z</updated>
    <link rel="alternate" type="text/html" href="https://github.com/o/r/releases/tag/v1.2.0"/>
    <title>v1.2.0: faster &lt;parser&gt; &amp; fixes</title>
    <content type="html">&lt;h2&gt;What&amp;#39;s Changed&lt;/h2&gt;</content>
    <author>
      <name>octocat</name>
    </author>
    <media:thumbnail height="30" width="30" url="https://avatars.githubusercontent.com/u/1?s=60&amp;v=4"/>
  </entry>
  <entry>
    <id>tag:github.com,2008:Grit::Commit/0123abcd</id>
    <link type="text/html" rel="alternate" href="https://github.com/o/r/commit/0123abcd"/>
    <title>
        Merge pull request #12 from someone/branch

Fix the thing
    </title>
    <updated>2024-01-01T00:00:00Z</updated>
  </entry>
</feed>
'''

REDDIT = '''<?xml version="1.0" encoding="UTF-8"?><feed xmlns="http://www.w3.org/2005/Atom" xmlns:media="http://search.yahoo.com/mrss/"><category term="news" label="r/news"/><updated>2024-01-01T00:00:00+00:00</updated><icon>https://www.redditstatic.com/icon.png/</icon><id>/r/news/.rss</id><link rel="self" href="https://www.reddit.com/r/news/.rss" type="application/atom+xml" /><link rel="alternate" href="https://www.reddit.com/r/news/" type="text/html" /><subtitle>News</subtitle><title>News</title><entry><author><name>/u/someone</name><uri>https://www.reddit.com/user/someone</uri></author><category term="news" label="r/news"/><content type="html">&lt;!-- SC_OFF --&gt;&lt;div class=&quot;md&quot;&gt;&lt;p&gt;text&lt;/p&gt;&lt;/div&gt;</content><id>t3_abc</id><media:thumbnail url="https://b.thumbs.redditmedia.com/x.jpg" /><link href="https://www.reddit.com/r/news/comments/abc/title/" /><updated>2024-01-01T00:00:00+00:00</updated><published>2024-01-01T00:00:00+00:00</published><title>I can&#39;t believe it&#39;s &amp;quot;news&amp;quot; &amp;amp; &lt;b&gt;bold&lt;/b&gt;</title></entry><entry><id>t3_def</id><link href="https://www.reddit.com/r/news/comments/def/x/" /><title>Ask: is 5 &lt; 6 &amp;&amp; 7 &gt; 3?</title></entry></feed>'''

REDDIT_RSS = '''<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0"><channel><title>old style</title><link>https://old.test/</link>
<item><title>Tom &amp;amp; Jerry &lt;i&gt;again&lt;/i&gt; &amp;quot;quoted&amp;quot;</title><link>https://old.test/1</link></item>
<item><title>&lt;![CDATA[looks like cdata]]&gt; &amp;#8217; x</title><link>https://old.test/2</link></item>
<item><title>5 &lt; 6 and 7 &gt; 3</title><link>https://old.test/3</link></item>
<item><title>&lt;script&gt;alert(1)&lt;/script&gt;Safe</title><link>https://old.test/4</link></item>
<item><title>Use &lt;br&gt; or &lt;br/&gt; &amp;hellip;</title><link>https://old.test/5</link></item>
</channel></rss>
'''

DCTITLE = f'''<?xml version="1.0"?>
<rss version="2.0" {DC} {MEDIA}><channel><title>c</title>
<item><dc:title>DC first</dc:title><title>Plain second</title><link>http://dc.test/1</link></item>
<item><title>Plain first</title><dc:title>DC second</dc:title><link>http://dc.test/2</link></item>
<item><title></title><dc:title>DC after an empty title</dc:title><link>http://dc.test/3</link></item>
<item><media:title>Media first</media:title><title>Plain after media</title><link>http://dc.test/4</link></item>
<item><media:title>Media only</media:title><link>http://dc.test/5</link></item>
<item><title>   </title><media:title>Media after blank</media:title><link>http://dc.test/6</link></item>
</channel></rss>
'''

RDF_DC = f'''<?xml version="1.0" encoding="utf-8"?>
<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" xmlns="http://purl.org/rss/1.0/" {DC}>
<channel rdf:about="http://rdf.test/"><title>RDF</title><link>http://rdf.test/</link><items><rdf:Seq><rdf:li rdf:resource="http://rdf.test/1"/></rdf:Seq></items></channel>
<image rdf:about="http://rdf.test/logo.png"><title>Logo</title><link>http://rdf.test/</link><url>http://rdf.test/logo.png</url></image>
<item rdf:about="http://rdf.test/1"><title>RDF one</title><link>http://rdf.test/1</link><dc:date>2024-01-01</dc:date></item>
<item rdf:about="http://rdf.test/2"><dc:title>RDF dc only</dc:title><link>
   http://rdf.test/2
</link></item>
</rdf:RDF>
'''

WHITESPACE = '''<?xml version="1.0"?>
<rss version="2.0"><channel><title>ws</title>
<item><title>
	Tabbed	and
	broken
</title><link>
	  https://ws.test/1?a=1&amp;b=2
	</link></item>
<item><title>  non&#160;breaking&nbsp;spaces&#xA0; </title><link> https://ws.test/2 </link></item>
<item><title>&#10;Encoded line&#13;&#10;breaks&#9;</title><link>https://ws.test/3</link></item>
<item><title><![CDATA[
   CDATA with breaks
   ]]></title><link><![CDATA[ https://ws.test/4 ]]></link></item>
<item><title>Ideographic&#x3000;space&#x3000;</title><link>/5</link></item>
</channel></rss>
'''

ATOM_WS = '''<?xml version="1.0" encoding="utf-8"?>
<feed xmlns="http://www.w3.org/2005/Atom"><title>ws</title>
<entry><title type="html">
   &lt;p&gt;
   Paragraph
   &lt;/p&gt;
</title><link href="https://aws.test/1"/><id>urn:1</id></entry>
<entry><title type="xhtml">
  <div xmlns="http://www.w3.org/1999/xhtml">
    <p>Nested <b>bold <i>and italic</i></b> &amp; <a href="/x">a link</a></p>
    <span>second</span>
  </div>
</title><link href="https://aws.test/2"/><id>urn:2</id></entry>
<entry><title type="xhtml"><xhtml:div xmlns:xhtml="http://www.w3.org/1999/xhtml">Prefixed <xhtml:em>div</xhtml:em></xhtml:div></title><link href="https://aws.test/3"/></entry>
<entry><title type="text">Text with &lt;b&gt;literal&lt;/b&gt; tags</title><link href="https://aws.test/4"/></entry>
<entry><title type="html">&lt;img src="x.png" alt="alt text"/&gt; after image &amp;amp; &amp;lt;</title><link href="https://aws.test/5"/></entry>
</feed>
'''

ATOM03 = '''<?xml version="1.0" encoding="utf-8"?>
<feed version="0.3" xmlns="http://purl.org/atom/ns#"><title>Old</title>
<entry><title mode="escaped" type="text/html">Escaped &lt;b&gt;bold&lt;/b&gt; &amp;amp; co</title><link rel="alternate" type="text/html" href="http://a03.test/1"/><id>tag:x,1</id></entry>
<entry><title>Plain 0.3</title><link rel="alternate" type="text/html" href="http://a03.test/2"/></entry>
</feed>'''

COMMENTED = '''<rss version="2.0"><channel><title>c</title>
<!-- <item><title>Commented out</title><link>http://c.test/0</link></item> -->
<item><title>Real</title><link>http://c.test/1</link></item>
<item><title>Href link</title><link href="http://lh.test/1"/></item>
<item><title>Link with attrs</title><link rel="alternate">http://lh.test/2</link></item>
<item><title>T &#x26; &#38; &amp;#38;</title><link><![CDATA[http://cd.test/a?b=1&c=2]]></link></item>
<item><title><![CDATA[One]]> and <![CDATA[two]]></title><link>http://cd.test/2</link></item>
</channel></rss>'''

RSS091 = '''<?xml version="1.0" encoding="ISO-8859-1"?>
<!DOCTYPE rss PUBLIC "-//Netscape Communications//DTD RSS 0.91//EN" "http://my.netscape.com/publish/formats/rss-0.91.dtd">
<rss version="0.91"><channel><title>Old</title><link>http://o.test/</link>
<image><title>Logo</title><url>http://o.test/l.gif</url><link>http://o.test/</link></image>
<item><title>Caf\xe9 &amp; cr&egrave;me</title><link>http://o.test/1</link></item>
</channel></rss>'''

HTML_ENTITIES = '''<rss version="2.0"><channel><title>c</title>
<item><title>&eacute;t&eacute; &ndash; &rsquo;s &hellip; &nbsp;x&copy;</title><link>http://he.test/1</link></item>
<item><title>&amp;eacute;t&amp;eacute; double</title><link>http://he.test/2</link></item>
<item><title>AT&amp;T &amp; R&amp;D</title><link>http://he.test/3</link></item>
<item><title>&lt;p&gt;para&lt;/p&gt;&lt;p&gt;two&lt;/p&gt;</title><link>http://he.test/4</link></item>
</channel></rss>'''

ATOM_CONTENT_FIRST = '''<feed xmlns="http://www.w3.org/2005/Atom"><entry><content type="xhtml"><div xmlns="http://www.w3.org/1999/xhtml"><h1>x</h1></div></content><summary>s</summary><title>After content</title><link rel="enclosure" type="audio/mpeg" href="http://acb.test/e.mp3"/><link href="http://acb.test/1"/></entry></feed>'''


def cases():
    """(name, bytes, content type) of each real-world shaped feed."""
    out = []
    def add(name, text, ct, enc='utf-8'):
        out.append((name, text.encode(enc) if isinstance(text, str) else text, ct))
    add('podcast', PODCAST, 'application/rss+xml; charset=UTF-8')
    add('wordpress-rss', WORDPRESS_RSS, 'application/rss+xml; charset=UTF-8')
    add('wordpress-atom', WORDPRESS_ATOM, 'application/atom+xml; charset=UTF-8')
    add('blogger', BLOGGER, 'application/atom+xml; charset=UTF-8')
    add('youtube', YOUTUBE, 'text/xml; charset=UTF-8')
    add('github', GITHUB, 'application/atom+xml; charset=utf-8')
    add('reddit', REDDIT, 'application/atom+xml; charset=UTF-8')
    add('reddit-rss', REDDIT_RSS, 'application/rss+xml')
    add('dc-title', DCTITLE, 'application/rss+xml')
    add('rdf-dc', RDF_DC, 'application/rdf+xml')
    add('whitespace', WHITESPACE, 'application/rss+xml')
    add('atom-whitespace', ATOM_WS, 'application/atom+xml')
    # Character set trouble.
    latin = WORDPRESS_RSS.replace('encoding="UTF-8"', 'encoding="windows-1252"').replace('Example Blog', 'Café Blog').replace('Don&#8217;t', 'Don’t Ärger')
    add('served-utf8-body-1252', latin.encode('windows-1252'), 'application/rss+xml; charset=UTF-8')
    gb = REDDIT_RSS.replace('encoding="UTF-8"', 'encoding="gb2312"').replace('old style', '旧式').replace('Jerry', '杰瑞')
    add('served-utf8-body-gb2312', gb.encode('gb2312'), 'text/xml; charset=utf-8')
    add('served-latin1-body-utf8', YOUTUBE.replace('<title>My', '<title>Café My'), 'application/atom+xml; charset=ISO-8859-1')
    add('text-xml-no-charset', PODCAST.replace('Bits &amp;', 'Bits ä'), 'text/xml')
    add('text-html-served', GITHUB, 'text/html; charset=utf-8')
    add('bom-and-declaration', b'\xef\xbb\xbf' + WHITESPACE.replace('<?xml version="1.0"?>', '<?xml version="1.0" encoding="UTF-8"?>').replace('Tabbed', 'Täbbed').encode('utf-8'), 'application/rss+xml')
    add('bom-against-declaration', b'\xef\xbb\xbf' + DCTITLE.replace('<?xml version="1.0"?>', '<?xml version="1.0" encoding="ISO-8859-1"?>').replace('DC first', 'DC ärst').encode('utf-8'), 'application/rss+xml')
    add('bom-utf16le', b'\xff\xfe' + ATOM_WS.replace('Paragraph', 'Pärägraph').encode('utf-16-le'), 'application/atom+xml')
    add('no-decl-1252-bytes', REDDIT_RSS.replace('<?xml version="1.0" encoding="UTF-8"?>\n', '').replace('Jerry', 'Jérry').encode('windows-1252'), 'application/rss+xml')
    add('octet-stream', PODCAST, 'application/octet-stream')
    add('atom-0.3', ATOM03, 'application/atom+xml')
    add('commented-and-odd-links', COMMENTED, 'application/rss+xml')
    add('rss-0.91-latin1', RSS091, 'text/xml', 'latin-1')
    add('html-entities', HTML_ENTITIES, 'application/rss+xml')
    add('atom-content-first', ATOM_CONTENT_FIRST, 'application/atom+xml')
    return out
