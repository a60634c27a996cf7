#!/bin/sh
# The first process of a run in the chroot (scripts/chroot.sh), in a mount namespace of its
# own: it mounts what programs expect and the host's folders at their own paths inside the
# Debian folder, then runs the job there as the user who started it. Every mount goes with
# the namespace when the job ends, so nothing is left to unmount.
#
#   chroot-init.sh ROOT UID GID JOB FOLDER...
set -eu
root=$1 uid=$2 gid=$3 job=$4
shift 4
mount --make-rprivate /
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
# of its own, as Wine's and X's sockets and locks are: two runs at once never meet
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
mount -t tmpfs -o mode=755 tmpfs "$root/run"
for path; do
    mkdir -p "$root$path"
    mount --bind "$path" "$root$path"
done
exec chroot "$root" setpriv --reuid="$uid" --regid="$gid" --clear-groups \
    env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/tmp LANG=C.UTF-8 bash "$job" </dev/null
