#!/usr/bin/env bash
# The folders of src/ are floors: a file includes headers of its own folder and of floors
# below it, never of one beside or above it, and nothing under the window includes Qt.
# Usage: IncludeFloorsTest.sh SOURCE_ROOT
set -uo pipefail
root=$1
# shellcheck source=tests/support/harness.sh
source "$root/tests/support/harness.sh"

declare -A floor=([core]=0 [link]=1 [files]=1 [settings]=1 [image]=1 [gps]=1
                  [platform]=2 [ui_core]=2 [export]=2 [video]=2 [ui]=3 [app]=4)
declare -A room=([view]=0 [dialogs]=1 [toolwindows]=2 [capture]=2 [window]=3)

bad=0
while IFS= read -r file; do
    rel=${file#"$root"/src/}
    own=${rel%%/*}
    [ -n "${floor[$own]+x}" ] || { fail "$rel: folder $own has no floor"; bad=1; continue; }
    while IFS= read -r included; do
        other=${included%%/*}
        [ -n "${floor[$other]+x}" ] || continue
        if [ "$other" != "$own" ] && [ "${floor[$other]}" -ge "${floor[$own]}" ]; then
            fail "$rel includes $included from a floor not below it"; bad=1
        fi
        if [ "$own" = ui ] && [ "$other" = ui ]; then
            mine=${rel#ui/}; mine=${mine%%/*}
            theirs=${included#ui/}; theirs=${theirs%%/*}
            if [ -z "${room[$mine]+x}" ] || [ -z "${room[$theirs]+x}" ]; then
                fail "$rel: window files live in the rooms ${!room[*]}"; bad=1
            elif [ "$mine" != "$theirs" ] && [ "${room[$theirs]}" -ge "${room[$mine]}" ]; then
                fail "$rel includes $included from a room not below it"; bad=1
            fi
        fi
    done < <(sed -n 's/^#include "\([a-z_]*\/[A-Za-z/]*\.h\)".*/\1/p' "$file")
    case $own in
        core|link|files|settings|image|gps|ui_core|export|video)
            if grep -q '^#include <Q' "$file"; then fail "$rel includes Qt"; bad=1; fi ;;
    esac
done < <(find "$root/src" -name '*.cpp' -o -name '*.h')
check_cmd "every include of src/ points down a floor" test "$bad" -eq 0

check_cmd "the simulated head includes nothing from src/" \
    bash -c "! grep -rqE '#include \"(core|link|files|settings|image|gps|export|video|platform|ui_core|ui|app)/' '$root/tools/headsim'"
finish
