#!/usr/bin/env python3
# Usage: make_rtf.py guide.txt ../KVL_PWS.doc  (the help document the "?" menu opens)
"""Turns guide.txt (a small line markup) into an RTF 1 document in cp1252."""
import sys

from guide_markup import chapters, french_spacing, parse, split_inline

TEXT_WIDTH = 9070  # A4, 2.5 cm margins, in twips


def esc_char(ch):
    if ch == '\\':
        return '\\\\'
    if ch == '{':
        return '\\{'
    if ch == '}':
        return '\\}'
    if ch == '\u00a0':
        return '\\~'
    o = ord(ch)
    if o < 0x80:
        return ch
    try:
        b = ch.encode('cp1252')
        return "\\'%02x" % b[0]
    except UnicodeEncodeError:
        fallback = {'\u2192': '>', '\u2264': '<', '\u2265': '>'}.get(ch, '?')
        if o > 32767:
            o -= 65536
        return '\\u%d%s' % (o, fallback)


def esc(text):
    return ''.join(esc_char(c) for c in text)


def inline(text):
    out = []
    for kind, part in split_inline(text):
        if kind == 'bold':
            out.append('{\\b ' + esc(french_spacing(part)) + '}')
        elif kind == 'code':
            out.append('{\\f1\\fs18 ' + esc(part) + '}')
        elif kind == 'message':
            out.append('\\\'ab\\~{\\i ' + esc(part) + '}\\~\\\'bb')
        else:
            out.append(esc(french_spacing(part)))
    return ''.join(out)


BODY = '\\pard\\plain\\s0\\ql\\sb0\\sa120\\f0\\fs20 '


def para(text, extra=''):
    return BODY + extra + inline(text) + '\\par\n'


def heading(level, text, page_break=False):
    styles = {
        1: '\\pard\\plain\\s1\\keepn\\sb360\\sa160\\outlinelevel0\\brdrb\\brdrs\\brdrw15\\brsp40\\brdrcf2'
           '\\f0\\fs32\\b\\cf2 ',
        2: '\\pard\\plain\\s2\\keepn\\sb240\\sa100\\outlinelevel1\\f0\\fs26\\b\\cf2 ',
        3: '\\pard\\plain\\s3\\keepn\\sb180\\sa80\\outlinelevel2\\f0\\fs22\\b\\i ',
    }
    brk = '\\pagebb ' if page_break else ''
    return styles[level] + brk + inline(text) + '\\par\n'


def bullet(text, level=0):
    li = 425 + level * 425
    return (BODY.replace('\\sa120', '\\sa60') + '\\fi-284\\li%d\\tx%d ' % (li, li)
            + ('\\bullet' if level == 0 else '\\endash') + '\\tab ' + inline(text) + '\\par\n')


def numbered(num, text):
    return BODY.replace('\\sa120', '\\sa60') + '\\fi-340\\li425\\tx425 ' + esc(num) + '\\tab ' + inline(text) + '\\par\n'


def note(text):
    return ('\\pard\\plain\\s0\\ql\\sb60\\sa160\\li284\\ri284\\box\\brdrs\\brdrw10\\brsp80\\brdrcf2\\cbpat4'
            '\\f0\\fs20 ' + inline(text) + '\\par\n')


def code(lines):
    out = []
    for i, line in enumerate(lines):
        sa = '\\sa120' if i == len(lines) - 1 else '\\sa0'
        out.append('\\pard\\plain\\s0\\ql\\sb0%s\\li425\\cbpat4\\f1\\fs18 %s\\par\n' % (sa, esc(line)))
    return ''.join(out)


