#!/usr/bin/env python3
"""The demo news site of the Zelmora news reader, served on 127.0.0.1 only.

One port (--port, default 8480) serves, told apart by path:
  /rss/<feed>.xml        the twelve category feeds (article links point back at this server)
  /feeds/atom.xml        an Atom feed, and /feeds/gb2312.xml an RSS feed in GB2312 (its charset
                         only in its XML declaration), for the "feeds" section of config.ini
  /news/<feed>/<n>.html  the articles
  /go/?url=<link>        the click-through redirector: 302 to the link, taken as it stands
  /, /weather/, /date/, /map/, /zelnews
                         the maker's site
  /moved/<path>          301 to the same path on the https port (a feed that moved to https)
A second port (--iplookup-port, default the first + 1) serves the IP-location page at "/",
since that root would collide with the site's own "/". A third (--tls-port, default the first
+ 2) serves the site over https, with a CA and a certificate for 127.0.0.1 and localhost made at
start (by the openssl command) in the demo's runtime folder, $XDG_RUNTIME_DIR/zelmora-demo-<P>
(else zelmora-demo-<uid>-<P> in the temporary folder); its article links stay on plain http.

  serve.py [--port P] [--iplookup-port Q]       serve until interrupted
  serve.py --write-config FILE [--port P ...]   wait until the demo answers on P, then point the
                                                "hosts" section of FILE at it and trust its CA in
                                                a "tls" section (other lines kept; a "tls"
                                                section of the user's own stays as it is)
  serve.py --owns-config FILE                   exit 0 when FILE has no "hosts" section of the
                                                user's own, so the demo may write one
"""
import argparse
import ipaddress
import os
import posixpath
import re
import shutil
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HERE = os.path.dirname(os.path.abspath(__file__))
SITE = os.path.join(HERE, "site")
ARTICLE_HOST = b"article.zelmora-news.example"
MARKER = "; hosts of the bundled demo site, written by demo/serve.py"
TLS_MARKER = "; the CA of the bundled demo site, written by demo/serve.py"
PING = b"zelmora-demo"
HOST_RE = re.compile(r"^[A-Za-z0-9.\-]+(:[0-9]{1,5})?$|^\[[0-9A-Fa-f:.]+\](:[0-9]{1,5})?$")

TYPES = {".xml": "application/rss+xml; charset=utf-8", ".html": "text/html; charset=utf-8",
         ".css": "text/css; charset=utf-8"}
# Feeds served with a type of their own: the GB2312 feed names its charset only in its declaration.
FEED_TYPES = {"feeds/atom.xml": "application/atom+xml; charset=utf-8", "feeds/gb2312.xml": "application/rss+xml"}
SITE_PAGES = {"/": "home/index.html", "/weather/": "home/weather/index.html",
              "/date/": "home/date/index.html", "/map/": "home/map/index.html",
              "/zelnews": "home/zelnews.html"}


def read_site_file(relative):
    """The bytes of a file under site/, or None; never anything outside it."""
    path = os.path.realpath(os.path.join(SITE, relative))
    if not path.startswith(os.path.realpath(SITE) + os.sep) or not os.path.isfile(path):
        return None
    with open(path, "rb") as f:
        return f.read()


def place_of(ip):
    try:
        addr = ipaddress.ip_address(ip)
    except ValueError:
        return "未知"
    if addr.is_loopback:
        return "本机(回环地址)"
    if addr.is_private:
        return "局域网"
    return "未知(演示站点没有地址库)"


