# shellcheck shell=bash
# The Linux desktops the desktop tests run on, each from Debian's packages and set up as a
# new user has it, with nothing on its panels that changes by itself (no clock, no meters).
# Sourced after own_display.sh; start_desktop runs once own_test_prefix has made $work (the
# desktop's files go in $work/desktop, its processes in $pids), and calls the sourcing
# script's fail.
#
#   start_desktop NAME   on $DISPLAY: icewm (its taskbar at the bottom), openbox-trayer
#                        (openbox, trayer at the bottom), xfce (xfwm4, xfce4-panel at the top
#                        with the notification area and at the bottom), lxde (openbox,
#                        lxpanel at the top with the tray and at the bottom), tint2 (openbox,
#                        tint2 with its tray at the bottom), fluxbox (its toolbar with the
#                        tray at the bottom). Returns once the window manager manages windows,
#                        the panels have reserved their strips and the tray (where there is
#                        one) is up; then desktop_area_top is where the top panel's strip
#                        ends (0 without one) and desktop_area_bottom where the bottom
#                        panel's begins (the work area x_work_area tells then, before the
#                        bar reserves a strip of its own).
#   desktop_has_tray     whether the desktop has a system tray
#   desktop_tray_shows_icons   whether Wine's icon there shows and answers clicks
#   desktop_paints_unmanaged_on_top   whether its compositor shows the bar over every window
#   desktop_has_top_panel   whether a panel reserves a strip along the top
. "$(dirname "${BASH_SOURCE[0]}")/../desktop/companions.sh"   # x_work_area

DESKTOPS="icewm openbox-trayer xfce lxde tint2 fluxbox"
desktop_name=
desktop_area_top=
desktop_area_bottom=
desktop_tray=

desktop_has_tray() { [ "$desktop_tray" = yes ]; }
# whether Wine's icon in that tray shows and takes clicks: fluxbox's tray places the icon by
# a synthetic ConfigureNotify in the slot's coordinates, which Wine 8 takes as the screen's
# (see the README), and the icon is lost; the minimised box brings the window back there
# whether the window manager's compositor paints windows it does not manage (the bar, Wine's
# menus) over all the others, whatever the X stacking says: xfwm4's, on by default (see the
# README)
desktop_paints_unmanaged_on_top() { [ "$desktop_name" = xfce ]; }
desktop_tray_shows_icons() { desktop_has_tray && [ "$desktop_name" != fluxbox ]; }
desktop_has_top_panel() { [ "$desktop_area_top" -gt 0 ]; }

# Wine's icon windows in the desktop's tray (its desktop process's small windows): "x y" of
# the middle of the first, or none; and how many there are
tray_icon_places() {
    local id x='' y='' w='' h=''
    for id in $(xdotool search --onlyvisible --classname '^explorer\.exe$' 2>/dev/null); do
        eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ { print "x=" $NF }
            /Absolute upper-left Y/ { print "y=" $NF } /Width/ { print "w=" $NF } /Height/ { print "h=" $NF }')"
        if [ "$w" -gt 1 ] && [ "$w" -le 32 ] && [ "$h" -gt 1 ] && [ "$h" -le 32 ]; then
            echo "$((x + w / 2)) $((y + h / 2))"
        fi
    done
}
tray_icon() { local first; first=$(tray_icon_places | head -n1); echo "${first:-none}"; }
tray_icons() { tray_icon_places | wc -l; }

# the X selection a system tray holds on screen 0
tray_owner() {
    /usr/bin/python3 -c 'from Xlib import display
d = display.Display()
owner = d.get_selection_owner(d.intern_atom("_NET_SYSTEM_TRAY_S0"))
print(getattr(owner, "id", owner))' 2>/dev/null || echo 0
}

# desktop_run COMMAND...: one of the desktop's programs, in the background, with the
# desktop's own home and settings
desktop_run() {
    HOME=$work/desktop XDG_CONFIG_HOME=$work/desktop/.config "$@" </dev/null >>"$work/desktop.log" 2>&1 &
    pids+=($!)
}

