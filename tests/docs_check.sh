#!/bin/sh
# Every relative link and picture of every Markdown file in the tree leads
# to a file that is there.
set -eu
cd "$(dirname "$0")/.."
git ls-files --cached --others --exclude-standard '*.md' | python3 -c '
import os, re, sys
broken = []
for doc in sys.stdin.read().split():
    text = open(doc, encoding="utf-8").read()
    for target in re.findall(r"\]\(\s*([^)\s]+)", text):
        if re.match(r"[a-z]+:", target) or target.startswith("#"):
            continue
        path = os.path.normpath(os.path.join(os.path.dirname(doc), target.split("#")[0]))
        if not os.path.exists(path):
            broken.append("%s: %s" % (doc, target))
for line in broken:
    print("FAIL: broken link in " + line)
sys.exit(1 if broken else 0)'
echo "ok: every relative link of every document leads to a file"
