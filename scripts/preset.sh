# Sourced: picks the build that can run on this machine. The shipped program
# is 32-bit; where the kernel cannot start Wine's 32-bit loader, the same
# sources are built for 64-bit Windows and run under 64-bit Wine instead.
. "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-env.sh"
if wine_env_can_run_32bit; then run_preset=windows-i686; else run_preset=windows-x86_64; fi

configure_and_build() {  # configure_and_build PRESET [ninja targets]
  local preset=$1; shift
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" ${1:+--target "$@"}
}
