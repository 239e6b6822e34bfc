#!/bin/bash
# Regenerates the editor's artwork from code: the 57 bitmaps in resources/bmp/, the resource
# script resources/Quorvanelle.rc and editor/EditorLayout.h (all committed), then writes the
# contact sheet and the composed previews (PNG, for review only) into build/artwork/.
#   scripts/artwork.sh           regenerate and write the review pictures
#   scripts/artwork.sh --check   only verify that the committed files match the generator
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# Debian's Pillow and Liberation fonts; the system Python, which is where python3-pil installs.
python=/usr/bin/python3
need=()
[ -x "$python" ] || need+=(python3)
"$python" -c 'import PIL' 2>/dev/null || need+=(python3-pil)
[ -f /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf ] || need+=(fonts-liberation2)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "artwork: missing packages (${need[*]}); run this as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${need[@]}"
fi

if [ "${1:-}" = "--check" ]; then
  exec "$python" -B -m resources.artwork.generate --root "$root" --check
fi
exec "$python" -B -m resources.artwork.generate --root "$root" --review "$root/build/artwork"
