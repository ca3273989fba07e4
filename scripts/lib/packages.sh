# Sourced by the scripts that install what they need.
#
#   install_packages PACKAGE...   installs, with apt-get and without the
#                                 recommends, those that are missing; does
#                                 nothing when all are there
install_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 \
        install -y -qq --no-install-recommends "${missing[@]}"
}
