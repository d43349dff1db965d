"""The benchmark's own search site on loopback: /search?...q=N answers a result
page of N results (N from 1 to 5000) in the demo site's layout, built once
and kept, so the site's own cost stays out of the figures. Every answer
leaves in one write with TCP_NODELAY (the demo site's handler): a header
block sent apart from the body meets delayed ACK and adds ~40 ms.

usage: python3 bench/bench_site.py --port-file FILE [--idle-timeout 600]
"""
import argparse
import functools
import json
import os
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools", "demo_site"))
import demo_site  # noqa: E402

MAX_RESULTS = 5000


class BenchCatalog:
    """Pages of any size, cycling through the demo catalog's entries."""

    def __init__(self):
        self.entries = demo_site.Catalog(demo_site.DEFAULT_CATALOG).entries

    @functools.lru_cache(maxsize=16)
    def page(self, count):
        shown = [self.entries[i % len(self.entries)] for i in range(count)]
        lines = ["<!DOCTYPE html>", '<html><head><meta charset="utf-8"><title>bench</title></head><body>',
                 '<div class="results">']
        for entry in shown:
            lines += demo_site.result_lines(entry, "bench")
        lines += ["</div>", '<table class="pager"><tr><td>上一个</td><td>1/50 页</td><td>下一个</td></tr></table>',
                  "</body></html>", ""]
        return "\r\n".join(lines)


class Handler(demo_site.Handler):
    def route(self, path, raw_query, query):
        count = query.get("q", [""])[0]
        if path != "/search" or not count.isdigit() or not 1 <= int(count) <= MAX_RESULTS:
            return 404, "<html><body>not found</body></html>"
        return 200, self.server.catalog.page(int(count))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--idle-timeout", type=float, default=600)
    args = parser.parse_args(argv)

    recorder = demo_site.Recorder(None)
    server = demo_site.ThreadingHTTPServer((demo_site.HOST, 0), Handler)
    server.daemon_threads = True
    server.role = "search"
    server.catalog = BenchCatalog()
    server.recorder = recorder
    threading.Thread(target=server.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True).start()
    with open(args.port_file, "w", encoding="utf-8") as f:
        json.dump({"port": server.server_address[1]}, f)
    while time.monotonic() - recorder.last < args.idle_timeout:
        time.sleep(0.5)
    server.shutdown()
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