def error_page(status, text):
    body = (f'<!DOCTYPE html><html lang="zh-CN"><head><meta charset="utf-8"><title>{status}</title></head>'
            f"<body><h1>{status}</h1><p>{text}</p></body></html>\n")
    return body.encode("utf-8")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "ZelmoraDemo/1.0"
    role = "site"  # or "iplookup"
    quiet = False
    article_host = None  # the host of article links; None: the host the feed was asked from
    tls_port = None  # where /moved/ sends to

    def log_message(self, fmt, *args):
        if not self.quiet:
            sys.stderr.write("demo: %s - %s\n" % (self.address_string(), fmt % args))

    def send(self, status, body, content_type="text/html; charset=utf-8", headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        raw_path, _, query = self.path.partition("?")
        if raw_path == "/demo-ping":
            return self.send(200, PING, "text/plain")
        if self.role == "iplookup":
            return self.iplookup(raw_path)
        if raw_path == "/go/":
            return self.redirect(query)
        if raw_path in SITE_PAGES:
            return self.file(SITE_PAGES[raw_path])
        if raw_path.startswith("/moved/") and self.tls_port:
            target = "https://127.0.0.1:%d%s" % (self.tls_port, self.path[len("/moved"):])
            return self.send(301, b"", headers=[("Location", target)])
        if raw_path in ("/weather", "/date", "/map"):
            return self.send(301, b"", headers=[("Location", raw_path + "/")])
        clean = posixpath.normpath(raw_path)
        if clean != raw_path or ".." in clean.split("/"):
            return self.send(404, error_page(404, "没有这个页面。"))
        if clean.startswith(("/rss/", "/feeds/", "/news/", "/static/")):
            return self.file(clean.lstrip("/"))
        return self.send(404, error_page(404, "没有这个页面。"))

    def file(self, relative):
        body = read_site_file(relative)
        if body is None:
            return self.send(404, error_page(404, "没有这个页面。"))
        if relative.startswith("rss/"):
            # Article links follow the host the feed was asked from, so any port works.
            host = self.article_host or self.headers.get("Host", "")
            if not HOST_RE.match(host):
                host = "127.0.0.1:%d" % self.server.server_address[1]
            body = body.replace(ARTICLE_HOST, host.encode("ascii"))
        kind = FEED_TYPES.get(relative) or TYPES.get(os.path.splitext(relative)[1], "application/octet-stream")
        return self.send(200, body, kind)

    def redirect(self, query):
        # The reader appends the article's link unencoded: everything after "url=" is the link.
        if not query.startswith("url="):
            return self.send(400, error_page(400, "跳转地址缺少 url 参数。"))
        target = query[4:]
        if not re.match(r"^https?://[^\s\x00-\x1f\x7f]+$", target):
            return self.send(400, error_page(400, "这条新闻没有文章地址,无法打开。"))
        return self.send(302, b"", headers=[("Location", target)])

    def iplookup(self, raw_path):
        if raw_path.startswith("/static/") and ".." not in raw_path:
            return self.file(raw_path.lstrip("/"))
        if raw_path != "/":
            return self.send(404, error_page(404, "没有这个页面。"))
        ip = self.client_address[0]
        body = read_site_file("ip/index.html") or b""
        body = body.replace(b"{{CLIENT_IP}}", ip.encode("ascii")).replace(
            b"{{CLIENT_PLACE}}", place_of(ip).encode("utf-8"))
        return self.send(200, body)


def make_server(port, role, quiet, **attributes):
    attributes.update(role=role, quiet=quiet)
    handler = type("Handler_" + role, (Handler,), attributes)
    server = ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    return server


def runtime_dir(port):
    """The demo's own runtime folder for the site on port, made private to the user."""
    base = os.environ.get("XDG_RUNTIME_DIR")
    if base and os.path.isdir(base):
        path = os.path.join(base, "zelmora-demo-%d" % port)
    else:
        path = os.path.join(tempfile.gettempdir(), "zelmora-demo-%d-%d" % (os.getuid(), port))
    os.makedirs(path, mode=0o700, exist_ok=True)
    return path


def make_certificates(folder):
    """A fresh CA and a certificate it signs for 127.0.0.1 and localhost, as (ca, cert, key)
    files in folder; None when the openssl command is missing or fails."""
    openssl = shutil.which("openssl")
    if not openssl:
        return None
    ca, ca_key = os.path.join(folder, "ca.pem"), os.path.join(folder, "ca.key")
    cert, key = os.path.join(folder, "site.pem"), os.path.join(folder, "site.key")
    csr, ext = os.path.join(folder, "site.csr"), os.path.join(folder, "site.ext")
    with open(ext, "w") as f:
        f.write("basicConstraints=critical,CA:FALSE\nextendedKeyUsage=serverAuth\n"
                "subjectAltName=IP:127.0.0.1,DNS:localhost\n")
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes"]
    steps = [
        [openssl, "req", "-x509", *ec, "-keyout", ca_key, "-out", ca, "-days", "30",
         "-subj", "/CN=Zelmora demo CA", "-addext", "basicConstraints=critical,CA:TRUE",
         "-addext", "keyUsage=critical,keyCertSign,cRLSign"],
        [openssl, "req", *ec, "-keyout", key, "-out", csr, "-subj", "/CN=127.0.0.1"],
        [openssl, "x509", "-req", "-in", csr, "-CA", ca, "-CAkey", ca_key, "-CAcreateserial",
         "-days", "30", "-extfile", ext, "-out", cert],
    ]
    for step in steps:
        if subprocess.run(step, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
            return None
    return ca, cert, key


def make_tls_server(port, quiet, files, plain_port):
    """The site over https; article links point at the plain site."""
    server = make_server(port, "site", quiet, article_host="127.0.0.1:%d" % plain_port)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.minimum_version = ssl.TLSVersion.TLSv1_2
    context.load_cert_chain(files[1], files[2])
    # The handshake runs in the connection's own thread, so a silent client holds up no other.
    server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
    return server


def hosts_lines(port, ip_port):
    host = "127.0.0.1:%d" % port
    return ["[hosts]", MARKER, "feed=" + host, "site=" + host,
            "iplookup=127.0.0.1:%d" % ip_port, "redirect=" + host]


def read_lines(path):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except FileNotFoundError:
        return []
    return data.decode("latin-1").replace("\r\n", "\n").replace("\r", "\n").split("\n")


def section(lines, name):
    """(start, end) of the first [name] section, or None."""
    start = None
    for i, line in enumerate(lines):
        s = line.strip()
        if s.startswith("["):
            if start is not None:
                return start, i
            if s[1:].split("]")[0].strip().lower() == name:
                start = i
    return (start, len(lines)) if start is not None else None


def hosts_section(lines):
    return section(lines, "hosts")


def owns_config(path):
    lines = read_lines(path)
    found = hosts_section(lines)
    return found is None or any(l.strip() == MARKER for l in lines[found[0]:found[1]])


def replace_section(lines, name, marker, new_lines):
    """Puts new_lines in place of the [name] section the demo wrote (or adds them); a section
    of the user's own, without the marker, stays. False when it stayed."""
    found = section(lines, name)
    if found and not any(l.strip() == marker for l in lines[found[0]:found[1]]):
        return False
    if found:
        del lines[found[0]:found[1]]
    while lines and lines[-1] == "":
        lines.pop()
    lines += new_lines
    return True


def write_config(path, port, ip_port):
    lines = read_lines(path)
    while lines and lines[-1] == "":
        lines.pop()
    found = hosts_section(lines)
    if found:
        del lines[found[0]:found[1]]
    lines += hosts_lines(port, ip_port)
    ca = os.path.join(runtime_dir(port), "ca.pem")
    if os.path.isfile(ca) and not replace_section(lines, "tls", TLS_MARKER, ["[tls]", TLS_MARKER, "ca-file=" + ca]):
        print("demo: %s has a [tls] section of its own; the demo's CA is %s" % (path, ca), file=sys.stderr)
    data = ("\r\n".join(lines) + "\r\n").encode("latin-1")
    directory = os.path.dirname(os.path.abspath(path))
    os.makedirs(directory, exist_ok=True)
    fd, tmp = tempfile.mkstemp(dir=directory, prefix=".config.ini.")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        os.unlink(tmp)
        raise


def wait_for_demo(port, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            with urllib.request.urlopen("http://127.0.0.1:%d/demo-ping" % port, timeout=1) as r:
                if r.read() == PING:
                    return True
        except OSError:
            pass
        time.sleep(0.1)
    return False


def main():
    ap = argparse.ArgumentParser(description="Zelmora demo news site")
    ap.add_argument("--port", type=int, default=8480)
    ap.add_argument("--iplookup-port", type=int, default=None)
    ap.add_argument("--tls-port", type=int, default=None)
    ap.add_argument("--write-config", metavar="FILE")
    ap.add_argument("--owns-config", metavar="FILE")
    ap.add_argument("--quiet", action="store_true")
    args = ap.parse_args()

    if args.owns_config:
        return 0 if owns_config(args.owns_config) else 1

    ip_port = args.iplookup_port if args.iplookup_port is not None else args.port + 1
    if args.write_config:
        if not wait_for_demo(args.port, 10):
            print("demo: nothing answers on 127.0.0.1:%d" % args.port, file=sys.stderr)
            return 1
        write_config(args.write_config, args.port, ip_port)
        return 0

    tls_port = args.tls_port if args.tls_port is not None else (args.port + 2 if args.port else 0)
    site = make_server(args.port, "site", args.quiet)
    if args.iplookup_port is None and args.port == 0:
        ip_port = 0
    ip = make_server(ip_port, "iplookup", args.quiet)
    threading.Thread(target=ip.serve_forever, daemon=True).start()
    files = make_certificates(runtime_dir(site.server_address[1]))
    if files:
        tls = make_tls_server(tls_port, args.quiet, files, site.server_address[1])
        site.RequestHandlerClass.tls_port = tls.server_address[1]
        threading.Thread(target=tls.serve_forever, daemon=True).start()
        print("demo: site on http://127.0.0.1:%d/ and https://127.0.0.1:%d/ (CA %s), IP lookup on "
              "http://127.0.0.1:%d/" % (site.server_address[1], tls.server_address[1], files[0],
                                        ip.server_address[1]), file=sys.stderr, flush=True)
    else:
        print("demo: site on http://127.0.0.1:%d/ (no https: the openssl command is missing), IP lookup "
              "on http://127.0.0.1:%d/" % (site.server_address[1], ip.server_address[1]),
              file=sys.stderr, flush=True)
    try:
        site.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
