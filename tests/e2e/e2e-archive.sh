# The release archive as a user gets it: unpacked into a fresh folder whose
# name holds a space (as "Program Files" does) and checked file by file; sets
# `exe` to the program inside it and `version` to the version the archive is
# named after. Source it after e2e-common.sh, with `archive` set.

version=$(basename "$archive" | sed -n 's/^padquiltkana-\(.*\)-win64\.zip$/\1/p')
[ -n "$version" ] && pass "the archive is named after version $version" ||
  fail "archive name $(basename "$archive"), expected padquiltkana-VERSION-win64.zip"

program_folder="$out/e2e-program/padquilt kana"
rm -rf "$out/e2e-program"
mkdir -p "$program_folder"
if ! (cd "$program_folder" && cmake -E tar xf "$archive"); then
  echo "e2e: cannot unpack $archive" >&2
  exit 1
fi
exe=$program_folder/padquiltkanalt.exe

contents=$(cd "$program_folder" && find . -type f | sort | tr '\n' ' ')
[ "$contents" = "./defaultkeymap.txt ./hajimeni.txt ./padquiltkanalt.exe ./padquiltkanalt.txt " ] &&
  pass "the archive holds the program, the keymap, the manual and はじめに" ||
  fail "the archive holds: $contents"

first_bytes() { head -c "$2" "$1" | od -An -tx1 | tr -d ' \n'; }
# Notepad reads a text as UTF-8 by its byte order mark.
for text in padquiltkanalt.txt hajimeni.txt; do
  [ "$(first_bytes "$program_folder/$text" 3)" = efbbbf ] &&
    ! LC_ALL=C grep -q $'[^\r]$\|^$' "$program_folder/$text" &&
    pass "$text: UTF-8 with a byte order mark and CRLF line ends" ||
    fail "$text: no byte order mark or not every line ends with CRLF"
done
# The keymap is read byte for byte: its first line must stay a comment.
[ "$(first_bytes "$program_folder/defaultkeymap.txt" 1)" = 23 ] &&
  pass "defaultkeymap.txt starts with its comment, no byte order mark" ||
  fail "defaultkeymap.txt starts with $(first_bytes "$program_folder/defaultkeymap.txt" 3)"

# Explorer's properties show the version as text and as four numbers.
IFS=. read -r -a parts <<<"$version.0.0.0"
numbers=$((10#${parts[0]})).$((10#${parts[1]})).$((10#${parts[2]})).$((10#${parts[3]}))
# The first wine programs after the prefix is made may find wine still
# starting and print nothing: asked again then.
for _ in 1 2 3; do
  shown=$(probe version "$(winepath -w "$exe" 2>/dev/null | tr -d '\r')")
  [ -n "$shown" ] && break
  sleep 1
done
[ "$shown" = "$version $version $numbers" ] &&
  pass "version resource: $version, $numbers" ||
  fail "version resource: '$shown', expected '$version $version $numbers'"