# the window manager's check window on the root, which it sets once it manages windows
window_manager_up() {
    local id
    id=$(xprop -root -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ { print $NF }')
    [ -n "$id" ] && xwininfo -id "$id" >/dev/null 2>&1
}

start_desktop() {
    desktop_name=$1
    local home=$work/desktop strips=bottom
    local config=$home/.config
    desktop_tray=yes   # each of these six has one; a desktop without would say no here
    mkdir -p "$config"
    case $desktop_name in
        icewm)
            mkdir -p "$home/.icewm"
            printf '%s\n' TaskBarShowClock=0 TaskBarShowCPUStatus=0 TaskBarShowNetStatus=0 \
                TaskBarShowMEMStatus=0 TaskBarShowApm=0 >"$home/.icewm/preferences"
            desktop_run icewm ;;
        openbox-trayer)
            start_desktop_openbox
            desktop_run trayer --edge bottom --widthtype percent --width 100 --height 30 \
                --SetDockType true --SetPartialStrut true --transparent false ;;
        xfce)
            # xfwm4 and the panel keep their settings in xfconfd, which a session bus starts
            mkdir -p "$config/xfce4/xfconf/xfce-perchannel-xml"
            write_xfce_panels >"$config/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml"
            desktop_run dbus-daemon --session --nofork --print-address=1 --nopidfile
            # dbus-daemon's output goes to the log: its address is its first line there
            wait_until 'grep -q "^unix:" "$work/desktop.log"' 10 || fail "no session bus: $(cat "$work/desktop.log")"
            local bus
            bus=$(grep -m1 '^unix:' "$work/desktop.log")
            DBUS_SESSION_BUS_ADDRESS=$bus desktop_run xfwm4 --sm-client-disable
            wait_until window_manager_up 60 || fail "xfwm4 did not start: $(cat "$work/desktop.log")"
            DBUS_SESSION_BUS_ADDRESS=$bus desktop_run xfce4-panel --sm-client-disable
            strips="top bottom" ;;
        lxde)
            start_desktop_openbox
            mkdir -p "$config/lxpanel/LXDE/panels"
            write_lxpanel top 'Plugin {
    type = space
    expand = 1
}
Plugin {
    type = tray
}' >"$config/lxpanel/LXDE/panels/top"
            write_lxpanel bottom 'Plugin {
    type = wincmd
    Config {
        Button1 = iconify
        Button2 = shade
    }
}
Plugin {
    type = taskbar
    expand = 1
}' >"$config/lxpanel/LXDE/panels/bottom"
            desktop_run lxpanel --profile LXDE
            strips="top bottom" ;;
        tint2)
            start_desktop_openbox
            mkdir -p "$config/tint2"
            # its taskbar and tray; not its clock, nor launchers of programs not installed
            sed 's/^panel_items = .*/panel_items = TS/' /etc/xdg/tint2/tint2rc >"$config/tint2/tint2rc"
            desktop_run tint2 ;;
        fluxbox)
            mkdir -p "$home/.fluxbox"
            grep -v -e '^session.screen0.toolbar.tools' /etc/X11/fluxbox/init >"$home/.fluxbox/init"
            printf '\n%s\n' 'session.screen0.toolbar.tools: prevworkspace, workspacename, nextworkspace, iconbar, systemtray' \
                'session.screen0.toolbar.placement: BottomCenter' >>"$home/.fluxbox/init"
            # the style's wallpaper wants a program that sets it, or says so in a window
            echo 'background: none' >"$home/.fluxbox/overlay"
            desktop_run fluxbox -rc "$home/.fluxbox/init" ;;
        *) fail "no desktop called '$desktop_name' (there are: $DESKTOPS)" ;;
    esac
    wait_until desktop_strips_reserved 60 ||
        fail "the $desktop_name desktop reserved no strip for its panels ($strips): work area '$(x_work_area 2>/dev/null)'; $(cat "$work/desktop.log")"
    [ "$desktop_tray" = yes ] && { wait_until '[ "$(tray_owner)" != 0 ]' 30 || fail "the $desktop_name desktop has no tray"; }
    # panels that have just reserved their strips may still be laying out their contents
    sleep 1
    # shellcheck disable=SC2034 # for the scripts that source this file
    read -r _ desktop_area_top _ desktop_area_bottom <<<"$(x_work_area)"
}

# the panels' strips kept out of the work area: the bottom one, and the top one where there is
desktop_strips_reserved() {
    local top bottom
    read -r _ top _ bottom <<<"$(x_work_area 2>/dev/null || echo 0 0 0 0)"
    [ "$bottom" -gt 0 ] && [ "$bottom" -lt "$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')" ] &&
        { [ "$strips" = bottom ] || [ "$top" -gt 0 ]; }
}

# openbox as start_openbox starts it, with the desktop's home
start_desktop_openbox() {
    local started=$work/desktop/openbox.started
    desktop_run openbox --sm-disable --startup "touch '$started'"
    wait_until '[ -e "$started" ]' 60 || fail "openbox did not start: $(cat "$work/desktop.log")"
}

# write_lxpanel EDGE PLUGINS: an lxpanel panel along EDGE, as lxpanel's own two panels are
write_lxpanel() {
    printf 'Global {
    edge = %s
    align = left
    widthtype = percent
    width = 100
    height = 26
    transparent = 0
    setdocktype = 1
    setpartialstrut = 1
}
%s
' "$1" "$2"
}

# Xfce's two panels as it first starts them, less what changes by itself (the clock) and
# what needs other Xfce programs (the power and sound plugins); the bottom one always shown
# rather than hidden when a window comes near, so that it reserves its strip
write_xfce_panels() {
    cat <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <value type="int" value="2"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="icon-size" type="uint" value="16"/>
      <property name="size" type="uint" value="26"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
        <value type="int" value="3"/>
        <value type="int" value="6"/>
      </property>
    </property>
    <property name="panel-2" type="empty">
      <property name="position" type="string" value="p=10;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="48"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="15"/>
        <value type="int" value="16"/>
        <value type="int" value="22"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="applicationsmenu"/>
    <property name="plugin-2" type="string" value="tasklist">
      <property name="grouping" type="uint" value="1"/>
    </property>
    <property name="plugin-3" type="string" value="separator">
      <property name="expand" type="bool" value="true"/>
      <property name="style" type="uint" value="0"/>
    </property>
    <property name="plugin-6" type="string" value="systray">
      <property name="square-icons" type="bool" value="true"/>
    </property>
    <property name="plugin-15" type="string" value="showdesktop"/>
    <property name="plugin-16" type="string" value="separator"/>
    <property name="plugin-22" type="string" value="directorymenu"/>
  </property>
</channel>
EOF
}
