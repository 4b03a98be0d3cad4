# Sourced by the sheet scripts: labelled contact sheets made of tiles that are all one size.
# montage lays out pictures of mixed heights badly (a row's labels are drawn under the tallest
# picture of the whole sheet, where the next row covers them, and wide labels run into their
# neighbours), so each picture is first made into a tile of its own: shrunk to fit the box,
# centred on it, with its name under it in a strip as wide as the box. Needs ImageMagick.

SHEET_GROUND='#282828'
SHEET_LABEL_H=18

# sheet_tile IN LABEL BOX OUT: one tile of BOX (WxH) plus the label strip.
sheet_tile() {
  local in=$1 label=$2 box=$3 tile=$4
  convert "$in" -resize "${box}>" -background "$SHEET_GROUND" -gravity center -extent "$box" \
    \( -size "${box%x*}x$SHEET_LABEL_H" -background "$SHEET_GROUND" -fill white -gravity center \
       "label:$label" \) -append -depth 8 "$tile"
}

# sheet_gather DIR PATTERN SHEET BOX COLUMNS: a sheet of the pictures in DIR whose names match
# PATTERN (an extended regex), each labelled with its name, COLUMNS tiles across.
sheet_gather() {
  local dir=$1 pattern=$2 sheet=$3 box=$4 columns=$5
  local pick f name
  pick=$(mktemp -d)
  for f in "$dir"/*.png; do
    name=$(basename "$f" .png)
    if [[ $name =~ $pattern ]]; then sheet_tile "$f" "$name" "$box" "$pick/$name.png"; fi
  done
  if ! ls "$pick"/*.png >/dev/null 2>&1; then
    echo "$sheet: no pictures match '$pattern'" >&2
    rm -rf "$pick"
    return 1
  fi
  montage "$pick"/*.png -tile "${columns}x" -geometry '+3+3' -background "$SHEET_GROUND" -depth 8 "$sheet"
  echo "$sheet: $(ls "$pick" | wc -l) pictures"
  rm -rf "$pick"
}
