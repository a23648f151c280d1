#!/usr/bin/env bash
# Puts the web edition together as static files: the page, the module
# (keldo.js, keldo.wasm), uPlot from web/node_modules and the manual's pages.
# Usage: web/montar-site.sh BUILD_WASM_DIR SITE_DIR
set -euo pipefail
origem="$(cd "$(dirname "$0")" && pwd)"
raiz="$(dirname "$origem")"
construcao="$1"
site="$2"
rm -rf "$site"
mkdir -p "$site/vendor" "$site/ajuda"
cp -r "$origem/pagina/." "$site/"
cp "$construcao/bin/keldo.js" "$construcao/bin/keldo.wasm" "$site/"
cp "$origem/node_modules/uplot/dist/uPlot.iife.min.js" "$origem/node_modules/uplot/dist/uPlot.min.css" \
   "$origem/node_modules/uplot/LICENSE" "$site/vendor/"
cp "$raiz"/help/manual/*.html "$raiz"/help/manual/*.css "$site/ajuda/"
# Anything the manual's pages refer to besides themselves (pictures).
for f in "$raiz"/help/manual/*; do
  case "$f" in *.html|*.css) ;; *) cp -r "$f" "$site/ajuda/" ;; esac
done
echo "site: $site"
