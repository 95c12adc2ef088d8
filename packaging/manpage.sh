#!/bin/sh
# Makes the manual page of velmaro-cli from the template and the program's own help:
# "velmaro-cli --help" and "velmaro-cli COMANDO --help" of every command it lists.
#
#   sh packaging/manpage.sh VELMARO-CLI TEMPLATE VERSION OUTPUT
set -eu
cli=$1
template=$2
version=$3
output=$4

# Text as it stands, in a no-fill block: backslashes and hyphens escaped, a line that
# starts with a dot or an apostrophe made plain.
verbatim() {
    printf '.nf\n'
    sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
    printf '.fi\n'
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" --help > "$work/help"
verbatim < "$work/help" > "$work/ajuda"

# The commands: the lowercase words at the start of each usage line under "Comandos:".
sed -n '/^Comandos:/,/^$/p' "$work/help" | sed -n 's/^  \([a-z][a-z -]*[a-z]\)\( [^a-z].*\)\{0,1\}$/\1/p' |
    awk '!seen[$0]++' > "$work/commands"
[ -s "$work/commands" ] || { echo "manpage.sh: no commands in the help of $cli" >&2; exit 1; }
: > "$work/comandos"
while IFS= read -r command; do
    printf '.SS %s\n' "$command" >> "$work/comandos"
    # shellcheck disable=SC2086  # the command's words are separate arguments
    "$cli" $command --help | verbatim >> "$work/comandos"
done < "$work/commands"

awk -v version="$version" -v ajuda="$work/ajuda" -v comandos="$work/comandos" '
    function insert(file,   line) { while ((getline line < file) > 0) print line; close(file) }
    /^@AJUDA@$/ { insert(ajuda); next }
    /^@COMANDOS@$/ { insert(comandos); next }
    { gsub(/@VERSION@/, version); print }
' "$template" > "$work/page"
gzip -9n < "$work/page" > "$output"
