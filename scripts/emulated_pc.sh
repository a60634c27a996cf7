# shellcheck shell=bash
# An emulated x86 PC for machines that run no 32-bit x86 code, where Wine cannot start:
# Debian with Wine on a disk image of its own (made by scripts/debian_folder), run by QEMU's
# software emulation with no network. The checkout, the build folder and the current
# directory are shared into it at the same paths, so a script runs there as it would here.
# Sourced by scripts/check.

PC_MEMORY=6G
# CI ends a run at 90 minutes; the PC is stopped well before, so its log can still be read
PC_TIME_LIMIT=75m
# where the Wine prefixes live inside the PC: on its own disk, not in a shared folder
PC_PREFIX_DIR=/var/lib/velmor

# run_in_emulated_pc COMMAND...: runs COMMAND in the PC from the current directory, with our
# VELMOR_* settings; its output is ours and its status is the return value.
run_in_emulated_pc() {
    local job=$BUILD_DIR/pc-job.sh status=$BUILD_DIR/pc-status console=$BUILD_DIR/pc-console.log
    local share n=0 drives=() append
    write_guest_job "$job" pc "$PC_PREFIX_DIR" "$@"
    printf 'echo $? >%q\n' "$status" >>"$job"
    rm -f "$status"
    append="root=/dev/vda rw console=ttyS0 quiet panic=-1 init=/sbin/velmor-init velmor_job=$job"
    for share in "${GUEST_SHARES[@]}"; do
        drives+=(-virtfs "local,path=$share,mount_tag=velmor$n,security_model=none")
        append+=" velmor_share$n=$share"
        n=$((n + 1))
    done
    # below the twin's suite, which runs meanwhile and whose desktop tests wait on timings
    nice -n 10 timeout "$PC_TIME_LIMIT" qemu-system-x86_64 -accel tcg,thread=multi -cpu qemu64 \
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
