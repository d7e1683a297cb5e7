#!/usr/bin/env python3
"""Crops the land polygons of a Natural Earth TopoJSON file (land-10m.json of the npm package world-atlas)
to the Japan region and writes the compact ring file the map control reads.

Output: "TLND" magic, uint32 version 1, four float64 (west, south, east, north) of the grid, uint32 ring
count; per ring uint32 point count and that many (uint16 x, uint16 y) steps of the grid (65535 steps per
side), little-endian. Usage: crop_land.py land-10m.json land-japan.bin
"""
import json
import struct
import sys

WEST, SOUTH, EAST, NORTH = 120.0, 18.0, 156.0, 48.0


def main(src, dst):
    topo = json.load(open(src))
    sx, sy = topo["transform"]["scale"]
    tx, ty = topo["transform"]["translate"]
    arcs = []
    for arc in topo["arcs"]:
        x = y = 0
        pts = []
        for dx, dy in arc:
            x += dx
            y += dy
            pts.append((x * sx + tx, y * sy + ty))
        arcs.append(pts)

    def ring(indexes):
        out = []
        for i in indexes:
            pts = arcs[i] if i >= 0 else list(reversed(arcs[~i]))
            out.extend(pts if not out else pts[1:])
        return out

    rings = []
    for geom in topo["objects"]["land"]["geometries"]:
        polys = geom["arcs"] if geom["type"] == "MultiPolygon" else [geom["arcs"]]
        for poly in polys:
            for r in poly:
                pts = ring(r)
                xs = [p[0] for p in pts]
                ys = [p[1] for p in pts]
                if max(xs) < WEST or min(xs) > EAST or max(ys) < SOUTH or min(ys) > NORTH:
                    continue
                rings.append(pts)

    def q(v, lo, hi):
        return max(0, min(65535, round((v - lo) / (hi - lo) * 65535)))

    data = bytearray(b"TLND" + struct.pack("<I4dI", 1, WEST, SOUTH, EAST, NORTH, len(rings)))
    kept = 0
    for pts in rings:
        steps = []
        for x, y in pts:
            s = (q(x, WEST, EAST), q(y, SOUTH, NORTH))
            if not steps or steps[-1] != s:
                steps.append(s)
        data += struct.pack("<I", len(steps))
        for s in steps:
            data += struct.pack("<HH", *s)
        kept += len(steps)
    open(dst, "wb").write(data)
    print(f"{len(rings)} rings, {kept} points, {len(data)} bytes")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
