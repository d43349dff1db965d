#pragma once
// The summary box of the main window. For now a plain box that keeps the
// bytes it is given; the HTML renderer replaces it.
#include <windows.h>

constexpr char kHtmlViewClassName[] = "TorrentFinderHtmlView";

bool RegisterHtmlViewClass(HINSTANCE instance);
