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


class Page:
    """A result page read the way the program reads it."""

    def __init__(self, status, headers, body):
        self.status, self.headers, self.body = status, headers, body
        self.text = body.decode("utf-8")
        self.names = [between(m.group(0), ">", "</a>") for m in NAME_PATTERN.finditer(self.text)]
        self.links = [between(m.group(0), '="', '" t') for m in LINK_PATTERN.finditer(self.text)]
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
        return ([e["name"] for e in found],
                ["magnet:?xt=urn:btih:%s&amp;dn=%s" % (e["hash"], urllib.parse.quote(e["name"], safe=""))
                 for e in found])

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

    def test_bad_requests(self):
        for path, status in [("/search?q=x&p=abc", 400), ("/search?q=x&p=-1", 400), ("/other", 404),
                             ("/search?info_hash=", 404)]:
            with self.subTest(path=path):
                self.assertEqual(self.fetch(path).status, status)

    def test_cloud_page_shows_and_records_the_whole_link(self):
        # The program appends the link as it stands in the page, entity included.
        for link in ["magnet:?xt=urn:btih:ABC&amp;dn=%E9%92%A2", "magnet:?xt=urn:btih:ABC&dn=x"]:
            with self.subTest(link=link):
                got = self.fetch("/?u=" + link, "cloud_port")
                self.assertEqual(got.status, 200)
                shown = between(got.text, '<pre class="link">', "</pre>")
                self.assertEqual(shown, html.escape(urllib.parse.unquote(link)))
                with open(self.log, encoding="utf-8") as f:
                    last = [json.loads(line) for line in f if '"cloud"' in line][-1]
                self.assertEqual((last["path"], last["link"]), ("/?u=" + link, urllib.parse.unquote(link)))
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
