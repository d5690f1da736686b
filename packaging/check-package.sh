#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks an installed tree (installed with the prefix /usr under a staging folder) and the
# Debian package made from the same build: every file in its place, the desktop entry and
# the metainfo valid, the icons the size their folders say, and the control fields
# complete. Prints every problem it finds and fails if there is one.
#
#   packaging/check-package.sh STAGING_FOLDER PACKAGE.deb VERSION
set -euo pipefail
if [ $# -ne 3 ]; then
    echo "usage: check-package.sh STAGING_FOLDER PACKAGE.deb VERSION" >&2
    exit 2
fi
stage=$1 deb=$2 version=$3

id=org.rovedavu.Rovedavu
desktop=usr/share/applications/$id.desktop
report_desktop=usr/share/applications/$id.Report.desktop
metainfo=usr/share/metainfo/$id.metainfo.xml
icon_sizes=(16 32 48 64 128 256)
executables=(usr/bin/rovedavu usr/libexec/rovedavu/rovedavu
    usr/libexec/rovedavu/rovedavu-working-folder usr/bin/rovedavu-report)
files=("${executables[@]}" usr/libexec/rovedavu/librovedavu_cues.so "$desktop" "$metainfo"
    "$report_desktop"
    "usr/share/icons/hicolor/scalable/apps/$id.svg"
    usr/share/rovedavu/screenshots/drill-window.png
    usr/share/rovedavu/screenshots/results-window.png
    usr/share/doc/rovedavu/copyright usr/share/doc/rovedavu/changelog.gz)
for page in rovedavu rovedavu-report; do
    files+=("usr/share/man/man1/$page.1.gz" "usr/share/man/ja/man1/$page.1.gz")
done
for size in "${icon_sizes[@]}"; do
    files+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png")
done
# What the program needs at run time, each named on its own in Depends.
needed=(libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libqt6printsupport6
    qt6-qpa-plugins fonts-ipafont-gothic qt6-translations-l10n libxlsxwriter4 libminizip1)

problems=0
problem() {
    echo "check-package: $*" >&2
    problems=$((problems + 1))
}

# --- The installed tree
for file in "${files[@]}"; do
    [ -f "$stage/$file" ] || problem "not installed: $file"
done
for file in "${executables[@]}"; do
    [ ! -f "$stage/$file" ] || [ -x "$stage/$file" ] || problem "not executable: $file"
done
# Nothing installed beyond the list.
if [ -d "$stage" ]; then
    while IFS= read -r file; do
        [[ " ${files[*]} " == *" $file "* ]] || problem "installed but not expected: $file"
    done < <(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | sort)
fi

# The launcher finds the program through its own folder.
if [ -f "$stage/usr/bin/rovedavu" ]; then
    relative=$(sed -n "s/^program='\(.*\)'\$/\1/p" "$stage/usr/bin/rovedavu")
    case $relative in
        "") problem "the launcher names no program" ;;
        /*) [ "$relative" = /usr/libexec/rovedavu/rovedavu ] ||
                problem "the launcher starts $relative" ;;
        *) [ -x "$stage/usr/bin/$relative" ] ||
                problem "the launcher's program $relative is not where it looks" ;;
    esac
fi

# A PNG's width and height, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }
for size in "${icon_sizes[@]}"; do
    file=$stage/usr/share/icons/hicolor/${size}x$size/apps/$id.png
    [ ! -f "$file" ] || [ "$(png_size "$file")" = "${size}x$size" ] ||
        problem "the ${size}x$size icon is $(png_size "$file")"
done

# Each menu entry: valid, and with the lines that put it in the menu under its Japanese name.
check_entry() { # entry lines...
    local entry=$1
    shift
    [ -f "$stage/$entry" ] || return 0
    if ! output=$(desktop-file-validate "$stage/$entry" 2>&1) || [ -n "$output" ]; then
        problem "desktop-file-validate $entry: $output"
    fi
    for line in "$@" "Icon=$id" "Categories=Education;Math;"; do
        grep -qxF "$line" "$stage/$entry" || problem "$entry lacks $line"
    done
}
check_entry "$desktop" "Name[ja]=ポルネア" "Exec=rovedavu"
check_entry "$report_desktop" "Name[ja]=ポルネア 学習履歴" "Exec=rovedavu-report"

if [ -f "$stage/$metainfo" ]; then
    output=$(appstreamcli validate --no-net "$stage/$metainfo" 2>&1) ||
        problem "appstreamcli validate: $output"
    for element in "<id>$id</id>" "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
        "<binary>rovedavu</binary>" '<name xml:lang="ja">ポルネア</name>'; do
        grep -qF "$element" "$stage/$metainfo" || problem "the metainfo lacks $element"
    done
    # Every screenshot named is installed with the program.
    while IFS= read -r picture; do
        [ -f "$stage/usr/share/rovedavu/screenshots/$picture" ] ||
            problem "screenshot $picture is not installed"
    done < <(sed -n 's|.*<image[^>]*>.*/\([^/<]*\)</image>.*|\1|p' "$stage/$metainfo")
fi

# The copyright file is in Debian's machine-readable format, with the program's licence.
copyright=$stage/usr/share/doc/rovedavu/copyright
if [ -f "$copyright" ]; then
    head -n 1 "$copyright" |
        grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
        problem "the copyright file is not in the machine-readable format"
    grep -qxF 'License: GPL-3+' "$copyright" || problem "the copyright file lacks License: GPL-3+"
fi

# --- The package
architecture=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "rovedavu_${version}_$architecture.deb" ] ||
    problem "package file name $(basename "$deb")"
if [ -f "$deb" ]; then
    listing=$(dpkg-deb -c "$deb")
    packaged=$(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' <<<"$listing" | sort)
    installed=$(printf '%s\n' "${files[@]}" | sort)
    [ "$packaged" = "$installed" ] ||
        problem "the package holds other files than expected:
$(diff <(echo "$installed") <(echo "$packaged") | grep '^[<>]')"
    for file in "${executables[@]}"; do
        grep -qE "^-rwxr-xr-x .* \./$file\$" <<<"$listing" ||
            problem "not executable in the package: $file"
    done

    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = rovedavu ] || problem "Package: $(field Package)"
    [ "$(field Version)" = "$version" ] || problem "Version: $(field Version)"
    [ "$(field Architecture)" = "$architecture" ] ||
        problem "Architecture: $(field Architecture)"
    [ "$(field Section)" = education ] || problem "Section: $(field Section)"
    [[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] ||
        problem "Maintainer: $(field Maintainer)"
    [ "$(field Description | wc -l)" -ge 2 ] || problem "no long description"
    # Depends entries without alternatives, as bare package names.
    depends=" $(field Depends | tr ',' '\n' | grep -v '|' | awk '{ print $1 }' | tr '\n' ' ')"
    for package in "${needed[@]}"; do
        [[ "$depends" == *" $package "* ]] || problem "Depends does not name $package"
    done

    # lintian finds nothing to warn about: every tag it gives at the levels error and warning
    # is a problem.
    if command -v lintian >/dev/null; then
        while IFS= read -r tag; do
            problem "lintian: $tag"
        done < <(lintian --fail-on none "$deb" 2>&1 |
            grep -E '^[EW]: ')
    else
        problem "lintian is not installed"
    fi
else
    problem "no package $deb"
fi

if [ "$problems" -ne 0 ]; then
    echo "check-package: $problems problem(s)" >&2
    exit 1
fi
echo "check-package: installed tree and $(basename "$deb") are complete"
