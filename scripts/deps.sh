#!/usr/bin/env bash
# Installs what the build, the tests and the stand-in host need (Debian 12).
set -euo pipefail
# llvm brings llvm-symbolizer, which turns the addresses in sanitizer and
# fuzzer reports into functions and lines.
PACKAGES=(
  build-essential cmake pkg-config clang libclang-rt-14-dev llvm
  libcegui-mk2-dev liblua5.1-0-dev libtolua++5.1-dev
  libgtest-dev libbenchmark-dev rapidjson-dev libpng-dev
  fonts-dejavu-core locales
)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  # sudo clears the environment, so the setting goes through env.
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The tests that check numbers written as text ignore the process locale
# run under a locale with a decimal comma; it is generated once.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)$/\1/' /etc/locale.gen
  grep -qx 'de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
