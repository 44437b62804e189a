# Sourced by the scripts that run Windows programs: a quiet, local Wine.
# No Mono/Gecko prompts, no desktop entries, and a crashing program ends at
# once with its exception code instead of opening the crash dialog.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"winemenubuilder.exe=d;mscoree=d;mshtml=d;winedbg.exe=d"}
export WINEARCH=win32
