# Sourced by the scripts that a Windows test program starts through Wine's Unix side.
#
# Wine hands its own descriptors (its server connection among them) to the Unix programs it
# starts; what runs on in the background must not keep them, or the server never sees the
# test program end. Called first thing in each background subshell.
close_inherited() {
  local fd
  for fd in $(ls /proc/$BASHPID/fd); do
    if ((fd > 2)); then eval "exec $fd>&-"; fi
  done 2>/dev/null
}
