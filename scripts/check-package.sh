#!/usr/bin/env bash
# Builds the Debian package in the build folder (cpack -G DEB) and checks
# it: the files it must hold (dpkg-deb -c), its dependencies worked out by
# dpkg-shlibdeps, and lintian, which must report no error and no warning.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QG_BUILD_DIR:-build}"
cmake --build "$dir" --parallel "$(nproc)" --target quillgrid quillgrid-cli quillgrid_icons \
    man_quillgrid.1 man_quillgrid-cli.1 package_changelog >/dev/null
version=$(sed -n 's/^project(Quillgrid5 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb="$dir/quillgrid_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$dir" && cpack -G DEB >/dev/null 2>&1) || { echo "package: cpack failed"; exit 1; }

failed=0
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in \
    usr/bin/quillgrid usr/bin/quillgrid-cli \
    usr/share/applications/org.quillgrid.Quillgrid5.desktop \
    usr/share/icons/hicolor/scalable/apps/org.quillgrid.Quillgrid5.svg \
    usr/share/mime/packages/quillgrid.xml \
    usr/share/man/man1/quillgrid.1.gz usr/share/man/man1/quillgrid-cli.1.gz \
    usr/share/bash-completion/completions/quillgrid \
    usr/share/bash-completion/completions/quillgrid-cli \
    usr/share/doc/quillgrid/copyright usr/share/doc/quillgrid/changelog.gz; do
    if ! grep -qx "\./$file" <<<"$contents"; then
        echo "package: $file is missing from $deb"
        failed=1
    fi
done
if grep -v '^\./usr/' <<<"$contents" | grep -qv '^\./$'; then
    echo "package: files outside /usr:"
    grep -v '^\./usr/' <<<"$contents" | grep -v '^\./$'
    failed=1
fi
if ! dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6'; then
    echo "package: no dependencies worked out: $(dpkg-deb -f "$deb" Depends)"
    failed=1
fi
# Maintainer scripts: none; the caches follow through triggers.
if dpkg-deb -I "$deb" | grep -Eq ' (pre|post)(inst|rm) '; then
    echo "package: it has maintainer scripts"
    failed=1
fi
if ! report=$(lintian --fail-on error,warning "$deb" 2>&1); then
    failed=1
fi
grep -v 'running with root privileges' <<<"$report" || true
[ "$failed" -eq 0 ] && echo "package: $deb holds what it should; lintian has no error or warning"
exit "$failed"
