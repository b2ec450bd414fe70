# bash completion for Quorvel_con: its options, then sync list files (.lst)
# and folders. The options are read from the program's own --help, so they
# are always those of the program being completed.

_Quorvel_con() {
  local current="${COMP_WORDS[COMP_CWORD]}" word
  local -a earlier=("${COMP_WORDS[@]:1:COMP_CWORD-1}")
  local options_ended=""
  for word in "${earlier[@]}"; do
    [[ "$word" == -- ]] && options_ended=1
  done
  if [[ -z "$options_ended" && "$current" == -* ]]; then
    local options
    options="$(LC_ALL=C "${COMP_WORDS[0]}" --help 2>/dev/null |
      sed -n 's/^  \(-[-a-z]*\)\(, \(--[-a-z]*\)\)\{0,1\} .*/\1 \3/p')"
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$current")
    return
  fi
  mapfile -t COMPREPLY < <(compgen -f -X '!*.lst' -- "$current"; compgen -d -- "$current")
}

complete -o filenames -F _Quorvel_con Quorvel_con
