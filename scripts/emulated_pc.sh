# An emulated x86 PC for machines that run no 32-bit x86 code, where Wine cannot start:
# Debian with Wine on a disk image of its own, run by QEMU's software emulation with no
# network. The checkout, the build folder and the current directory are shared into it at
# the same paths, so a script runs there as it would here. Sourced by common.sh.

PC_DIR=${VELMOR_PC_DIR:-/var/cache/velmor-pc}
PC_SUITE=bookworm
PC_DISK_SIZE=6G
PC_MEMORY=6G
# CI ends a run at 90 minutes; the PC is stopped well before, so its log can still be read
PC_TIME_LIMIT=75m
# a test there takes several times as long as on a machine that runs Wine itself (the
# slowest, 25 programs started and closed, about a minute), and its time limit is longer too
PC_TIME_SCALE=4
# where the Wine prefixes live inside the PC: on its own disk, not in a shared folder
PC_PREFIX_DIR=/var/lib/velmor

# Changes whenever what goes onto the disk image changes.
pc_stamp() {
    { echo "$PC_SUITE $PC_PACKAGES $RUN_PACKAGES $WINE32_PACKAGES"; cat "$VELMOR_ROOT/scripts/pc-init.sh"; } | sha256sum | cut -c1-16
}

# Builds the disk image once: Debian by debootstrap, Wine and the test tools by apt in a
# chroot, our first process, then one ext4 file system made from that folder.
prepare_emulated_pc() {
    local stamp root mirror p
    stamp=$(pc_stamp)
    mkdir -p "$PC_DIR"
    exec 8>"$PC_DIR/lock"
    flock 8
    if [ "$(cat "$PC_DIR/stamp" 2>/dev/null)" != "$stamp" ]; then
        echo "preparing the emulated PC (first run only, about six minutes)…"
        root=$PC_DIR/root
        # an earlier try that was cut short may have left the host's /dev mounted in there
        for p in $CHROOT_MOUNTS; do umount -l "$root/$p" 2>/dev/null || true; done
        rm -rf --one-file-system "$root" "$PC_DIR/disk.img" "$PC_DIR/stamp"
        mirror=$(debian_mirror)
        if ! debootstrap --variant=minbase --arch=amd64 "$PC_SUITE" "$root" "$mirror" >"$PC_DIR/debootstrap.log" 2>&1; then
            echo "debootstrap could not set up the emulated PC; see $PC_DIR/debootstrap.log" >&2
            return 1
        fi
        printf 'deb %s %s main\ndeb %s %s-updates main\n' "$mirror" "$PC_SUITE" "$mirror" "$PC_SUITE" >"$root/etc/apt/sources.list"
        install_packages_into "$root" $PC_PACKAGES $RUN_PACKAGES $WINE32_PACKAGES || return 1
        install -m 755 "$VELMOR_ROOT/scripts/pc-init.sh" "$root/sbin/velmor-init"
        cp "$root"/boot/vmlinuz-* "$PC_DIR/vmlinuz"
        cp "$root"/boot/initrd.img-* "$PC_DIR/initrd.img"
        rm -rf "$root"/usr/share/doc "$root"/usr/share/man "$root"/var/cache/apt/archives/*.deb "$root"/var/lib/apt/lists/*
        mkfs.ext4 -q -F -L velmor-pc -d "$root" "$PC_DIR/disk.img" "$PC_DISK_SIZE"
        rm -rf --one-file-system "$root"
        echo "$stamp" >"$PC_DIR/stamp"
    fi
    exec 8>&-
}

# run_in_emulated_pc COMMAND...: runs COMMAND in the PC from the current directory, with our
# VELMOR_* settings; its output is ours and its status is the return value.
run_in_emulated_pc() {
    local job=$BUILD_DIR/pc-job.sh status=$BUILD_DIR/pc-status console=$BUILD_DIR/pc-console.log
    local shares=() share path n=0 name drives=() append here=$PWD
    # a share there would hide the PC's own folder (its /tmp holds Wine's and X's sockets)
    case $here in
        /|/bin|/boot|/dev|/etc|/lib*|/proc|/root|/run|/sbin|/sys|/tmp|/usr|/var)
            here=$BUILD_DIR
            echo "the emulated PC needs a $PWD of its own, so this runs in $here" >&2 ;;
    esac
    for path in "$VELMOR_ROOT" "$BUILD_DIR" "$here"; do
        for share in "${shares[@]}"; do
            case $path/ in "$share"/*) continue 2 ;; esac
        done
        shares+=("$path")
    done
    {
        printf 'cd %q\n' "$here"
        for name in $(compgen -e | grep -E '^(VELMOR_|CI$|IDLE_SECONDS$|BASELINE_BUILD$)'); do
            printf 'export %s=%q\n' "$name" "${!name}"
        done
        printf 'export BUILD_DIR=%q VELMOR_IN_PC=1 VELMOR_PREFIX_DIR=%q\n' "$BUILD_DIR" "$PC_PREFIX_DIR"
        printf '%q ' "$@"
        printf '\necho $? >%q\n' "$status"
    } >"$job"
    rm -f "$status"
    append="root=/dev/vda rw console=ttyS0 quiet panic=-1 init=/sbin/velmor-init velmor_job=$job"
    for share in "${shares[@]}"; do
        drives+=(-virtfs "local,path=$share,mount_tag=velmor$n,security_model=none")
        append+=" velmor_share$n=$share"
        n=$((n + 1))
    done
    timeout "$PC_TIME_LIMIT" qemu-system-x86_64 -accel tcg,thread=multi -cpu qemu64 \
        -smp "$(nproc)" -m "$PC_MEMORY" -display none -monitor none -no-reboot -snapshot \
        -drive "file=$PC_DIR/disk.img,format=raw,if=virtio" -nic none "${drives[@]}" \
        -serial "file:$console" -chardev stdio,id=job -serial chardev:job \
        -kernel "$PC_DIR/vmlinuz" -initrd "$PC_DIR/initrd.img" -append "$append" </dev/null
    if [ ! -s "$status" ]; then
        echo "the emulated PC stopped before its job ended; see $console" >&2
        return 1
    fi
    return "$(cat "$status")"
}
