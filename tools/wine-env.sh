# wine-env.sh: sourced (not run) by every script that starts Wine; the one
# place that sets Wine's environment for Tavolin.
#
# tavolin_wine_env PREFIX: exports WINEPREFIX=PREFIX and what every Wine run
# of the project uses: a 64-bit prefix, no debug output, and no Mono or
# Gecko (their install prompts would stop an unattended run).
tavolin_wine_env() {
  export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}
