#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root with dpkg -x, and
# checks what an installed system gets: the program folder, the launcher, the
# icon, and, with the program folder read-only, a per-user program folder
# seeded at the first start.
set -euo pipefail
build=$1
work=$(mktemp -d)
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack --config CPackConfig.cmake -B "$work/out" > "$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/out/campanor_*.deb)
info=$(dpkg-deb --field "$deb" Package Version Architecture Depends)
grep -q '^Package: campanor$' <<<"$info" || fail "package name: $info"
grep -q '^Version: 7.2.363$' <<<"$info" || fail "version: $info"
grep -q 'libqt6widgets6' <<<"$info" || fail "shared libraries in Depends: $info"
grep -q 'gstreamer1.0-plugins-good' <<<"$info" || fail "plug-ins in Depends: $info"

root=$work/root
dpkg -x "$deb" "$root"
app=$root/opt/Campanor
[ -x "$app/campanor" ] || fail "no program"
for f in timeup.mp3 vomu.chm skin/B-Studio.skn skin/Zhelezo.skn; do
  [ -f "$app/$f" ] || fail "no $f"
done
[ "$(ls "$app"/skin/*.skn | wc -l)" -eq 12 ] || fail "not twelve skins"
[ -d "$app/DayTimeTable" ] && [ -d "$app/PlayListFile" ] || fail "no table or playlist folder"
[ -f "$app/.installed-by-package" ] || fail "no package marker"
[ "$(readlink "$root/usr/bin/campanor")" = /opt/Campanor/campanor ] || fail "no command link"

launcher=$root/usr/share/applications/campanor.desktop
[ -f "$launcher" ] || fail "no launcher"
grep -qx 'Exec=/opt/Campanor/campanor' "$launcher" || fail "launcher Exec"
grep -qx 'Icon=campanor' "$launcher" || fail "launcher Icon"
grep -qx 'Type=Application' "$launcher" || fail "launcher Type"
unit=$root/usr/lib/systemd/user/campanor.service
for line in Type=notify Restart=on-failure WatchdogSec=10 ExecStart=/opt/Campanor/campanor \
  PartOf=graphical-session.target; do
  grep -qx "$line" "$unit" || fail "user unit: no $line"
done
svg=$root/usr/share/icons/hicolor/scalable/apps/campanor.svg
png=$root/usr/share/icons/hicolor/128x128/apps/campanor.png
grep -q '<svg' "$svg" || fail "no scalable icon"
[ "$(head -c 8 "$png" | od -An -c | tr -d ' ')" = '211PNG\r\n032\n' ] || fail "no 128 px icon"

# First start of the installed program by a user who cannot write it.
chmod -R a-w "$app"
touch "$work/installed"
home=$work/home
mkdir -p "$home/run"
chmod 700 "$home/run"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R 65534:65534 "$home"
  chmod 755 "$work"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" \
  XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" \
  QT_QPA_PLATFORM=offscreen CAMPANOR_UNATTENDED=1 CAMPANOR_AUDIO_SINK=fakesink \
  "${as_user[@]}" "$app/campanor" > "$work/run.log" 2>&1 &
program_pid=$!
user=$home/data/Campanor
for _ in $(seq 300); do
  [ -s "$user/skin.txt" ] && break
  kill -0 "$program_pid" 2>/dev/null || { cat "$work/run.log" >&2; fail "the program ended"; }
  sleep 0.1
done
[ -s "$user/skin.txt" ] || { cat "$work/run.log" >&2; fail "no per-user program folder"; }
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=
cmp -s "$app/timeup.mp3" "$user/timeup.mp3" || fail "ring not seeded"
[ "$(ls "$user"/skin/*.skn | wc -l)" -eq 12 ] || fail "skins not seeded"
[ -f "$user/DayTimeTable/Default.DTT" ] || fail "first-run reset did not write the user's table"
[ ! -e "$user/campanor" ] || fail "the program was copied"
grep -q "$user/skin/B-Studio.skn" "$user/skin.txt" || fail "skin.txt names another folder"
[ ! -e "$user/.installed-by-package" ] || fail "the package marker was copied"
[ -z "$(find "$app" -newer "$work/installed")" ] || fail "the installed folder was written"

# Root writes everywhere: it too gets a folder of its own, the package's stays as it is.
if [ "$(id -u)" -eq 0 ]; then
  chmod -R u+w "$app"
  roothome=$work/roothome
  mkdir -p "$roothome/run"
  chmod 700 "$roothome/run"
  env -i PATH=/usr/bin:/bin HOME="$roothome" XDG_DATA_HOME="$roothome/data" \
    XDG_CONFIG_HOME="$roothome/config" XDG_RUNTIME_DIR="$roothome/run" \
    QT_QPA_PLATFORM=offscreen CAMPANOR_UNATTENDED=1 CAMPANOR_AUDIO_SINK=fakesink \
    "$app/campanor" > "$work/root.log" 2>&1 &
  program_pid=$!
  for _ in $(seq 300); do
    [ -s "$roothome/data/Campanor/skin.txt" ] && break
    kill -0 "$program_pid" 2>/dev/null || { cat "$work/root.log" >&2; fail "the program ended as root"; }
    sleep 0.1
  done
  kill "$program_pid"
  wait "$program_pid" 2>/dev/null || true
  program_pid=
  [ -s "$roothome/data/Campanor/skin.txt" ] || { cat "$work/root.log" >&2; fail "root got no folder of its own"; }
  [ -z "$(find "$app" -newer "$work/installed")" ] || fail "root wrote the installed folder"
fi
echo "package: all checks passed"
