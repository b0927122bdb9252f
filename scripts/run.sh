#!/usr/bin/env bash
# Sets everything up and starts the game in its content folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build/content
exec ../virko
