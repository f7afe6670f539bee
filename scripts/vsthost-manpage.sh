#!/usr/bin/env bash
# Writes vsthost's manual page (troff) to standard output:  vsthost-manpage.sh VSTHOST VERSION
# The prose is docs/vsthost.md, converted here; the option reference is the help texts the program
# prints, so the page says what the binary does and nothing is written twice. The converter knows
# the Markdown that manual uses: ## and ### headings, paragraphs, "- " lists, ``` blocks, `code`,
# **bold** and [links](target); anything else (a table, say) stops it with an error.
# The date is SOURCE_DATE_EPOCH's (default: now).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
vsthost=${1:?usage: vsthost-manpage.sh VSTHOST VERSION}
version=${2:?usage: vsthost-manpage.sh VSTHOST VERSION}
date=$(date -u --date="@${SOURCE_DATE_EPOCH:-$(date +%s)}" +%Y-%m-%d)

# Help text as literal lines: backslashes doubled, lines starting with a dot or quote protected,
# dashes as the minus signs a reader copies into a shell.
literal() { printf '.nf\n'; sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e 's/^[.'"'"']/\\\&&/'; printf '.fi\n'; }

# Markdown to man(7): one line in, troff lines out.
markdown() {
  awk '
    function fail(why) { printf "vsthost-manpage.sh: docs/vsthost.md:%d: %s\n", NR, why > "/dev/stderr"; bad = 1; exit 1 }
    function troff(s) { gsub(/\\/, "\\e", s); return s }
    function code(s) { s = troff(s); gsub(/-/, "\\-", s); return s }
    function protect(s) { return (s ~ /^[.\047]/) ? "\\&" s : s }
    # **bold** as bold, [text](target) as its text.
    function marks(s,   out, m) {
      out = ""
      while (match(s, /\*\*[^*]+\*\*|\[[^]]+\]\([^)]+\)/)) {
        m = substr(s, RSTART, RLENGTH)
        out = out substr(s, 1, RSTART - 1)
        out = out (m ~ /^\*/ ? "\\fB" substr(m, 3, RLENGTH - 4) "\\fR" : substr(m, 2, index(m, "](") - 2))
        s = substr(s, RSTART + RLENGTH)
      }
      return out s
    }
    function inline(s,   out, n, parts, i) {
      n = split(s, parts, "`")
      if (n % 2 == 0) fail("unbalanced backquote")
      out = ""
      for (i = 1; i <= n; i++) {
        if (i % 2 == 0) { out = out "\\fB" code(parts[i]) "\\fR"; continue }
        out = out marks(troff(parts[i]))
      }
      return protect(out)
    }
    /^```/ { if (fenced) { print ".fi"; print ".RE" } else { print ".PP"; print ".RS 4"; print ".nf" }
             fenced = !fenced; para = 0; next }
    fenced { print protect(code($0)); next }
    /^# / { next }
    /^## / { printf ".SH \"%s\"\n", toupper(substr($0, 4)); para = 0; next }
    /^### / { printf ".SS \"%s\"\n", substr($0, 5); para = 0; next }
    /^\|/ || /^#/ || /^ *[*+] / || /^ *[0-9]+\. / || /!\[/ { fail("Markdown the converter does not know") }
    /^$/ { para = 0; next }
    /^- / { print ".IP \\(bu 2"; print inline(substr($0, 3)); para = 1; next }
    { if (!para) print ".PP"; para = 1; sub(/^ +/, ""); print inline($0) }
    END { if (!bad && fenced) fail("unterminated code block") }
  ' "$root/docs/vsthost.md"
}

cat <<HEAD
.TH VSTHOST 1 "$date" "vsthost $version" "User Commands"
.SH NAME
vsthost \\- command-line VST 2 plug-in host
.SH SYNOPSIS
.B vsthost
.I COMMAND
[\\fIoptions\\fR]
.SH DESCRIPTION
HEAD
markdown
printf '.SH "OPTIONS AND EXIT STATUS"\n'
"$vsthost" --help | literal
for command in info render chunk compare scan editor validate; do
  printf '.SS "vsthost %s"\n' "$command"
  # Every command's help ends with the exit statuses, which the overview already lists.
  "$vsthost" "$command" --help | sed '/^Exit status:/,$d' | literal
done
cat <<TAIL
.SH AUTHOR
Darvo, https://darvo.audio/plugins/vesmar
TAIL
