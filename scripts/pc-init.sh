#!/bin/sh
# The first and only process of the emulated x86 PC (scripts/emulated_pc.sh): it mounts what
# programs expect and the host's shared folders, runs the job the host wrote, and powers off.
# The kernel hands the rest of its command line over as variables: velmor_shareN (the path
# of shared folder N, mounted at the same path as on the host) and velmor_job.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
mount -t proc proc /proc
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
modprobe 9pnet_virtio
modprobe 9p
for n in 0 1 2; do
    eval path=\$velmor_share$n
    [ -n "$path" ] || continue
    mkdir -p "$path"
    # loose: with the other cache modes Wine reads wrong bytes from the programs it maps
    mount -t 9p -o trans=virtio,version=9p2000.L,msize=1048576,cache=loose "velmor$n" "$path"
done
hostname velmor-pc
# the job speaks on the second serial port, which the host shows as its own output
stty -F /dev/ttyS1 raw -echo
# shellcheck disable=SC2154 # velmor_job comes from the kernel's command line
bash "$velmor_job" </dev/null >/dev/ttyS1 2>&1
sync
echo o >/proc/sysrq-trigger
sleep 60
