#!/usr/bin/env bash
# Makes the files of tests/corpus/files with other programs, from the sources beside this
# script and the examples abcmidi ships: abc2midi (an abc converter), lilypond (an engraver)
# and mido (as a sequencer writes a file). The files are kept in the repository, so the tests
# need none of these programs; run this only to make them again.
#   apt-get install abcmidi lilypond python3-mido
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$here/files"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
for abc in "$here"/sources/*.abc; do
    cp "$abc" .
    abc2midi "$(basename "$abc")" >/dev/null  # one file per tune: meters1.mid, meters2.mid...
done
for abc in /usr/share/doc/abcmidi/examples/*.abc; do
    abc2midi "$abc" -o "abcex_$(basename "$abc" .abc).mid" >/dev/null
done
for ly in "$here"/sources/*.ly; do
    lilypond -s -o "$(basename "$ly" .ly)" "$ly"
    mv "$(basename "$ly" .ly).midi" "$(basename "$ly" .ly).mid"
done
/usr/bin/python3 "$here/sources/sequencer_song.py" sequencer_song.mid
cp ./*.mid "$out/"
