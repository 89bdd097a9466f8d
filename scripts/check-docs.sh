#!/usr/bin/env bash
# Checks that README.md and docs/*.md name only what the repository holds: every Markdown
# link and picture points to a file or folder of the repository (web links and in-page
# anchors aside), and every scripts/... or tools/... path they name exists.
# Prints one line per fault ("<file>:<line>: ...") and exits 1 when there is one, else 0.
#   scripts/check-docs.sh [FILE.md...]     (default: README.md docs/*.md)
set -u
cd "$(dirname "$0")/.." || exit 2
root=$(pwd -P)
faults=0

fault() {  # fault <file> <line> <text>
    echo "$1:$2: $3"
    faults=$((faults + 1))
}

# Whether a path of the repository exists: inside it, and there. A module named without its
# extension, as the docs name code (app/ControlRecord), exists when a file of that stem does.
in_repository() {  # in_repository <path relative to the root>
    local path=$1
    while [[ "$path" == ./* ]]; do path=${path#./}; done
    case "/$path/" in */../*) return 1 ;; esac
    [ -e "$root/$path" ] || compgen -G "$root/$path.*" >/dev/null
}

# A relative path with "." and "dir/.." taken out, without a process per call.
normalised() {  # normalised <path>
    local part out=()
    local IFS=/
    for part in $1; do
        case "$part" in
        "" | .) ;;
        ..) if [ ${#out[@]} -gt 0 ] && [ "${out[-1]}" != .. ]; then unset 'out[-1]'; else out+=(..); fi ;;
        *) out+=("$part") ;;
        esac
    done
    echo "${out[*]}"
}

check_links() {  # check_links <file.md>: inline links and pictures, [text](target "title")
    local file=$1 dir number match target
    dir=$(dirname "$file")
    while IFS=: read -r number match; do
        target=${match#](}
        target=${target%)}
        target=${target%% *}   # a title after the target
        target=${target#<}
        target=${target%>}
        case "$target" in
        http://* | https://* | mailto:* | \#* | "") continue ;;
        esac
        local named=$target
        target=$(normalised "$dir/${target%%#*}")   # a file's anchor: the file must exist
        if [[ "$target" == ../* || "$target" == .. ]]; then
            fault "$file" "$number" "link points outside the repository: $named"
        elif ! in_repository "$target"; then
            fault "$file" "$number" "link to a missing file: $named"
        fi
    done < <(grep -noE '\]\([^)[:space:]]+( +"[^"]*")?\)' "$file")
    # Reference definitions: [name]: target
    while IFS=: read -r number match; do
        target=$(sed -E 's/^ {0,3}\[[^]]+\]:[[:space:]]*<?([^>[:space:]]+)>?.*/\1/' <<<"$match")
        case "$target" in
        http://* | https://* | mailto:* | \#*) continue ;;
        esac
        local path
        path=$(normalised "$dir/${target%%#*}")
        if [[ "$path" == ../* || "$path" == .. ]] || ! in_repository "$path"; then
            fault "$file" "$number" "link to a missing file: $target"
        fi
    done < <(grep -nE '^ {0,3}\[[^]]+\]:[[:space:]]*[^[:space:]]' "$file")
}

check_paths() {  # check_paths <file.md>: scripts/... and tools/... named in the text
    local file=$1 number match path
    while IFS=: read -r number match; do
        path=${match#?}    # the character before the path
        [[ "$match" == scripts/* || "$match" == tools/* ]] && path=$match
        path=${path%/}
        in_repository "$path" || fault "$file" "$number" "names a missing path: $path"
    done < <(grep -noE '(^|[^[:alnum:]_./-])(scripts|tools)/[[:alnum:]_./-]*[[:alnum:]_/]' "$file")
}

files=("$@")
[ ${#files[@]} -gt 0 ] || files=(README.md docs/*.md)
for file in "${files[@]}"; do
    if [ ! -f "$file" ]; then
        fault "$file" 0 "no such file"
        continue
    fi
    check_links "$file"
    check_paths "$file"
done
[ "$faults" -eq 0 ]
