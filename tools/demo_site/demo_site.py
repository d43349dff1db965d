"""A small torrent search site on loopback, for trying the program and for its
end-to-end tests. It serves result pages in the layout the program reads and a
cloud-playback page on a second port, from the bundled catalog.json.

usage: python3 tools/demo_site/demo_site.py [--port 8877] [--cloud-port 8878]
           [--log requests.jsonl] [--port-file ports.json]
           [--idle-timeout SECONDS] [--max-requests N]

Search site:    /search?info_hash=&q=KEYWORD     first page
                /search?q=KEYWORD&p=N            page N + 1 (p counts from 0)
Cloud playback: /?u=LINK                         a page showing LINK, the
                                                 percent-encoded value of u

Port 0 picks a free port; the ports in use are printed as one JSON line and
written to --port-file. Every request is appended to --log as one JSON line.
The site stops after --idle-timeout seconds without a request (default 600,
0 = never), after --max-requests requests (0 = no limit), or on SIGINT/SIGTERM.
Python standard library only.
"""
import argparse
import hashlib
import html
import json
import os
import signal
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HOST = "127.0.0.1"
PAGE_SIZE = 20
HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_CATALOG = os.path.join(HERE, "catalog.json")


def info_hash(name):
    """Synthetic, stable info-hash: these are demo entries, not real torrents."""
    return hashlib.sha1(("demo-catalog:" + name).encode("utf-8")).hexdigest().upper()


def size_text(size):
    for unit, scale in (("GB", 1 << 30), ("MB", 1 << 20), ("KB", 1 << 10)):
        if size >= scale:
            return "%.1f %s" % (size / scale, unit)
    return "%d B" % size


class Catalog:
    def __init__(self, path):
        with open(path, encoding="utf-8") as f:
            self.entries = json.load(f)["entries"]
        for entry in self.entries:
            entry["hash"] = info_hash(entry["name"])
            entry["haystack"] = " ".join([entry["name"]] + entry.get("tags", [])).casefold()

    def find(self, keyword):
        """Entries holding every word of the keyword, in catalog order; an
        empty keyword finds nothing."""
        words = keyword.casefold().split()
        if not words:
            return []
        return [e for e in self.entries if all(w in e["haystack"] for w in words)]


# Reserved names that never resolve: the demo links name trackers, as real
# ones do, without pointing anywhere.
TRACKERS = ("udp://tracker.demo.invalid:6969/announce", "http://tracker.demo.invalid/announce")


def magnet_link(entry):
    params = [("xt", "urn:btih:" + entry["hash"]), ("dn", entry["name"])] + [("tr", t) for t in TRACKERS]
    return "magnet:?" + "&".join("%s=%s" % (k, urllib.parse.quote(v, safe=":" if k == "xt" else ""))
                                 for k, v in params)


def name_html(name, keyword):
    """The name as search sites write it: references for the characters
    HTML reserves, and the words of the keyword in bold."""
    folded = name.casefold()
    marks = [False] * len(name)
    if len(folded) == len(name):
        for word in keyword.casefold().split():
            at = folded.find(word)
            while at >= 0:
                marks[at:at + len(word)] = [True] * len(word)
                at = folded.find(word, at + len(word))
    out, i = [], 0
    while i < len(name):
        j = i
        while j < len(name) and marks[j] == marks[i]:
            j += 1
        text = html.escape(name[i:j])
        out.append("<b>%s</b>" % text if marks[i] else text)
        i = j
    return "".join(out)


def result_lines(entry, keyword):
    """One result: the name table and the magnet anchor share one line (the
    program's patterns are greedy within a line, so no other result may sit
    on it), then the detail block."""
    q = urllib.parse.quote(keyword, safe="")
    name = name_html(entry["name"], keyword)
    href = html.escape(magnet_link(entry))
    total = sum(size for _, size in entry["files"])
    lines = [
        '<table class="name"><tr><td><a href="/search?info_hash=%s&amp;q=%s">%s</a></td></tr></table>'
        '<div class="link"><a onclick="return copyMagnet(this.href)" href="%s" title="magnet链接下载">磁力链接</a></div>'
        % (entry["hash"], q, name, href),
        '<div class="detail">[云端下载]<pre>',
        "文件列表：",
    ]
    lines += ["  %s    %s" % (html.escape(path, quote=False), size_text(size)) for path, size in entry["files"]]
    lines += [
        "大小：%s　文件数：%d　收录时间：%s" % (size_text(total), len(entry["files"]), entry["date"]),
        "</pre></div>",
    ]
    return lines


def result_page(keyword, page_index, catalog):
    """The whole page for 0-based page `page_index`; `None` when it cannot
    be served."""
    found = catalog.find(keyword)
    pages = (len(found) + PAGE_SIZE - 1) // PAGE_SIZE
    shown = found[page_index * PAGE_SIZE:(page_index + 1) * PAGE_SIZE]
    indicator = "%d/%d 页" % (page_index + 1 if pages else 0, pages)
    title = html.escape(keyword, quote=False) or "演示种子搜索"
    q = urllib.parse.quote(keyword, safe="")
    lines = [
        "<!DOCTYPE html>",
        '<html><head><meta charset="utf-8"><title>%s - 演示种子搜索</title></head><body>' % title,
        "<h1>演示种子搜索</h1>",
        '<p class="about">本站为演示站点：条目均为可合法分享的内容或标明“演示数据”的虚构条目，信息散列值为合成值。</p>',
        '<p class="count">找到 %d 个结果</p>' % len(found),
        '<div class="results">',
    ]
    for entry in shown:
        lines += result_lines(entry, keyword)
    lines += [
        "</div>",
        '<table class="pager"><tr><td>上一个</td><td>%s</td><td>下一个</td></tr></table>' % indicator,
    ]
    nav = []
    if page_index > 0:
        nav.append('<a href="/search?q=%s&amp;p=%d">上一页</a>' % (q, page_index - 1))
    if page_index + 1 < pages:
        nav.append('<a href="/search?q=%s&amp;p=%d">下一页</a>' % (q, page_index + 1))
    lines += ['<p class="nav">%s</p>' % " ".join(nav), "</body></html>", ""]
    return "\r\n".join(lines)


