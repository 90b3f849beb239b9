#!/usr/bin/env bash
# Installs the Debian packages pagloom needs, once: quiet and quick when everything is there.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev qt6-translations-l10n libgl-dev
  libshp-dev pxlib-dev unixodbc-dev libsqliteodbc sqlite3
  libcurl4-openssl-dev libssl-dev libsecret-1-dev
  openssh-server openssh-client vsftpd libpam-pwdfile openssl
  lighttpd lighttpd-mod-webdav lighttpd-mod-openssl gnome-keyring libsecret-tools dbus qtkeychain-qt6-dev rclone lftp
  libgtest-dev libgmock-dev clang-format
  chromium xvfb xauth libxml2-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js may come from elsewhere than Debian; take Debian's only when there is none.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)
if ((${#missing[@]})); then
  echo "Installiere: ${missing[*]}" >&2
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
