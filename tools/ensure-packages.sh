#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing. Sourced by run.sh and test.sh.
tabulane_ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

TABULANE_BUILD_PACKAGES=(cmake g++ make qt6-base-dev libgl-dev libgtest-dev libgmock-dev fonts-liberation2)
