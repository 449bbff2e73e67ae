#!/usr/bin/env bash
# How the Windows build finds the archive and checks what it fetches from it, against a fake
# archive of our own (file:// URIs, signed with a key made here), named by apt sources that
# APT_CONFIG points apt-config at:
#   sources  the Debian archive is read from deb822 and one-line entries, skipping disabled,
#            deb-src-only, security and other suites' entries, with the entry's Signed-By
#   chain    a good chain delivers the file; an index signed by a key the archive's keyring
#            lacks, a Sources.xz or tarball that differs from its signed checksum, a version
#            the index lacks, or no source entry at all stops with one line and delivers nothing
# source_fetch.sh CASE, from the repository root.
set -u -o pipefail
case_name=$1
root=$(pwd)
work=$(mktemp -d)
export GNUPGHOME="$work/gnupg"
cleanup() {
  gpgconf --kill gpg-agent 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$root/scripts/apt-archive.sh"
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")

# apt's configuration pointed at $work/etc: sources.list and sources.list.d/ as written there.
mkdir -p "$work/etc/sources.list.d" "$work/etc/apt.conf.d" "$work/etc/preferences.d"
echo "Dir::Etc \"$work/etc/\";" > "$work/apt.conf"
export APT_CONFIG="$work/apt.conf"

# Prints what apt_archive finds for the suite, or "none".
archive_found() { apt_archive "$suite" 2> /dev/null || echo none; }

case "$case_name" in
  sources)
    cat > "$work/etc/sources.list.d/a.sources" <<EOF
# a comment
Types: deb-src
URIs: http://src.example.invalid/debian
Suites: $suite
Components: main

Types: deb
URIs: http://security.example.invalid/debian-security
Suites: $suite-security
Components: main

Enabled: no
Types: deb
URIs: http://off.example.invalid/debian
Suites: $suite
Components: main

Types: deb
URIs: http://contrib.example.invalid/debian
Suites: $suite
Components: contrib non-free
EOF
    [ "$(archive_found)" = none ] || fail "found $(archive_found) where no entry serves $suite main"
    cat >> "$work/etc/sources.list.d/a.sources" <<EOF

Types: deb
URIs: http://mirror.example.invalid/debian/
  http://second.example.invalid/debian
Suites: other $suite
Components: contrib
 main
Signed-By: /keys/archive.gpg
EOF
    [ "$(archive_found)" = "http://mirror.example.invalid/debian /keys/archive.gpg" ] ||
      fail "deb822: found $(archive_found)"
    rm "$work/etc/sources.list.d/a.sources"
    cat > "$work/etc/sources.list" <<EOF
# deb http://commented.example.invalid/debian $suite main
deb-src http://src.example.invalid/debian $suite main
deb http://other.example.invalid/debian $suite-updates main
  deb [ arch=amd64 signed-by=/keys/one.gpg ] http://one.example.invalid/debian $suite contrib main # note
