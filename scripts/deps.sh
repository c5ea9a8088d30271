# Sourced by scripts/run and scripts/test: installs with apt-get whatever the build lacks.
tessaly_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# qt6-translations-l10n: Qt's own dialogs in Japanese; desktop-file-utils: the install test
# validates the desktop entry; clang-format: scripts/test checks the formatting.
TESSALY_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
    libjpeg62-turbo-dev libturbojpeg0-dev libexif-dev libheif-dev libpng-dev zlib1g-dev libwebp-dev libzip-dev libgtest-dev libgmock-dev googletest
    qt6-translations-l10n desktop-file-utils clang-format)
