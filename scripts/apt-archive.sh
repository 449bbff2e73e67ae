# Sourced, not run: the Debian archive this machine's apt already uses, read from apt's own
# sources (the files apt-config names, so APT_CONFIG points it elsewhere), so that nothing in
# the repository names a host.
#
# How to use:
#   source scripts/apt-archive.sh
#   read -r uri keyring < <(apt_archive bookworm) || exit 1
#   # uri: the first enabled `deb` entry for that suite with the main component, without a
#   # trailing slash; keyring: the key file it is signed by (Signed-By), or Debian's keyring

# The keyring an entry that names none is checked with.
apt_archive_default_keyring=/usr/share/keyrings/debian-archive-keyring.gpg

# Prints "URI KEYRING" for SUITE's archive; status 1 and one line on standard error when no
# source entry serves it.
apt_archive() {
  local suite=$1 etc list parts file found=""
  eval "$(apt-config shell etc Dir::Etc/d list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
  for file in "${parts:-/etc/apt/sources.list.d/}"*.sources; do
    [ -f "$file" ] || continue
    found=$(apt_archive_deb822 "$suite" < "$file")
    [ -n "$found" ] && break
  done
  if [ -z "$found" ]; then
    for file in "${list:-/etc/apt/sources.list}" "${parts:-/etc/apt/sources.list.d/}"*.list; do
      [ -f "$file" ] || continue
      found=$(apt_archive_one_line "$suite" < "$file")
      [ -n "$found" ] && break
    done
  fi
  if [ -z "$found" ]; then
    echo "apt-archive: no apt source entry (deb, $suite, main) in ${list:-/etc/apt/sources.list} or ${parts:-/etc/apt/sources.list.d/}" >&2
    return 1
  fi
  echo "$found"
}

# deb822 stanzas (*.sources) on standard input: the first match, as apt_archive prints it.
apt_archive_deb822() {
  awk -v suite="$1" -v keyring="$apt_archive_default_keyring" '
    function has(list, word,    n, i, w) {
      n = split(list, w, /[ \t]+/)
      for (i = 1; i <= n; i++) if (w[i] == word) return 1
      return 0
    }
    function stanza_end(    uri) {
      if (f["types"] != "" && has(f["types"], "deb") && has(f["suites"], suite) &&
          has(f["components"], "main") && tolower(f["enabled"]) != "no" && f["uris"] != "") {
        split(f["uris"], u, /[ \t]+/)
        uri = u[1]
        sub(/\/+$/, "", uri)
        print uri, (f["signed-by"] != "" && f["signed-by"] !~ /[ \t]/ ? f["signed-by"] : keyring)
        found = 1
        exit
      }
      delete f
      key = ""
    }
    /^#/ { next }
    /^[ \t]*$/ { stanza_end(); next }
    /^[ \t]/ { if (key != "") { line = $0; gsub(/^[ \t]+|[ \t]+$/, "", line); f[key] = f[key] " " line } next }
    {
      key = tolower(substr($0, 1, index($0, ":") - 1))
      value = substr($0, index($0, ":") + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", value)
      f[key] = value
    }
    END { if (!found) stanza_end() }
  '
}

# One-line entries (sources.list) on standard input: the first match, as apt_archive prints it.
apt_archive_one_line() {
  awk -v suite="$1" -v keyring="$apt_archive_default_keyring" '
    { sub(/#.*/, "") }
    $1 != "deb" { next }
    {
      key = keyring
      line = $0
      if (match(line, /\[[^]]*\]/)) {
        n = split(substr(line, RSTART + 1, RLENGTH - 2), opts, /[ \t]+/)
        for (i = 1; i <= n; i++) if (tolower(opts[i]) ~ /^signed-by=/) key = substr(opts[i], 11)
        line = substr(line, 1, RSTART - 1) substr(line, RSTART + RLENGTH)
      }
      $0 = line
      if ($3 != suite) next
      for (i = 4; i <= NF; i++) if ($i == "main") {
        uri = $2
        sub(/\/+$/, "", uri)
        print uri, key
        exit
      }
    }
  '
}
