"""Builds a TrueType font whose family names are "SimSun" and "宋体" from
WenQuanYi Zen Hei, so that GDI+ finds the program's face by name under Wine.

usage: make-simsun-font.py OUTPUT.ttf
"""
import sys
from fontTools.ttLib import TTCollection

SOURCE = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
ENGLISH_US, CHINESE_PRC = 0x409, 0x804


def main(output):
    font = TTCollection(SOURCE).fonts[0]
    names = font["name"]
    names.names = [n for n in names.names if n.nameID not in (1, 3, 4, 6, 16, 17)]
    for lang, family in ((ENGLISH_US, "SimSun"), (CHINESE_PRC, "宋体")):
        for name_id, value in ((1, family), (2, "Regular"), (3, family), (4, family), (16, family), (17, "Regular")):
            names.setName(value, name_id, 3, 1, lang)
    names.setName("SimSun", 6, 3, 1, ENGLISH_US)
    font.save(output)


if __name__ == "__main__":
    main(sys.argv[1])
