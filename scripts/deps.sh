#!/usr/bin/env bash
# Installs the Debian packages pagloom needs, once: quiet and quick when everything is there.
#   scripts/deps.sh          what building and running the two programs needs
#   scripts/deps.sh --test   that, and the tools and servers the tests start (on loopback, each
#                            with its own configuration); the servers' own services are neither
#                            started nor left enabled on this machine.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev qt6-translations-l10n libgl-dev
  libshp-dev pxlib-dev unixodbc-dev libsqliteodbc sqlite3
  libcurl4-openssl-dev libssl-dev libsecret-1-dev)
services=()
if [ "${1:-}" = "--test" ]; then
  packages+=(libgtest-dev libgmock-dev clang-format ccache
    openssh-server openssh-client vsftpd libpam-pwdfile openssl
    lighttpd lighttpd-mod-webdav lighttpd-mod-openssl gnome-keyring libsecret-tools dbus rclone lftp
    chromium xvfb xauth libxml2-utils)
  services=(ssh vsftpd lighttpd)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js (for the browser tests) may come from elsewhere than Debian; Debian's only when none.
if [ "${1:-}" = "--test" ] && ! command -v npm >/dev/null 2>&1; then missing+=(nodejs npm); fi
if ((${#missing[@]})); then
  echo "Installiere: ${missing[*]}" >&2
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  # No service of a package installed here starts: the tests run their own instances.
  policy=/usr/sbin/policy-rc.d
  own_policy=
  if [ ${#services[@]} -gt 0 ] && [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
    $SUDO chmod 755 "$policy"
    own_policy=1
  fi
  $SUDO apt-get update -qq
  status=0
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null || status=$?
  [ -n "$own_policy" ] && $SUDO rm -f "$policy"
  # Where systemd runs, the packages enable their services for the next boot: not here.
  if [ ${#services[@]} -gt 0 ] && [ -d /run/systemd/system ]; then
    for s in "${services[@]}"; do
      $SUDO systemctl disable --now "$s" >/dev/null 2>&1 || true
    done
  fi
  exit $status
fi
