# shellcheck shell=bash
# The chroot route, for machines that run 32-bit x86 code but whose own Wine lacks its
# 32-bit half: the Debian folder that scripts/debian_folder makes, with Wine's both halves
# from one suite, used as a chroot, so the shipped build's tests run natively there with
# Xvfb, the window managers, the fonts and Wine all from that folder. Sourced by scripts/check.

# run_in_chroot COMMAND...: runs COMMAND in the chroot from the current directory, with our
# VELMOR_* settings and Wine prefixes of the chroot's own in the build folder; its output
# is ours and its status is the return value.
run_in_chroot() {
    local job=$BUILD_DIR/chroot-job.sh
    write_guest_job "$job" chroot "$BUILD_DIR/chroot" "$@"
    # shared: scripts/debian_folder waits for every run to end before it makes the folder again
    as_root flock -s "$CHROOT_DIR/lock" unshare -m "$VELMOR_ROOT/scripts/chroot-init.sh" \
        "$CHROOT_DIR/root" "$(id -u)" "$(id -g)" "$job" "${GUEST_SHARES[@]}"
}
