# Sourced by tests that need two monitors. Xvfb only ever makes one screen at (0,0), so this runs
# Xorg with the dummy video driver, whose RandR outputs can be laid out like real monitors:
#
#   DUMMY1 1024x768 at X (0,0)   DUMMY0 1280x800 at X (1024,0), primary
#
# Windows puts the primary monitor at (0,0), so programs under Wine see the left monitor at
# (-1024,0)-(0,768) and a virtual screen of (-1024,0) 2304x800.
#
#   start_dummy_display DIR   writes the configuration and the log into DIR (inside the build tree),
#                             starts the server and exports DISPLAY; on failure answers 1 and leaves
#                             the reason in $dummy_display_error
#   stop_dummy_display        ends that server by its PID and waits for it
#
# Like Xvfb, the server still makes its socket in /tmp/.X11-unix and its /tmp/.X<n>-lock file, and
# has its keymap compiled through /var/lib/xkb (removed again); nothing else outside DIR is written,
# and no configuration from /etc is read. Runs as root on CI; as another user it also ran here.

dummy_display_pid=
dummy_display_error=

start_dummy_display() {
  mkdir -p "$1"
  local dir
  dir=$(cd "$1" && pwd)
  mkdir -p "$dir/xorg.conf.d"
  dummy_display_error=
  local xorg=/usr/lib/xorg/Xorg  # the server itself, not the /usr/bin/Xorg wrapper script
  [[ -x $xorg ]] || xorg=$(command -v Xorg || true)
  if [[ -z $xorg || ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]]; then
    dummy_display_error="Xorg or its dummy driver is not installed (xserver-xorg-core, xserver-xorg-video-dummy)"
    return 1
  fi

  # The whole layout is in the configuration (no xrandr calls afterwards): each output is tied to a
  # Monitor section with its own mode and position. DUMMY1 reports itself disconnected, hence
  # "Enable". No input devices are probed, so the machine's keyboard and mouse stay out of it;
  # the server still has its virtual core pointer and keyboard, which XTest drives.
  cat >"$dir/xorg.conf" <<'EOF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection

Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
  Option "Monitor-DUMMY0" "right"
  Option "Monitor-DUMMY1" "left"
EndSection

Section "Monitor"
  Identifier "right"
  Modeline "1280x800" 83.50 1280 1352 1480 1680 800 803 809 831 -hsync +vsync
  Option "PreferredMode" "1280x800"
  Option "Position" "1024 0"
  Option "Primary" "true"
EndSection

Section "Monitor"
  Identifier "left"
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  Option "PreferredMode" "1024x768"
  Option "Position" "0 0"
  Option "Enable" "true"
EndSection

Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "right"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2304 800
  EndSubSection
EndSection
EOF
  # -configdir keeps /etc/X11/xorg.conf.d out; an empty directory is logged as an error, so it
  # holds a comment.
  echo "# Everything is in ../xorg.conf." >"$dir/xorg.conf.d/empty.conf"

  local fifo="$dir/displayfd"
  rm -f "$fifo" "$dir/xorg.log" "$dir/xorg.out"
  mkfifo "$fifo"
  # -displayfd: the server picks a free display number and writes it once it accepts clients.
  # -sharevts -novtswitch -keeptty: stay on the current console without switching or taking it over.
  # setpriv --pdeathsig: if the test is killed before its teardown, the server ends with it.
  setpriv --pdeathsig TERM "$xorg" -displayfd 3 -config "$dir/xorg.conf" -configdir "$dir/xorg.conf.d" \
    -logfile "$dir/xorg.log" -noreset -nolisten tcp -sharevts -novtswitch -keeptty \
    3>"$fifo" </dev/null >"$dir/xorg.out" 2>&1 &
  dummy_display_pid=$!
  local n=
  read -r -t 20 n <"$fifo" || true
  rm -f "$fifo"
  if [[ -z $n ]]; then
    # The reason follows "Fatal server error:" on the next lines.
    local reason
    reason=$(grep -A 2 'Fatal server error' "$dir/xorg.out" | sed 's/(EE) *//g' | tr -s '\n' ' ' || true)
    [[ -n $reason ]] || reason=$(tail -n 3 "$dir/xorg.out" | tr '\n' ' ' || true)
    dummy_display_error="Xorg did not start (log: $dir/xorg.log): $reason"
    stop_dummy_display
    return 1
  fi
  export DISPLAY=":$n"
}

stop_dummy_display() {
  if [[ -n $dummy_display_pid ]]; then
    kill "$dummy_display_pid" 2>/dev/null || true
    wait "$dummy_display_pid" 2>/dev/null || true
    dummy_display_pid=
  fi
}