EOF
    [ "$(archive_found)" = "http://one.example.invalid/debian /keys/one.gpg" ] ||
      fail "one-line: found $(archive_found)"
    echo "deb http://plain.example.invalid/debian/ $suite main" > "$work/etc/sources.list"
    [ "$(archive_found)" = "http://plain.example.invalid/debian $apt_archive_default_keyring" ] ||
      fail "one-line without signed-by: found $(archive_found)"
    ;;
  chain)
    # The fake archive: a pool file, its source index and the signed release file naming it.
    archive="$work/archive"
    pool="pool/main/d/demo"
    mkdir -p "$archive/$pool" "$archive/dists/other/main/source" "$GNUPGHOME"
    chmod 700 "$GNUPGHOME"
    echo "the demo source" > "$archive/$pool/demo_2.0.orig.tar.gz"
    stanza() {  # VERSION FILE: a Sources stanza for demo VERSION listing FILE's checksum
      echo "Package: demo"
      echo "Version: $1"
      echo "Checksums-Sha256:"
      echo " $(sha256sum "$2" | cut -d ' ' -f 1) $(stat -c %s "$2") $(basename "$2")"
      echo "Directory: $pool"
      echo
    }
    { echo "Package: demo-other"; echo "Version: 1:2.0-1"; echo "Directory: pool/x"; echo
      stanza 1:2.0-1 "$archive/$pool/demo_2.0.orig.tar.gz"; } |
      xz > "$archive/dists/other/main/source/Sources.xz"
    # sign KEY: (re)writes the release file signed by KEY.
    sign() {
      local index="$archive/dists/other/main/source/Sources.xz"
      printf 'Codename: other\nSHA256:\n %s %s main/source/Sources.xz\n' \
        "$(sha256sum "$index" | cut -d ' ' -f 1)" "$(stat -c %s "$index")" > "$work/Release"
      rm -f "$archive/dists/other/InRelease"
      gpg --batch -q --local-user "$1" --clearsign -o "$archive/dists/other/InRelease" \
        "$work/Release" || fail "gpg could not sign"
    }
    for key in trusted stranger; do
      gpg --batch -q --passphrase '' --quick-gen-key "$key <$key@example.invalid>" ed25519 sign never ||
        fail "gpg could not make a key"
    done
    gpg --batch -q --export trusted > "$work/trusted.gpg"
    printf 'Types: deb\nURIs: file://%s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
      "$archive" "$suite" "$work/trusted.gpg" > "$work/etc/sources.list.d/fake.sources"

    # fetch VERSION: runs the fetch into $work/out; its status, standard error in $work/err.
    fetch() {
      rm -rf "$work/out"
      bash "$root/scripts/fetch-source-tarball" other demo "$1" demo_2.0.orig.tar.gz "$work/out" \
        > "$work/stdout" 2> "$work/err"
    }
    # refused WHAT PATTERN [VERSION]: the fetch must fail, with PATTERN in its one line, no file.
    refused() {
      fetch "${3:-1:2.0-1}" && fail "$1: the fetch succeeded"
      grep -q "$2" "$work/err" || fail "$1: said $(cat "$work/err"), not $2"
      [ "$(wc -l < "$work/err")" -eq 1 ] || fail "$1: more than one line: $(cat "$work/err")"
      [ ! -e "$work/out/demo_2.0.orig.tar.gz" ] || fail "$1: the file was delivered"
    }

    sign trusted
    fetch 1:2.0-1 || fail "a good chain failed: $(cat "$work/err")"
    cmp -s "$work/out/demo_2.0.orig.tar.gz" "$archive/$pool/demo_2.0.orig.tar.gz" ||
      fail "a good chain delivered something else"
    [ "$(cat "$work/stdout")" = "$work/out/demo_2.0.orig.tar.gz" ] || fail "printed $(cat "$work/stdout")"

    refused "version missing" "lists no demo 1:2.0-2" 1:2.0-2
    sign stranger
    refused "signed by a stranger" "InRelease .* does not verify with $work/trusted.gpg"
    sign trusted
    # A signed release whose text was changed after signing.
    sed -i 's/Codename: other/Codename: tampered/' "$archive/dists/other/InRelease"
    refused "release edited after signing" "does not verify"
    sign trusted
    echo "extra" | xz >> "$archive/dists/other/main/source/Sources.xz"
    refused "index changed" "Sources.xz does not match the SHA-256 in other's signed InRelease"
    stanza 1:2.0-1 "$archive/$pool/demo_2.0.orig.tar.gz" | xz > "$archive/dists/other/main/source/Sources.xz"
    sign trusted
    echo "a changed byte" >> "$archive/$pool/demo_2.0.orig.tar.gz"
    refused "tarball changed" "demo_2.0.orig.tar.gz does not match the SHA-256 other's Sources lists"
    rm "$work/etc/sources.list.d/fake.sources"
    refused "no source entry" "no apt source entry"
    ;;
  *)
    echo "source_fetch.sh: unknown case $case_name" >&2
    exit 2
    ;;
esac
echo "source_fetch $case_name: ok"