def cloud_link(raw_query):
    """The value of u, as a real service reads it: a link sent unencoded
    arrives cut at its first "&"."""
    values = urllib.parse.parse_qs(raw_query, keep_blank_values=True).get("u")
    return values[0] if values else None


def cloud_page(link):
    shown = html.escape(link)
    return ('<!DOCTYPE html>\r\n<html><head><meta charset="utf-8"><title>云端播放 - 演示</title></head><body>\r\n'
            '<h1>云端播放（演示）</h1>\r\n<p>收到的链接：</p>\r\n<pre class="link">%s</pre>\r\n</body></html>\r\n' % shown)


class Recorder:
    """Appends one JSON line per request and tracks when the last came."""

    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()
        self.count = 0
        self.last = time.monotonic()

    def record(self, server, handler, status):
        with self.lock:
            self.count += 1
            self.last = time.monotonic()
            if not self.path:
                return
            parts = urllib.parse.urlsplit(handler.path)
            entry = {
                "server": server,
                "method": handler.command,
                "path": handler.path,
                "route": parts.path,
                "query": urllib.parse.parse_qs(parts.query, keep_blank_values=True),
                "headers": dict(handler.headers.items()),
                "status": status,
                "time": time.time(),
            }
            if server == "cloud":
                entry["link"] = cloud_link(parts.query)
            with open(self.path, "a", encoding="utf-8") as f:
                f.write(json.dumps(entry, ensure_ascii=False) + "\n")


class Handler(BaseHTTPRequestHandler):
    server_version = "DemoTorrentSearch/1.0"
    timeout = 10  # a silent client cannot hold the shutdown up for longer
    # Each answer leaves in one write, at once: a header block written apart
    # from the body waits for the client's delayed ACK (~40 ms in WinInet).
    disable_nagle_algorithm = True
    wbufsize = 4 << 20  # flushed once per request, after the body

    def log_message(self, format, *args):  # the JSON log is the record
        pass

    def answer(self, status, body):
        # Recorded before answering: whoever has the answer finds it in the log.
        self.server.recorder.record(self.server.role, self, status)
        data = body.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(data)

    def do_GET(self):
        parts = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(parts.query, keep_blank_values=True)
        status, body = self.route(parts.path, parts.query, query)
        self.answer(status, body)

    do_HEAD = do_GET

    def route(self, path, raw_query, query):
        if self.server.role == "cloud":
            link = cloud_link(raw_query)
            if path == "/" and link is not None:
                return 200, cloud_page(link)
            return 404, "<html><body>not found</body></html>"
        if path != "/search" or "q" not in query:
            return 404, "<html><body>not found</body></html>"
        page = query.get("p", ["0"])[0]
        if not page.isdigit():
            return 400, "<html><body>bad page number</body></html>"
        return 200, result_page(query["q"][0], int(page), self.server.catalog)


def make_server(port, role, catalog, recorder):
    server = ThreadingHTTPServer((HOST, port), Handler)
    # Closing waits for the answers under way, so a bounded run never cuts one.
    server.daemon_threads = False
    server.role = role
    server.catalog = catalog
    server.recorder = recorder
    return server


class DemoSite:
    """Both servers, serving on background threads until `stop`."""

    def __init__(self, port=8877, cloud_port=8878, log=None, catalog=DEFAULT_CATALOG):
        self.recorder = Recorder(log)
        catalog = Catalog(catalog)
        self.search = make_server(port, "search", catalog, self.recorder)
        self.cloud = make_server(cloud_port, "cloud", catalog, self.recorder)
        self.ports = {"port": self.search.server_address[1], "cloud_port": self.cloud.server_address[1]}
        self.threads = [threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True)
                        for s in (self.search, self.cloud)]
        for t in self.threads:
            t.start()

    def stop(self):
        for s in (self.search, self.cloud):
            s.shutdown()
            s.server_close()


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--port", type=int, default=8877)
    parser.add_argument("--cloud-port", type=int, default=8878)
    parser.add_argument("--log", help="append every request to this JSON-lines file")
    parser.add_argument("--port-file", help="write the ports in use to this JSON file")
    parser.add_argument("--idle-timeout", type=float, default=600, help="seconds without a request; 0 = never")
    parser.add_argument("--max-requests", type=int, default=0, help="stop after this many requests; 0 = no limit")
    parser.add_argument("--catalog", default=DEFAULT_CATALOG)
    args = parser.parse_args(argv)

    site = DemoSite(args.port, args.cloud_port, args.log, args.catalog)
    stop = threading.Event()
    for sig in (signal.SIGINT, signal.SIGTERM):
        signal.signal(sig, lambda *_: stop.set())
    if args.port_file:
        with open(args.port_file, "w", encoding="utf-8") as f:
            json.dump(site.ports, f)
    print(json.dumps(site.ports), flush=True)

    while not stop.wait(0.2):
        if args.max_requests and site.recorder.count >= args.max_requests:
            break
        if args.idle_timeout and time.monotonic() - site.recorder.last > args.idle_timeout:
            break
    site.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
