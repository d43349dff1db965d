#pragma once
// Resource ids of the embedded images (RCDATA), shared by the resource
// script and the lookup. The program's own script uses 129 for its icon.

#define IDR_HELP_GLYPH 301
#define IDR_MENU_GLYPH 302
#define IDR_MINIMIZE_GLYPH 303
#define IDR_MAXIMIZE_GLYPH 304
#define IDR_RESTORE_GLYPH 305
#define IDR_CLOSE_GLYPH 306
#define IDR_CHECK_GLYPH 307
#define IDR_ARROW_UP_GLYPH 308
#define IDR_ARROW_DOWN_GLYPH 309
#define IDR_ARROW_LEFT_GLYPH 310
#define IDR_ARROW_RIGHT_GLYPH 311
#define IDR_BACKGROUND_PICTURE 312
