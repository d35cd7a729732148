#!/usr/bin/env python3
"""Writes FreeDict's dictd English-Czech files as a StarDict dictionary, so
that sdcv can be timed on the same data as vordo.

Usage: freedict_to_stardict.py OUTDIR  (reads Debian's dict-freedict-eng-ces)
"""
import functools
import gzip
import os
import sys

INDEX = "/usr/share/dictd/freedict-eng-ces.index"
DATA = "/usr/share/dictd/freedict-eng-ces.dict.dz"
DIGITS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"


def dictd_number(text):
    value = 0
    for c in text:
        value = value * 64 + DIGITS.index(c)
    return value


def stardict_order(a, b):
    # StarDict's idx order: ASCII case-insensitive first, then byte order.
    fold = lambda s: s.lower() if all(c < 128 for c in s) else bytes(
        c + 32 if 65 <= c <= 90 else c for c in s)
    x, y = fold(a), fold(b)
    if x != y:
        return -1 if x < y else 1
    return (a > b) - (a < b)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    data = gzip.open(DATA).read()
    articles = {}
    with open(INDEX, "rb") as index:
        for line in index:
            word, offset, length = line.rstrip(b"\n").split(b"\t")[:3]
            if word.startswith(b"00database"):
                continue
            start = dictd_number(offset.decode())
            articles.setdefault(word, []).append(data[start:start + dictd_number(length.decode())])
    words = sorted(articles, key=functools.cmp_to_key(stardict_order))
    body = bytearray()
    idx = bytearray()
    for word in words:
        article = b"\n".join(articles[word])
        idx += word + b"\0" + len(body).to_bytes(4, "big") + len(article).to_bytes(4, "big")
        body += article
    with open(os.path.join(out, "eng-ces.dict"), "wb") as f:
        f.write(body)
    with open(os.path.join(out, "eng-ces.idx"), "wb") as f:
        f.write(idx)
    with open(os.path.join(out, "eng-ces.ifo"), "w") as f:
        f.write("StarDict's dict ifo file\nversion=2.4.2\nwordcount=%d\nidxfilesize=%d\n"
                "bookname=eng-ces\nsametypesequence=m\n" % (len(words), len(idx)))


if __name__ == "__main__":
    main()
