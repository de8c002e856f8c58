# Sourced by the scripts that run Windows programs: installs what is missing,
# builds the given build folders (scripts/build.sh), makes sure there is a
# display and a ready Wine prefix, and sets the Wine environment.
#   source scripts/prepare.sh win [native fuzz]
mivra_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$mivra_root/scripts/setup.sh"
"$mivra_root/scripts/build.sh" "$@"
export MIVRA_BUILD=${MIVRA_BUILD:-$mivra_root/build}
source "$mivra_root/scripts/display.sh"
"$mivra_root/scripts/wine-prefix.sh"
source "$mivra_root/scripts/wine-env.sh"
