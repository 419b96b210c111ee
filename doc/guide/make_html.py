#!/usr/bin/env python3
# Usage: make_html.py guide.txt ../KVL_PWS.html  (the guide the tool shows itself
# when no application opens KVL_PWS.doc)
"""Turns guide.txt into one HTML page in UTF-8, in the subset of HTML that Qt's
rich text browser shows: a table of contents at the top whose entries link to
the chapters, every heading an anchor."""
import html
import re
import sys

from guide_markup import chapters, french_spacing, parse, split_inline

BLUE = '#1f3864'
HEADER_CELL = '#dce6f1'
TINT = '#f2f5f9'


def esc(text):
    return html.escape(text, quote=False)


def inline(text):
    out = []
    for kind, part in split_inline(text):
        if kind == 'bold':
            out.append('<b>' + esc(french_spacing(part)) + '</b>')
        elif kind == 'code':
            out.append('<code>' + esc(part) + '</code>')
        elif kind == 'message':
            out.append('«\u00a0<i>' + esc(part) + '</i>\u00a0»')
        else:
            out.append(esc(french_spacing(part)))
    return ''.join(out)


def anchor(heading_text):
    """"5.4 Onglet …" → "section-5-4"; "3. Ouvrir …" → "chapitre-3"."""
    number = re.match(r'^(\d+(?:\.\d+)*)\.?\s', heading_text)
    if not number:
        return 'titre-' + re.sub(r'\W+', '-', heading_text.lower()).strip('-')
    parts = number.group(1).split('.')
    return ('chapitre-' if len(parts) == 1 else 'section-') + '-'.join(parts)


def table(widths, rows):
    total = sum(widths)
    out = ['<table border="1" cellspacing="0" cellpadding="4" width="100%" style="border-color:#8ea3c1;">']
    for r, cells in enumerate(rows):
        out.append('<tr>')
        for w, c in zip(widths, cells):
            width = ' width="%d%%"' % round(100 * w / total)
            if r == 0:
                out.append('<th align="left" bgcolor="%s"%s><font color="%s">%s</font></th>'
                           % (HEADER_CELL, width, BLUE, inline(c)))
            else:
                out.append('<td valign="top"%s>%s</td>' % (width, inline(c)))
        out.append('</tr>')
    out.append('</table>')
    return '\n'.join(out)


def toc_html(blocks):
    items = ''.join('<li><a href="#%s">%s</a></li>\n' % (anchor(t), inline(t)) for t in chapters(blocks))
    return '<h2 id="sommaire"><a name="sommaire"></a><font color="%s">Sommaire</font></h2>\n<ul>\n%s</ul>' % (
        BLUE, items)


def build(source):
    blocks = parse(source)
    body = []
    items = []  # the list being filled: ('ul' | 'ol', [[item, [sub-items…]]…])

    def close_list():
        if items:
            tag, entries = items.pop()
            lis = []
            for text, subs in entries:
                sub = ('\n<ul type="circle">\n%s\n</ul>' % '\n'.join('<li>%s</li>' % s for s in subs)) if subs else ''
                lis.append('<li>%s%s</li>' % (text, sub))
            body.append('<%s>\n%s\n</%s>' % (tag, '\n'.join(lis), tag))

    seen_chapter = False
    for block in blocks:
        kind = block[0]
        if kind == 'bullet' and block[1] == 1 and items and items[-1][1]:
            items[-1][1][-1][1].append(inline(block[2]))
            continue
        if kind == 'bullet' or kind == 'numbered':
            tag = 'ul' if kind == 'bullet' else 'ol'
            if items and items[-1][0] != tag:
                close_list()
            if not items:
                items.append((tag, []))
            items[-1][1].append([inline(block[-1]), []])
            continue
        close_list()
        if kind == 'title':
            # Not a heading: the chapters are the document's only first-level headings.
            body.append('<p align="center" style="font-size:24pt; font-weight:bold; color:%s;">%s</p>'
                        % (BLUE, inline(block[1])))
        elif kind == 'subtitle':
            body.append('<p align="center"><big>%s</big></p>' % inline(block[1]))
        elif kind == 'small':
            body.append('<p align="center"><i>%s</i></p>' % inline(block[1]))
        elif kind == 'toc':
            body.append(toc_html(blocks))
        elif kind == 'heading':
            level, text = block[1], block[2]
            name = anchor(text)
            if level == 1:
                if seen_chapter:
                    body.append('<p align="right"><small><a href="#sommaire">↑ Sommaire</a></small></p>')
                body.append('<hr/>')
                seen_chapter = True
            colour = BLUE if level < 3 else '#000000'
            body.append('<h%d id="%s"><a name="%s"></a><font color="%s">%s</font></h%d>'
                        % (level, name, name, colour, inline(text), level))
        elif kind == 'note':
            body.append('<table border="1" cellspacing="0" cellpadding="8" width="100%%" bgcolor="%s" '
                        'style="border-color:%s;"><tr><td>%s</td></tr></table>' % (TINT, BLUE, inline(block[1])))
        elif kind == 'code':
            body.append('<pre style="background-color:%s;">%s</pre>' % (TINT, esc('\n'.join(block[1]))))
        elif kind == 'table':
            body.append(table(block[1], block[2]))
        else:
            body.append('<p>%s</p>' % inline(block[1]))
    close_list()

    return ('<!DOCTYPE html>\n<html lang="fr">\n<head>\n<meta charset="utf-8"/>\n'
            "<title>KVL_PWS \u2013 Guide d'utilisation</title>\n</head>\n<body>\n"
            + '\n'.join(body) + '\n</body>\n</html>\n')


if __name__ == '__main__':
    src = open(sys.argv[1], encoding='utf-8').read()
    open(sys.argv[2], 'w', encoding='utf-8', newline='\n').write(build(src))
