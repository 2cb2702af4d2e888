#!/usr/bin/env bash
# The bash completion of z417ctl, with the two bash-completion helpers it uses stubbed:
# completes commands after global options, settings, function names with blanks, and the
# options of each command.
#   completion_test.sh COMPLETION_FILE
set -u
_init_completion() {
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
}
_filedir() { COMPREPLY=(FILES); }
# shellcheck source=/dev/null
source "$1"

failures=0
expect() { # expected words, then the command line; the last word is being completed
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _z417ctl
    local got="${COMPREPLY[*]}"
    if [ "$got" != "$expected" ]; then
        echo "z417ctl ${*:2}: expected '$expected', got '$got'" >&2
        failures=$((failures + 1))
    fi
}

expect "set show-settings sim-create status" z417ctl --device sim:x s
expect "rate" z417ctl set ra
expect "125 250 500 1000" z417ctl set --settings c.bin rate ""
expect 'Fire\ Key' z417ctl set button A 4 Fi
expect "on off" z417ctl set dpi 2 ""
expect "respiration" z417ctl set lighting r
expect "--settings --out --help" z417ctl export --
expect "FILES" z417ctl import ""
expect "CHS CHT EN" z417ctl show-settings c.bin --lang ""
exit $((failures > 0))
