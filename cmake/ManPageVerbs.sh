#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a help2man include file with a VERBS section: the help text of every
# verb that `versemark-cli --help` lists, each under its name, kept as printed.
#   ManPageVerbs.sh VERSEMARK_CLI OUTPUT
set -eu
cli=$1
output=$2

# The verbs are the first words of the lines between "Verbs:" and the next blank line.
verbs=$("$cli" --help | sed -n '/^Verbs:$/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p')
if [ -z "$verbs" ]; then
    echo "ManPageVerbs.sh: no verbs in the output of '$cli --help'" >&2
    exit 1
fi

# Text for roff: backslashes and minus signs escaped, a leading dot or quote
# kept from being read as a request.
roff_text() {
    sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\([.']\)/\\\\\&\1/"
}

{
    echo "[VERBS]"
    for verb in $verbs; do
        echo ".SS $verb"
        echo ".nf"
        "$cli" "$verb" --help | roff_text
        echo ".fi"
    done
} >"$output.tmp"
mv "$output.tmp" "$output"
