# Shared by run.sh and test.sh: install what is missing, then build into build/.
# Sourced, not run.

TESSALY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TESSALY_BUILD="$TESSALY_ROOT/build"

# Debian packages the build, the program and the tests need.
TESSALY_PACKAGES=(
  cmake g++ make pkg-config util-linux python3
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  desktop-file-utils appstream libglib2.0-bin
  xvfb dbus-daemon at-spi2-core gir1.2-atspi-2.0 python3-gi
  libreoffice-core libreoffice-calc libreoffice-dev libreoffice-draw
  cups cups-client printer-driver-cups-pdf ghostscript libcups2-dev poppler-utils lintian
  libgsf-1-dev nettle-dev libwmf-dev qt6-svg-dev libharfbuzz-dev libfontconfig-dev qpdf
  python3-xlwt python3-xlrd python3-uno python3-olefile
  clang libclang-rt-14-dev llvm-14
  xdg-utils fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation2
  fonts-crosextra-carlito fonts-crosextra-caladea
)

# Installs the packages of TESSALY_PACKAGES that are not installed yet; apt is
# not touched at all when every one is already there.
tessaly_install_missing() {
  local missing=() pkg status
  for pkg in "${TESSALY_PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0

  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Missing packages (${missing[*]}) and no sudo to install them." >&2; return 1; }
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

tessaly_build() {
  cmake -S "$TESSALY_ROOT" -B "$TESSALY_BUILD" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
  cmake --build "$TESSALY_BUILD" -j "$(nproc)"
}
