"""Draws every bitmap of the editor, writes them as 8-bit BMPs, the resource script and
editor/EditorLayout.h. Run as: python3 -m resources.artwork.generate [--check] from the root."""

import argparse
import os
import sys

from . import bmpfile, controls, layout, pages  # noqa: F401  (pages registers its drawers)

GENERATOR = "resources/artwork (scripts/artwork.sh)"


def render_all(L):
    """id -> (RGB image, palette indices) for every bitmap of the layout."""
    missing = [s.id for s in L.bitmaps.values() if s.id not in controls.DRAWERS]
    extra = [i for i in controls.DRAWERS if all(s.id != i for s in L.bitmaps.values())]
    if missing or extra:
        raise SystemExit(f"no drawing for {missing}; drawings without a bitmap entry {extra}")
    out = {}
    for entry in sorted(L.bitmaps.values(), key=lambda s: s.id):
        result = controls.DRAWERS[entry.id](L)
        image, mask = result if isinstance(result, tuple) else (result, None)
        if image.size != (entry.width, entry.height):
            raise SystemExit(f"{entry.id} {entry.name}: drawn {image.size}, "
                             f"expected {entry.width} x {entry.height}")
        out[entry.id] = (image, bmpfile.to_indices(image, mask))
    return out


def check_layout(L):
    """Every placed element lies inside the view that draws it."""
    containers = [L.rects["SettingsPanel"], L.rects["OutputStage"], L.rects["Window"]]
    problems = []
    for name, r in L.rects.items():
        if not any(c.left <= r.left and r.right <= c.right and c.top <= r.top and
                   r.bottom <= c.bottom for c in containers):
            problems.append(name)
    if problems:
        raise SystemExit(f"elements outside the window: {problems}")


def outputs(root, L, rendered):
    """path -> bytes of every generated file."""
    files = {}
    for bid, (image, indices) in rendered.items():
        files[os.path.join(root, "resources", "bmp", f"{bid}.bmp")] = bmpfile.bmp_bytes(
            image.width, image.height, indices)
    files[os.path.join(root, "resources", "Quorvanelle.rc")] = layout.rc_text(
        L, GENERATOR).encode()
    files[os.path.join(root, "editor", "EditorLayout.h")] = layout.header_text(
        L, "resources/layout.txt", GENERATOR).encode()
    return files


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--root", default=os.getcwd(), help="repository root")
    parser.add_argument("--check", action="store_true",
                        help="only compare with the committed files; exit 1 if any differs")
    parser.add_argument("--review", metavar="DIR",
                        help="also write the contact sheet and the preview PNGs into DIR")
    args = parser.parse_args(argv)
    L = layout.parse(os.path.join(args.root, "resources", "layout.txt"))
    check_layout(L)
    rendered = render_all(L)
    files = outputs(args.root, L, rendered)
    stale = []
    for path, data in sorted(files.items()):
        old = open(path, "rb").read() if os.path.exists(path) else None
        if old != data:
            stale.append(os.path.relpath(path, args.root))
            if not args.check:
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "wb") as f:
                    f.write(data)
    if args.check:
        if stale:
            print("out of date: " + ", ".join(stale))
            return 1
        print(f"all {len(files)} generated files are up to date")
    else:
        print(f"{len(files)} files generated, {len(stale)} changed")
    if args.review:
        from . import review

        os.makedirs(args.review, exist_ok=True)
        for path in review.write_all(L, rendered, args.review):
            print("wrote " + path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
