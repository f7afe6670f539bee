#!/usr/bin/env bash
# Writes vsthost's manual page (troff) to standard output, made from the help texts the program
# prints, so the page always says what the binary does:  vsthost-manpage.sh VSTHOST VERSION
# The date is SOURCE_DATE_EPOCH's (default: now).
set -euo pipefail
vsthost=${1:?usage: vsthost-manpage.sh VSTHOST VERSION}
version=${2:?usage: vsthost-manpage.sh VSTHOST VERSION}
date=$(date -u --date="@${SOURCE_DATE_EPOCH:-$(date +%s)}" +%Y-%m-%d)

# Help text as literal lines: backslashes doubled, lines starting with a dot or quote protected.
literal() { printf '.nf\n'; sed -e 's/\\/\\e/g' -e 's/^[.'"'"']/\\\&&/'; printf '.fi\n'; }

cat <<HEAD
.TH VSTHOST 1 "$date" "vsthost $version" "User Commands"
.SH NAME
vsthost \\- command-line VST 2 plug-in host
.SH SYNOPSIS
.B vsthost
.I COMMAND
[\\fIoptions\\fR]
.SH DESCRIPTION
.B vsthost
loads a VST 2 module (a Linux shared object such as
.IR /usr/lib/vst/vesmar.so ),
reports what it offers, renders audio offline with MIDI, saves and restores the plug-in's
state as .fxp and .fxb files, compares audio files, scans folders of modules and drives
the plug-in's editor with scripted input.
.PP
HEAD
"$vsthost" --help | literal
for command in info render chunk compare scan editor; do
  printf '.SH "%s"\n' "$(tr '[:lower:]' '[:upper:]' <<<"vsthost $command")"
  # Every command's help ends with the exit statuses, which the overview already lists.
  "$vsthost" "$command" --help | sed '/^Exit status:/,$d' | literal
done
cat <<TAIL
.SH EXAMPLES
.nf
vsthost info /usr/lib/vst/vesmar.so
vsthost render /usr/lib/vst/vesmar.so \\-\\-demo \\-o demo.wav
.fi
.SH AUTHOR
Darvo, https://darvo.audio/plugins/vesmar
TAIL
