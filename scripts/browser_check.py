#!/usr/bin/env python3
"""Checks in a real browser engine that marking a page changes nothing a
reader sees.

For each page, headless Chromium (no network) loads it and reports its
body's markup as the browser serialises it (what the panel reads). Chromium
then loads the page twice more and puts markup in as the body, as the panel
does: once that markup unchanged, which shows what the round trip through
the browser alone does, and once the markup marked by `vordo mark`; each
time it reports the visible text, and for the marked body every word that
does not stand in a leaf SPAN. The two visible texts must be equal, apart from characters that Windows-1250 lacks (they
become '?') and curly quotes (the tokenizer makes them straight), and every
word must stand in a leaf SPAN.

Usage: scripts/browser_check.py [--vordo build/vordo] [PAGE.html ...]
(default: one page of each distinct HTML document under /usr/share/doc)
"""
import argparse
import glob
import html
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

# Runs after the page's own scripts; MARKED_BODY is null for the first load.
PROBE = """
<script>
(function () {
  document.currentScript.remove();
  var marked = MARKED_BODY;
  if (marked !== null) document.body.innerHTML = marked;
  var loose = [];
  var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (var node = walker.nextNode(); node; node = walker.nextNode()) {
    var parent = node.parentNode;
    if (parent.closest('script,style,noscript,textarea')) continue;
    var leafSpan = parent.tagName === 'SPAN' && parent.children.length === 0;
    if (marked !== null && !leafSpan && /[A-Za-z]/.test(node.data)) loose.push(node.data.slice(0, 40));
  }
  var report = {text: document.body.innerText, body: document.body.innerHTML, loose: loose};
  var out = document.createElement('textarea');
  out.id = 'vordo-probe';
  out.textContent = JSON.stringify(report);
  document.documentElement.appendChild(out);
})();
</script>
"""

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--dump-dom"]


def render(source, marked_body, work, profile):
    path = os.path.join(work, "page.html")
    probe = PROBE.replace("MARKED_BODY", json.dumps(marked_body).replace("</", "<\\/"))
    with open(path, "w", encoding="utf-8") as out:
        out.write(source + probe)
    dom = subprocess.run(["chromium", "--user-data-dir=" + profile] + CHROMIUM_FLAGS +
                         ["file://" + path], capture_output=True, text=True, timeout=120).stdout
    found = re.search(r'<textarea id="vordo-probe">(.*?)</textarea>', dom, re.S)
    if not found:
        raise RuntimeError("the probe did not run")
    return json.loads(html.unescape(found.group(1)))


def as_the_marker_reads(text):
    """The text as it reaches the marker: converted to Windows-1250 (what
    has no form becomes '?'), with curly quotes made straight."""
    text = text.encode("cp1250", errors="replace").decode("cp1250")
    return text.translate({0x2018: "'", 0x2019: "'", 0x201C: '"', 0x201D: '"'})


def first_difference(a, b):
    at = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
    return "at %d: %r / %r" % (at, a[max(0, at - 30):at + 30], b[max(0, at - 30):at + 30])


def check(page, vordo, work, profile):
    with open(page, encoding="utf-8", errors="replace") as source_file:
        source = source_file.read()
    body = render(source, None, work, profile)["body"]
    unmarked = render(source, body, work, profile)
    marked_body = subprocess.run([vordo, "mark"], input=body.encode("utf-8"),
                                 capture_output=True, check=True).stdout.decode("utf-8")
    marked = render(source, marked_body, work, profile)
    expected = as_the_marker_reads(unmarked["text"])
    same_text = expected == marked["text"]
    loose = marked["loose"]
    print("%s: %d words marked; visible text %s; %s" % (
        page, marked_body.count("<SPAN>"), "unchanged" if same_text else "CHANGED",
        "every word in a leaf SPAN" if not loose else "words outside leaf SPANs: %r" % loose[:5]))
    if not same_text:
        print("  " + first_difference(expected, marked["text"]))
    return same_text and not loose


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vordo", default="build/vordo")
    parser.add_argument("pages", nargs="*")
    args = parser.parse_args()
    if not shutil.which("chromium"):
        print("chromium is not installed (apt-get install chromium)")
        return 2
    pages = args.pages
    if not pages:
        contents = {}
        for page in sorted(p for p in glob.glob("/usr/share/doc/*/*.html") if os.path.isfile(p)):
            with open(page, "rb") as source:
                contents.setdefault(source.read(), page)
        pages = sorted(contents.values())
    results = []
    with tempfile.TemporaryDirectory() as work, tempfile.TemporaryDirectory() as profile:
        for page in pages:
            try:
                results.append(check(page, args.vordo, work, profile))
            except (RuntimeError, subprocess.SubprocessError) as error:
                print("%s: %s" % (page, error))
                results.append(False)
    print("%d passed, %d failed" % (results.count(True), results.count(False)))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
