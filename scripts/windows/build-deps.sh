#!/usr/bin/env bash
# Builds the third-party libraries of the Windows program (static, MinGW-w64) from
# Debian's own source packages into a cache outside the tree, so that nothing
# prebuilt is downloaded and later builds reuse what is there.
#
#   scripts/windows/build-deps.sh            # every library that is not built yet
#   MORVEL_WINDOWS_CACHE=DIR ...             # another cache (default ~/.cache/morvel-windows)
#
# Each library is one step with a stamp file; a step that failed or was stopped is
# done again from its start on the next call, the others are skipped. Every step
# prints how long it took. ICU is built twice, once for this machine (its tools make
# the data) and once for Windows, and takes most of the time.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/env.sh

mkdir -p "$MORVEL_WINDOWS_CACHE"/{src,build,stamps} "$MORVEL_WINDOWS_PREFIX"/{include,lib}
jobs=$(nproc 2>/dev/null || echo 2)
host=x86_64-w64-mingw32

ensure_packages() {
  scripts/windows/bootstrap.sh
}

# Debian's source of one package, unpacked once (with Debian's patches applied).
source_of() {
  local package=$1
  local dir
  dir=$(find "$MORVEL_WINDOWS_CACHE/src" -maxdepth 1 -type d -name "$package-[0-9]*" | sort | tail -1)
  if [ -z "$dir" ]; then
    (cd "$MORVEL_WINDOWS_CACHE/src" && apt-get source -q "$package" >/dev/null 2>&1) \
      || { echo "apt-get source $package failed" >&2; return 1; }
    dir=$(find "$MORVEL_WINDOWS_CACHE/src" -maxdepth 1 -type d -name "$package-[0-9]*" | sort | tail -1)
  fi
  echo "$dir"
}

# Runs one step unless its stamp is there; its output goes to a log in the cache.
step() {
  local name=$1; shift
  local stamp="$MORVEL_WINDOWS_CACHE/stamps/$name.done"
  if [ -f "$stamp" ]; then
    echo "  $name: built already"
    return 0
  fi
  local log="$MORVEL_WINDOWS_CACHE/build/$name.log"
  local started=$SECONDS
  echo "  $name: building (log: $log)"
  if ! ( set -e; "$@" ) >"$log" 2>&1; then
    echo "  $name: FAILED after $((SECONDS - started)) s; the end of its log:" >&2
    tail -30 "$log" >&2
    return 1
  fi
  touch "$stamp"
  echo "  $name: done in $((SECONDS - started)) s"
}

fresh_build_dir() {
  rm -rf "$MORVEL_WINDOWS_CACHE/build/$1"
  mkdir -p "$MORVEL_WINDOWS_CACHE/build/$1"
  echo "$MORVEL_WINDOWS_CACHE/build/$1"
}

cross_configure() {
  "$@" --host=$host --prefix="$MORVEL_WINDOWS_PREFIX" --enable-static --disable-shared \
    CC=$host-gcc CXX=$host-g++ AR=$host-ar RANLIB=$host-ranlib \
    PKG_CONFIG_LIBDIR="$MORVEL_WINDOWS_PREFIX/lib/pkgconfig"
}

build_boost_headers() {
  # Boost is headers only for this program; the Linux package's headers serve.
  rm -f "$MORVEL_WINDOWS_PREFIX/include/boost"
  ln -s /usr/include/boost "$MORVEL_WINDOWS_PREFIX/include/boost"
}

build_pcre2() {
  local src build
  src=$(source_of pcre2); build=$(fresh_build_dir pcre2)
  cd "$build"
  cross_configure "$src/configure" --disable-pcre2grep-libz --disable-pcre2grep-libbz2 \
    --disable-pcre2test-libedit --disable-pcre2test-libreadline
  make -j"$jobs" libpcre2-8.la
  make install-libLTLIBRARIES install-includeHEADERS install-nodist_includeHEADERS install-pkgconfigDATA
}

build_curl() {
  local src build
  src=$(source_of curl); build=$(fresh_build_dir curl)
  cd "$build"
  # Plain HTTP is all the List server speaks; everything else stays out.
  cross_configure "$src/configure" --without-ssl --without-libpsl --without-brotli \
    --without-zstd --without-nghttp2 --without-libidn2 --without-libssh2 --without-librtmp \
    --with-zlib --disable-ldap --disable-ldaps --disable-rtsp --disable-dict --disable-telnet \
    --disable-tftp --disable-pop3 --disable-imap --disable-smtp --disable-gopher --disable-mqtt \
    --disable-ftp --disable-smb --disable-manual --disable-docs --enable-ipv6 \
    --with-winidn=no
  make -j"$jobs" -C lib
  make -C lib install
  make -C include install
  make install-pkgconfigDATA
}

build_libarchive() {
  local src build
  src=$(source_of libarchive); build=$(fresh_build_dir libarchive)
  # Debian's patches touch the autotools input; regenerate with this machine's
  # autotools, as Debian's own build does, instead of mixing two libtool versions.
  (cd "$src" && autoreconf -fi)
  cd "$build"
  # ZIP with deflate is what employers send; the other codecs stay out.
  cross_configure "$src/configure" --without-bz2lib --without-lzma --without-lzo2 \
    --without-zstd --without-lz4 --without-nettle --without-openssl --without-xml2 \
    --without-expat --without-libb2 --without-iconv --disable-bsdtar --disable-bsdcpio \
    --disable-bsdcat --disable-acl --disable-xattr
  make -j"$jobs" libarchive.la
  make install-libLTLIBRARIES install-includeHEADERS install-pkgconfigDATA
}

build_icu_host() {
  local src build
  src=$(source_of icu); build=$(fresh_build_dir icu-host)
  cd "$build"
  "$src/source/configure" --disable-tests --disable-samples --disable-extras
  make -j"$jobs"
}

build_icu() {
  local src build
  src=$(source_of icu); build=$(fresh_build_dir icu)
  cd "$build"
  cross_configure "$src/source/configure" --with-cross-build="$MORVEL_WINDOWS_CACHE/build/icu-host" \
    --disable-tests --disable-samples --disable-extras --disable-tools --with-data-packaging=static
  make -j"$jobs"
  make install
}

build_libxml2() {
  local src build
  src=$(source_of libxml2); build=$(fresh_build_dir libxml2)
  cd "$build"
  # ICU converts the encodings libxml2 does not know itself (windows-1251 first of all).
  cross_configure "$src/configure" --with-icu --without-iconv --without-python --without-lzma \
    --without-zlib --without-http --without-ftp --without-debug --without-readline \
    --with-threads CPPFLAGS="-DU_STATIC_IMPLEMENTATION" LIBS="-lstdc++"
  make -j"$jobs" libxml2.la
  make install-libLTLIBRARIES install-pkgconfigDATA
  make -C include install
}

started=$SECONDS
echo "Windows libraries into $MORVEL_WINDOWS_PREFIX"
ensure_packages
step boost-headers build_boost_headers
step pcre2 build_pcre2
step curl build_curl
step libarchive build_libarchive
step icu-host build_icu_host
step icu build_icu
step libxml2 build_libxml2
echo "Windows libraries ready in $((SECONDS - started)) s"
