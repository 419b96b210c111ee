#!/usr/bin/env python3
"""Fails when ../KVL_PWS.doc or ../KVL_PWS.html is not what guide.txt gives:
both forms of the guide are committed, and one edit must regenerate both."""
import os
import sys

sys.dont_write_bytecode = True  # nothing left in the source tree
import make_html  # noqa: E402
import make_rtf  # noqa: E402

here = os.path.dirname(os.path.abspath(__file__))
source = open(os.path.join(here, 'guide.txt'), encoding='utf-8').read()
expected = {
    'KVL_PWS.doc': (make_rtf.build(source).replace('\n', '\r\n').encode('ascii'), 'make_rtf.py'),
    'KVL_PWS.html': (make_html.build(source).encode('utf-8'), 'make_html.py'),
}
stale = []
for name, (content, script) in expected.items():
    with open(os.path.join(here, '..', name), 'rb') as f:
        if f.read() != content:
            stale.append('doc/%s : python3 doc/guide/%s doc/guide/guide.txt doc/%s' % (name, script, name))
for line in stale:
    print('Guide à régénérer :', line)
sys.exit(1 if stale else 0)
