"""Reads guide.txt, the guide's small line markup, into blocks that the RTF and
HTML writers turn into the two forms of the guide.

Blocks are tuples whose first item names the kind:
  ('title' | 'subtitle' | 'small' | 'para' | 'note', text)
  ('toc',)
  ('heading', level, text, page_break)
  ('bullet', level, text)
  ('numbered', number, text)
  ('code', lines)
  ('table', widths, rows)      rows[0] is the header row
Texts keep their inline marks; split_inline() cuts them into parts.
"""
import re

INLINE = re.compile(r'(\*\*.+?\*\*|`.+?`|\[\[.+?\]\])')


def french_spacing(text):
    # A non-breaking space before the high punctuation and inside guillemets.
    text = re.sub(r' ([:;!?»])', '\u00a0\\1', text)
    text = re.sub(r'« ', '«\u00a0', text)
    return text


def split_inline(text):
    """(kind, text) parts: 'bold', 'code', 'message' (a text of the tool, as it
    stands on the screen) or 'text'."""
    parts = []
    for part in INLINE.split(text):
        if not part:
            continue
        if part.startswith('**'):
            parts.append(('bold', part[2:-2]))
        elif part.startswith('`'):
            parts.append(('code', part[1:-1]))
        elif part.startswith('[['):
            parts.append(('message', part[2:-2]))
        else:
            parts.append(('text', part))
    return parts


def parse(source):
    lines = source.split('\n')
    blocks = []
    paragraph = []
    pending_break = False
    i = 0

    def flush():
        if paragraph:
            blocks.append(('para', ' '.join(paragraph)))
            paragraph.clear()

    while i < len(lines):
        s = lines[i].rstrip()
        if not s.strip():
            flush()
            i += 1
            continue
        if s.startswith('%%'):
            i += 1
            continue
        if s.startswith('@title '):
            flush()
            blocks.append(('title', s[7:]))
        elif s.startswith('@subtitle '):
            flush()
            blocks.append(('subtitle', s[10:]))
        elif s.startswith('@small '):
            flush()
            blocks.append(('small', s[7:]))
        elif s == '@toc':
            flush()
            blocks.append(('toc',))
        elif s == '@page':
            flush()
            pending_break = True
            i += 1
            continue
        elif re.match(r'^#{1,3} ', s):
            flush()
            marks, text = s.split(' ', 1)
            blocks.append(('heading', len(marks), text, pending_break))
            pending_break = False
        elif s.startswith('  - '):
            flush()
            blocks.append(('bullet', 1, s[4:]))
        elif s.startswith('- '):
            flush()
            blocks.append(('bullet', 0, s[2:]))
        elif re.match(r'^\d+\. ', s):
            flush()
            num, rest = s.split(' ', 1)
            blocks.append(('numbered', num, rest))
        elif s.startswith('> '):
            flush()
            blocks.append(('note', s[2:]))
        elif s == '```':
            flush()
            block = []
            i += 1
            while lines[i].rstrip() != '```':
                block.append(lines[i].rstrip())
                i += 1
            blocks.append(('code', block))
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
            blocks.append(('table', widths, rows))
            continue
        else:
            paragraph.append(s.strip())
        i += 1
    flush()
    return blocks


def chapters(blocks):
    """The level-1 headings, in order: the table of contents."""
    return [b[2] for b in blocks if b[0] == 'heading' and b[1] == 1]
