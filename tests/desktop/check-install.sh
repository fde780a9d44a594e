#!/usr/bin/env bash
# check-install.sh PREFIX CHECK [BUILD]: one check of Palettor installed under PREFIX, made with
# the desktop's own tools. CHECK is one of
#   install        cmake --install BUILD --prefix PREFIX --strip, into an empty PREFIX
#   metainfo       appstreamcli and xmllint accept it; its release is the programs' version
#   desktop-entry  desktop-file-validate accepts it; its program and icon are installed
#   man            both pages render without a warning and describe every command and option
#                  the programs' own --help lists
#   completion     bash completes palettor-cli's commands, options and their values
#   icon           the scalable icon is well-formed SVG that renders
#   binaries       stripped, and still carrying the version resource
# Exit status 0 when everything checked holds; each failure is named on standard error.
set -uo pipefail
prefix=$1 check=$2
bin=$prefix/bin share=$prefix/share
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A home of the check's own: the tools and the programs read and write nothing of the real one.
export HOME=$scratch/home TMPDIR=$scratch/tmp XDG_RUNTIME_DIR=$scratch/runtime
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$TMPDIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

version=$("$bin/palettor-cli" --version 2>/dev/null | sed -n 's/^palettor-cli //p')

# The commands palettor-cli lists, and the options a command's --help (or the program's) names:
# those of its usage lines and those that begin a line of its option list (the prose may name
# another command's options).
commands() { "$bin/palettor-cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z-]*\) .*/\1/p'; }
options_in() { awk 'NR == 1, /^$/ { print; next } /^[[:space:]]+--/ { print $1 }' | grep -o -- '--[a-z][a-z-]*' | sort -u; }

case $check in
  install)
    build=$3
    rm -rf "$prefix"
    cmake --install "$build" --prefix "$prefix" --strip >/dev/null || fail "cmake --install failed"
    ;;

  metainfo)
    file=$share/metainfo/example.quillon.Palettor.metainfo.xml
    [ -f "$file" ] || { fail "$file is not installed"; exit 1; }
    appstreamcli validate --no-net "$file" >"$scratch/out" 2>&1 || fail "appstreamcli: $(cat "$scratch/out")"
    xmllint --noout "$file" || fail "xmllint refuses $file"
    release=$(xmllint --xpath 'string(//release/@version)' "$file")
    [ -n "$version" ] && [ "$release" = "$version" ] || fail "release '$release', programs '$version'"
    launchable=$(xmllint --xpath 'string(//launchable[@type="desktop-id"])' "$file")
    [ -f "$share/applications/$launchable" ] || fail "launchable '$launchable' is not installed"
    ;;

  desktop-entry)
    file=$share/applications/palettor.desktop
    out=$(desktop-file-validate "$file" 2>&1)
    [ $? -eq 0 ] && [ -z "$out" ] || fail "desktop-file-validate: $out"
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$file")
    [ -x "$bin/$exec_name" ] || fail "Exec=$exec_name is not installed in $bin"
    icon=$(sed -n 's/^Icon=//p' "$file")
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
    [ -f "$share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon $icon.png"
    ;;

  man)
    for page in palettor palettor-cli; do
      file=$share/man/man1/$page.1
      [ -f "$file" ] || { fail "$file is not installed"; continue; }
      MANWIDTH=80 man --warnings -l "$file" >"$scratch/$page.txt" 2>"$scratch/err" || fail "man -l $page failed"
      [ -s "$scratch/err" ] && fail "man warns on $page: $(cat "$scratch/err")"
      groff -ww -z -man "$file" 2>"$scratch/err"
      [ -s "$scratch/err" ] && fail "groff warns on $page: $(cat "$scratch/err")"
      grep -q "Palettor $version" "$scratch/$page.txt" || fail "$page(1) does not name version $version"
      # Plain text, hyphens as typed, to look things up in.
      sed 's/\xe2\x80\x90/-/g' "$scratch/$page.txt" | tr -s ' \n' ' ' >"$scratch/$page.flat"
    done
    # What the build fills in from the settings: the ranges and defaults the programs take.
    grep -q '@[A-Z_]*@' "$share/man/man1/palettor.1" "$share/man/man1/palettor-cli.1" && fail "a page keeps a @VALUE@"
    grep -qF "hue (0 to 360) and saturation (0 to 100)" "$share/man/man1/palettor.1" ||
      fail "palettor(1) gives other ranges for hue and saturation"
    for line in "0 to 360, for the anchors" ".B LUTTailPercent" "0 or 1." "(default on)." \
      "The share of the dark rows, 0 to 100, that take the blue tail (default 12)." \
      "the least brightness, 0 to 50 percent," "(default 0, no floor)."; do
      grep -qF -- "$line" "$share/man/man1/palettor-cli.1" || fail "palettor-cli(1) lacks '$line'"
    done
    for option in $(env DISPLAY= WAYLAND_DISPLAY= "$bin/palettor" --help | options_in); do
      grep -q -- "$option" "$scratch/palettor.flat" || fail "palettor(1) does not describe $option"
    done
    for command in $(commands); do
      grep -q -- "$command" "$scratch/palettor-cli.flat" || fail "palettor-cli(1) does not describe $command"
      for option in $("$bin/palettor-cli" "$command" --help | options_in); do
        grep -q -- "$option" "$scratch/palettor-cli.flat" || fail "palettor-cli(1) does not describe $command $option"
      done
    done
    for option in $("$bin/palettor-cli" --help | options_in); do
      grep -q -- "$option" "$scratch/palettor-cli.flat" || fail "palettor-cli(1) does not describe $option"
    done
    ;;

  completion)
    # complete WORD...: the candidates bash offers for the last word, one per line, with the
    # completion loaded the way bash-completion finds it in the prefix's data folder.
    complete_words() {
      (cd "$scratch" && PATH="$bin:$PATH" XDG_DATA_DIRS="$share" bash --norc -c '
        source /usr/share/bash-completion/bash_completion
        __load_completion palettor-cli || { echo "not found"; exit 1; }
        compopt() { :; }  # outside a real completion there are no options to set
        COMP_WORDS=(palettor-cli "$@"); COMP_CWORD=$#
        COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
        COMPREPLY=()
        $(complete -p palettor-cli | sed -n "s/.*-F \([^ ]*\) .*/\1/p") palettor-cli "${COMP_WORDS[COMP_CWORD]}" \
          "${COMP_WORDS[COMP_CWORD-1]}"
        printf "%s\n" "${COMPREPLY[@]}"' _ "$@")
    }
    expect() {  # expect "WANTED" WORD...: WANTED (lines) among the candidates
      local wanted=$1 got
      shift
      got=$(complete_words "$@")
      while IFS= read -r line; do
        [ -n "$line" ] || continue
        grep -qxF -- "$line" <<<"$got" || fail "completing 'palettor-cli $*' offers no '$line' (got: $(echo $got))"
      done <<<"$wanted"
    }
    [ "$(complete_words ren)" = render ] || fail "completing 'palettor-cli ren' gives '$(complete_words ren)'"
    for command in $(commands); do
      expect "$command" "${command:0:3}"
      expect "$("$bin/palettor-cli" "$command" --help | options_in)" "$command" --
    done
    expect "$(printf '%s\n' --help --version)" --
    expect "$(printf '%s\n' on off)" render --white-top ""
    expect "$(printf '%s\n' on off)" render --smooth ""
    expect "$(printf '%s\n' M70= O0= P40=)" render --anchor ""
    expect "$(printf '%s\n' list get set)" app-path ""
    expect "FileVersion" version-info --key F
    touch "$scratch/table-file.bmp"
    expect "table-file.bmp" render --out ""
    expect "table-file.bmp" version-info ""
    # Every name settings set takes, as palettor-cli itself lists them.
    expect "$(XDG_CONFIG_HOME=$scratch/config "$bin/palettor-cli" settings | cut -d' ' -f1)" settings set ""
    [ "$(complete_words render --out --help "")" = "" ] || fail "the value of --out counted as an option"
    ;;

  icon)
    file=$share/icons/hicolor/scalable/apps/palettor.svg
    xmllint --noout "$file" || fail "xmllint refuses $file"
    rsvg-convert -w 64 -h 64 -o "$scratch/icon.png" "$file" || fail "rsvg-convert cannot render $file"
    file "$scratch/icon.png" | grep -q "PNG image data, 64 x 64" || fail "rendered icon: $(file "$scratch/icon.png")"
    ;;

  binaries)
    for program in palettor palettor-cli; do
      description=$(file -L "$bin/$program")
      case $description in
        *", stripped"*) ;;
        *) fail "$program is not stripped: $description" ;;
      esac
      carried=$("$bin/palettor-cli" version-info "$bin/$program" --key FileVersion)
      [ -n "$version" ] && [ "$carried" = "$version" ] || fail "$program carries version '$carried'"
    done
    [ "$(env DISPLAY= WAYLAND_DISPLAY= "$bin/palettor" --version)" = "palettor $version" ] ||
      fail "palettor --version: $(env DISPLAY= WAYLAND_DISPLAY= "$bin/palettor" --version)"
    ;;

  *)
    echo "check-install.sh: unknown check '$check'" >&2
    exit 2
    ;;
esac
exit $((failures > 0))
