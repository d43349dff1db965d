"""Checks that the demo site's pages hold what the program cuts out of them,
read with the program's own patterns and markers.

usage: python3 -m unittest discover -s tools/demo_site
"""
import html
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import unittest
import urllib.error
import urllib.parse
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import demo_site  # noqa: E402

NAME_PATTERN = re.compile('&amp;q=(.*)">(.*)</a></td></tr></table>', re.IGNORECASE)
LINK_PATTERN = re.compile('f\\)" href="(.*)" title="magnet链接下载">', re.IGNORECASE)


def between(text, left, right):
    a = text.find(left)
    if a < 0:
        return ""
    b = text.find(right, a + len(left))
    return "" if b < 0 else text[a + len(left):b]


def all_between(text, left, right):
    """The detail cut: case ignored, trimmed, ending at the first empty one."""
    out, lower, start = [], text.lower(), 0
    while True:
        a = lower.find(left.lower(), start)
        b = lower.find(right.lower(), a + len(left)) if a >= 0 else -1
        if b < 0:
            return out
        t = text[a + len(left):b].strip(" \u3000")
        if not t:
            return out
        out.append(t)
        start = b


def as_text(name):
    """A name cut as the list shows it: tags gone, references decoded,
    white space folded."""
    return " ".join(html.unescape(re.sub(r"<[^>]*>", "", name)).split())


class Page:
    """A result page read the way the program reads it."""

    def __init__(self, status, headers, body):
        self.status, self.headers, self.body = status, headers, body
        self.text = body.decode("utf-8")
        self.raw_names = [between(m.group(0), ">", "</a>") for m in NAME_PATTERN.finditer(self.text)]
        self.raw_links = [between(m.group(0), '="', '" t') for m in LINK_PATTERN.finditer(self.text)]
        self.names = [as_text(n) for n in self.raw_names]
        self.links = [html.unescape(l) for l in self.raw_links]
        self.details = all_between(self.text, "[云端下载]", "</pre>")
        self.indicator = " " + between(self.text, "上一个</td><td>", "</td><") + " "
        count = re.match(r"[+-]?\d*", between(self.indicator, "/", " ")).group(0)
        self.page_count = int(count) if count.lstrip("+-") else 0


class DemoSiteTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.log = os.path.join(cls.tmp.name, "requests.jsonl")
        cls.site = demo_site.DemoSite(port=0, cloud_port=0, log=cls.log)
        cls.catalog = demo_site.Catalog(demo_site.DEFAULT_CATALOG)

    @classmethod
    def tearDownClass(cls):
        cls.site.stop()
        cls.tmp.cleanup()

    def fetch(self, path, port_key="port"):
        url = "http://127.0.0.1:%d%s" % (self.site.ports[port_key], path)
        try:
            with urllib.request.urlopen(url, timeout=10) as r:
                return Page(r.status, r.headers, r.read())
        except urllib.error.HTTPError as e:
            return Page(e.code, e.headers, e.read())

    def search(self, keyword, page=None):
        q = urllib.parse.quote(keyword, safe="")
        return self.fetch("/search?info_hash=&q=%s" % q if page is None else "/search?q=%s&p=%d" % (q, page))

    def expected(self, keyword, page):
        found = self.catalog.find(keyword)[page * 20:(page + 1) * 20]
        return ([e["name"] for e in found], [demo_site.magnet_link(e) for e in found])

    def test_pages_carry_names_links_details_and_pager(self):
        cases = [
            # keyword, page (None: first-page URL), rows, indicator, page count
            ("钢铁侠3", None, 20, " 1/3 页 ", 3),
            ("钢铁侠3", 0, 20, " 1/3 页 ", 3),
            ("钢铁侠3", 1, 20, " 2/3 页 ", 3),
            ("钢铁侠3", 2, 5, " 3/3 页 ", 3),
            ("钢铁侠3", 3, 0, " 4/3 页 ", 3),
            ("linux", None, 20, " 1/2 页 ", 2),
            ("LINUX", 1, 17, " 2/2 页 ", 2),
            ("big buck BUNNY", None, 4, " 1/1 页 ", 1),
            ("西游记", None, 5, " 1/1 页 ", 1),
            ("没有这个关键词", None, 0, " 0/0 页 ", 0),
            ("", None, 0, " 0/0 页 ", 0),
        ]
        for keyword, page, rows, indicator, page_count in cases:
            with self.subTest(keyword=keyword, page=page):
                got = self.search(keyword, page)
                self.assertEqual(got.status, 200)
                self.assertIn("utf-8", got.headers["Content-Type"])
                self.assertIn(b'<meta charset="utf-8">', got.body[:400])
                names, links = self.expected(keyword, page or 0)
                self.assertEqual(len(names), rows)
                self.assertEqual(got.names, names)
                self.assertEqual(got.links, links)
                self.assertEqual(len(got.details), rows)
                self.assertEqual(got.indicator, indicator)
                self.assertEqual(got.page_count, page_count)

    def test_each_result_keeps_its_line_and_details_list_files(self):
        got = self.search("钢铁侠3")
        lines = got.text.split("\r\n")
        self.assertEqual(sum(1 for l in lines if NAME_PATTERN.search(l) and LINK_PATTERN.search(l)), 20)
        self.assertTrue(all(len(NAME_PATTERN.findall(l)) <= 1 for l in lines))
        entry = self.catalog.find("钢铁侠3")[0]
        for path, _ in entry["files"]:
            self.assertIn(path, got.details[0])
        self.assertIn("收录时间：" + entry["date"], got.details[0])
        self.assertTrue(all("演示数据" in name for name in got.names))

    def test_names_and_links_are_written_as_search_sites_write_them(self):
        got = self.search("linux")
        self.assertEqual(got.raw_names[0],
                         "Ubuntu 20.04.6 LTS &quot;Focal Fossa&quot; 桌面版 Desktop amd64 (<b>Linux</b>)")
        self.assertEqual(got.raw_names[3], "Ubuntu 22.04.4 LTS 服务器版 Server amd64 (<b>Linux</b>) &lt;live-server&gt;")
        self.assertEqual(got.raw_names[9], "Debian GNU/<b>Linux</b> 11.9 DVD-1 amd64 (main &amp; contrib)")
        self.assertEqual(self.search("PRIDE prejudice").raw_names,
                         ["<b>Pride</b> &amp; <b>Prejudice</b> - Jane Austen (Project Gutenberg, public domain)"])
        self.assertEqual(self.search("alice").raw_names[0],
                         "<b>Alice</b>&#x27;s Adventures in Wonderland - Lewis Carroll (public domain)")
        self.assertEqual(self.search("demo").raw_names[0], "钢铁侠3 演示数据 第01号 [示例文件 非真实影片]",
                         "a word found only in the tags marks nothing")
        for raw, link in zip(got.raw_links, got.links):
            self.assertEqual(raw.count("&amp;"), 3, raw)
            self.assertNotIn("&amp;", link)
            params = urllib.parse.parse_qs(link[len("magnet:?"):])
            self.assertEqual(sorted(params), ["dn", "tr", "xt"])
            self.assertEqual(len(params["tr"]), 2)
        self.assertEqual(urllib.parse.parse_qs(got.links[0])["dn"],
                         ['Ubuntu 20.04.6 LTS "Focal Fossa" 桌面版 Desktop amd64 (Linux)'])

    def test_bad_requests(self):
        for path, status in [("/search?q=x&p=abc", 400), ("/search?q=x&p=-1", 400), ("/other", 404),
                             ("/search?info_hash=", 404)]:
            with self.subTest(path=path):
                self.assertEqual(self.fetch(path).status, status)

    def test_cloud_page_reads_the_link_as_the_value_of_u(self):
        link = "magnet:?xt=urn:btih:ABC&dn=%E9%92%A2&tr=udp%3A%2F%2Ft.invalid"
        cases = [
            ("/?u=" + urllib.parse.quote(link, safe=""), link),
            ("/?u=" + link, "magnet:?xt=urn:btih:ABC"),  # unencoded, it arrives cut
        ]
        for path, received in cases:
            with self.subTest(path=path):
                got = self.fetch(path, "cloud_port")
                self.assertEqual(got.status, 200)
                self.assertEqual(between(got.text, '<pre class="link">', "</pre>"), html.escape(received))
                with open(self.log, encoding="utf-8") as f:
                    last = [json.loads(line) for line in f if '"cloud"' in line][-1]
                self.assertEqual((last["path"], last["link"]), (path, received))
        self.assertEqual(self.fetch("/?x=1", "cloud_port").status, 404)

    def test_log_holds_the_exact_request(self):
        self.fetch("/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=1")
        with open(self.log, encoding="utf-8") as f:
            last = [json.loads(line) for line in f][-1]
        self.assertEqual((last["server"], last["path"], last["status"]),
                         ("search", "/search?q=%E9%92%A2%E9%93%81%E4%BE%A03&p=1", 200))
        self.assertEqual(last["query"], {"q": ["钢铁侠3"], "p": ["1"]})


class BoundedRunTest(unittest.TestCase):
    """The site as a process stops by itself."""

    def start(self, *args):
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "demo_site.py")
        proc = subprocess.Popen([sys.executable, script, "--port", "0", "--cloud-port", "0"] + list(args),
                                stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: proc.poll() is None and proc.kill())
        return proc, json.loads(proc.stdout.readline())

    def test_stops_after_the_request_count(self):
        proc, ports = self.start("--max-requests", "1", "--idle-timeout", "30")
        urllib.request.urlopen("http://127.0.0.1:%d/search?info_hash=&q=a" % ports["port"], timeout=10).read()
        self.assertEqual(proc.wait(timeout=10), 0)

    def test_stops_when_idle(self):
        proc, _ = self.start("--idle-timeout", "0.5")
        self.assertEqual(proc.wait(timeout=10), 0)

    def test_stops_on_a_signal(self):
        proc, _ = self.start("--idle-timeout", "30")
        proc.send_signal(signal.SIGTERM)
        self.assertEqual(proc.wait(timeout=10), 0)

    def test_writes_its_ports(self):
        with tempfile.TemporaryDirectory() as tmp:
            port_file = os.path.join(tmp, "ports.json")
            proc, ports = self.start("--idle-timeout", "0.5", "--port-file", port_file)
            self.assertEqual(proc.wait(timeout=10), 0)
            with open(port_file, encoding="utf-8") as f:
                self.assertEqual(json.load(f), ports)
            self.assertGreater(ports["port"], 0)
            self.assertNotEqual(ports["port"], ports["cloud_port"])


if __name__ == "__main__":
    unittest.main()