def table(rows, widths):
    total = sum(widths)
    twips = [round(w * TEXT_WIDTH / total) for w in widths]
    out = []
    for r, cells in enumerate(rows):
        header = r == 0
        row = ['\\trowd\\trgaph85\\trleft0\\trpaddl85\\trpaddr85\\trpaddfl3\\trpaddfr3']
        if header:
            row.append('\\trhdr')
        row.append('\\trkeep')
        x = 0
        for w in twips:
            x += w
            row.append('\\clvertalt\\clbrdrt\\brdrs\\brdrw6\\clbrdrl\\brdrs\\brdrw6'
                       '\\clbrdrb\\brdrs\\brdrw6\\clbrdrr\\brdrs\\brdrw6')
            if header:
                row.append('\\clcbpat3')
            row.append('\\cellx%d' % x)
        out.append(''.join(row) + '\n')
        for c in cells:
            style = '\\pard\\plain\\intbl\\ql\\sb40\\sa40\\f0\\fs18 '
            if header:
                style += '\\b\\cf2 '
            out.append(style + inline(c) + '\\cell\n')
        out.append('\\row\n')
    out.append('\\pard\\plain\\s0\\sa120\\f0\\fs8\\par\n')
    return ''.join(out)


def block_rtf(block, toc):
    kind = block[0]
    if kind == 'title':
        return '\\pard\\plain\\qc\\sb1200\\sa240\\f0\\fs56\\b\\cf2 ' + inline(block[1]) + '\\par\n'
    if kind == 'subtitle':
        return '\\pard\\plain\\qc\\sb0\\sa120\\f0\\fs28 ' + inline(block[1]) + '\\par\n'
    if kind == 'small':
        return '\\pard\\plain\\qc\\sb0\\sa600\\f0\\fs20\\i ' + inline(block[1]) + '\\par\n'
    if kind == 'toc':
        return heading(2, 'Sommaire') + ''.join(
            BODY.replace('\\sa120', '\\sa40') + '\\li284 ' + inline(t) + '\\par\n' for t in toc)
    if kind == 'heading':
        return heading(block[1], block[2], block[3])
    if kind == 'bullet':
        return bullet(block[2], block[1])
    if kind == 'numbered':
        return numbered(block[1], block[2])
    if kind == 'note':
        return note(block[1])
    if kind == 'code':
        return code(block[1])
    if kind == 'table':
        return table(block[2], block[1])
    return para(block[1])


def build(source):
    blocks = parse(source)
    toc = chapters(blocks)
    text = ''.join(block_rtf(b, toc) for b in blocks)

    header = (
        '{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036\\deflangfe1036\n'
        '{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern\\fcharset0 Courier New;}}\n'
        '{\\colortbl;\\red0\\green0\\blue0;\\red31\\green56\\blue100;\\red220\\green230\\blue241;'
        '\\red242\\green245\\blue249;}\n'
        '{\\stylesheet{\\s0\\ql\\sa120\\f0\\fs20 Normal;}'
        '{\\s1\\keepn\\sb360\\sa160\\outlinelevel0\\f0\\fs32\\b\\cf2\\sbasedon0\\snext0 heading 1;}'
        '{\\s2\\keepn\\sb240\\sa100\\outlinelevel1\\f0\\fs26\\b\\cf2\\sbasedon0\\snext0 heading 2;}'
        '{\\s3\\keepn\\sb180\\sa80\\outlinelevel2\\f0\\fs22\\b\\i\\sbasedon0\\snext0 heading 3;}}\n'
        '{\\info{\\title ' + esc("KVL_PWS \u2013 Guide d'utilisation") + '}'
        '{\\subject ' + esc('Configuration des afficheurs de vitesse du vent') + '}}\n'
        '\\paperw11906\\paperh16838\\margl1418\\margr1418\\margt1304\\margb1304\\gutter0\n'
        '\\sectd\\pgnstarts1\\headery709\\footery567\\titlepg\n'
        '{\\footer\\pard\\plain\\qc\\f0\\fs17\\cf2 ' + esc("KVL_PWS \u2013 Guide d'utilisation \u2013 page ")
        + '{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}\n'
    )
    return header + text + '}\n'


if __name__ == '__main__':
    src = open(sys.argv[1], encoding='utf-8').read()
    rtf = build(src)
    rtf.encode('ascii')  # every non-ASCII character is escaped
    open(sys.argv[2], 'w', encoding='ascii', newline='\r\n').write(rtf)
