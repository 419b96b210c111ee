#!/usr/bin/env python3
# Usage: make_rtf.py guide.txt ../KVL_PWS.doc  (the help document the "?" menu opens)
"""Turns guide.txt (a small line markup) into an RTF 1 document in cp1252."""
import re
import sys

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


def french_spacing(text):
    # A non-breaking space before the high punctuation and inside guillemets.
    text = re.sub(r' ([:;!?»])', '\u00a0\\1', text)
    text = re.sub(r'« ', '«\u00a0', text)
    return text


INLINE = re.compile(r'(\*\*.+?\*\*|`.+?`|\[\[.+?\]\])')


def inline(text):
    out = []
    for part in INLINE.split(text):
        if not part:
            continue
        if part.startswith('**'):
            out.append('{\\b ' + esc(french_spacing(part[2:-2])) + '}')
        elif part.startswith('`'):
            out.append('{\\f1\\fs18 ' + esc(part[1:-1]) + '}')
        elif part.startswith('[['):
            # A message of the tool, as it stands on the screen.
            out.append('\\\'ab\\~{\\i ' + esc(part[2:-2]) + '}\\~\\\'bb')
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


def build(source):
    lines = source.split('\n')
    body = []
    toc = []
    paragraph = []
    pending_break = False
    i = 0

    def flush():
        if paragraph:
            body.append(para(' '.join(paragraph)))
            paragraph.clear()

    while i < len(lines):
        line = lines[i]
        s = line.rstrip()
        if not s.strip():
            flush()
            i += 1
            continue
        if s.startswith('%%'):
            i += 1
            continue
        if s.startswith('@title '):
            flush()
            body.append('\\pard\\plain\\qc\\sb1200\\sa240\\f0\\fs56\\b\\cf2 ' + inline(s[7:]) + '\\par\n')
        elif s.startswith('@subtitle '):
            flush()
            body.append('\\pard\\plain\\qc\\sb0\\sa120\\f0\\fs28 ' + inline(s[10:]) + '\\par\n')
        elif s.startswith('@small '):
            flush()
            body.append('\\pard\\plain\\qc\\sb0\\sa600\\f0\\fs20\\i ' + inline(s[7:]) + '\\par\n')
        elif s == '@toc':
            flush()
            body.append('@@TOC@@')
        elif s == '@page':
            flush()
            pending_break = True
            i += 1
            continue
        elif s.startswith('### '):
            flush()
            body.append(heading(3, s[4:], pending_break))
            pending_break = False
        elif s.startswith('## '):
            flush()
            body.append(heading(2, s[3:], pending_break))
            pending_break = False
        elif s.startswith('# '):
            flush()
            toc.append(s[2:])
            body.append(heading(1, s[2:], pending_break))
            pending_break = False
        elif s.startswith('  - '):
            flush()
            body.append(bullet(s[4:], 1))
        elif s.startswith('- '):
            flush()
            body.append(bullet(s[2:]))
        elif re.match(r'^\d+\. ', s):
            flush()
            num, rest = s.split(' ', 1)
            body.append(numbered(num, rest))
        elif s.startswith('> '):
            flush()
            body.append(note(s[2:]))
        elif s == '```':
            flush()
            block = []
            i += 1
            while lines[i].rstrip() != '```':
                block.append(lines[i].rstrip())
                i += 1
            body.append(code(block))
        elif s.startswith('@table '):
            flush()
            widths = [int(w) for w in s[7:].split()]
            rows = []
            i += 1
            while i < len(lines) and lines[i].startswith('|'):
                cells = [c.strip() for c in lines[i].strip().strip('|').split('|')]
                assert len(cells) == len(widths), lines[i]
                rows.append(cells)
                i += 1
            body.append(table(rows, widths))
            continue
        else:
            paragraph.append(s.strip())
        i += 1
    flush()

    toc_rtf = heading(2, 'Sommaire') + ''.join(
        BODY.replace('\\sa120', '\\sa40') + '\\li284 ' + inline(t) + '\\par\n' for t in toc)
    text = ''.join(body).replace('@@TOC@@', toc_rtf)

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
