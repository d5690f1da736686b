#!/usr/bin/env bash

# SPDX-FileCopyrightText: The Rovedavu authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# make-msi.sh EXE VERSION OUTDIR: the installer rovedavu-VERSION-x64.msi in OUTDIR, per machine,
# holding the program (without its debugging information) and its licence. Prints its path.
#
# wixl builds it from rovedavu.wxs; msibuild then sets the database's code page to 932 and
# puts in what wixl cannot write:
#   - the Japanese names: the product "ポルネア" (Apps & features) and the Start menu entry;
#   - the Start menu entry as a plain shortcut to the program: wixl makes every shortcut
#     advertised, which Windows would check, and repair from the MSI, at each start;
#   - a rebuilt MSI of the same version replaces the installed one too, instead of being
#     installed beside it (the upgrade's highest version is inclusive);
#   - the public property DATAFOLDER: when given, [General] DataFolder=<it> is written into
#     %ProgramData%\Rovedavu\rovedavu.conf. That component is permanent, so neither an
#     upgrade nor a removal takes the setting away, and an install without DATAFOLDER leaves
#     an existing file alone.
# Checks the result with msiinfo.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ $# -ne 3 ]; then
    echo "usage: $0 EXE VERSION OUTDIR" >&2
    exit 2
fi
exe=$1 version=$2 out=$(mkdir -p "$3" && cd "$3" && pwd)
msi="$out/rovedavu-$version-x64.msi"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The time in the program's header, as in the zip: the same rovedavu.exe in both.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}
x86_64-w64-mingw32-strip -o "$work/rovedavu.exe" "$exe"
{ printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' "$root/LICENSES/GPL-3.0-or-later.txt"; } \
    >"$work/LICENSE.txt"
cp "$root/assets/pictures/frog.ico" "$work/rovedavu.ico"
# wixl takes the sources' names relative to the folder it runs in.
(cd "$work" && wixl --arch x64 -D Version="$version" -D Program=rovedavu.exe \
    -D Licence=LICENSE.txt -D Icon=rovedavu.ico -o rovedavu.msi "$here/rovedavu.wxs")

# Tables written here are read in the database's code page; a line ends in CR LF.
idt() { sed 's/$/\r/' >"$work/$1.idt" && msibuild "$work/rovedavu.msi" -i "$work/$1.idt"; }
printf '\n\n932\t_ForceCodepage\n' | idt _ForceCodepage
# The summary's own code page and strings: Explorer shows its Subject as the file's title.
{
    printf 'PropertyId\tValue\ni2\tl255\n_SummaryInformation\tPropertyId\n'
    printf '1\t932\n3\t%s\n7\tx64;1041\n' "$(printf 'ポルネア' | iconv -t CP932)"
} | idt _SummaryInformation
printf '%s\n' 'IniFile	FileName	DirProperty	Section	Key	Value	Action	Component_' \
    's72	l255	S72	l96	l128	l255	i2	s72' 'IniFile	IniFile' \
    'DataFolder	ROVEDAVU.CON|rovedavu.conf	SETTINGSDIR	General	DataFolder	[DATAFOLDER]	0	Settings' |
    idt IniFile
upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/{\1}/p' "$here/rovedavu.wxs" | tr a-f A-F)
# Text given to SQL queries is UTF-8; msibuild stores it in the database's code page.
msibuild "$work/rovedavu.msi" -q "UPDATE Property SET Value = 'ポルネア' WHERE Property = 'ProductName'" \
    -q "UPDATE Shortcut SET Name = 'ROVEDAVU|ポルネア', Target = '[#rovedavu.exe]', Description = 'わり算の れんしゅう ドリル' WHERE Shortcut = 'StartMenuEntry'" \
    -q "UPDATE Property SET Value = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;DATAFOLDER' WHERE Property = 'SecureCustomProperties'" \
    -q "UPDATE Component SET Condition = 'DATAFOLDER', Attributes = 272 WHERE Component = 'Settings'" \
    -q "UPDATE LaunchCondition SET Description = 'これより新しいポルネアが、もうインストールされています。' WHERE Condition = 'NOT WIX_DOWNGRADE_DETECTED'" \
    -q "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'" \
    -q "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')" \
    -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('RemoveIniValues', 3800)" \
    -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('WriteIniValues', 5100)"

# What the queries should have left, read back.
check() { # TABLE TEXT
    msiinfo export "$work/rovedavu.msi" "$1" | grep -F "$2" >/dev/null ||
        { echo "$msi: the $1 table lacks: $2" >&2; exit 1; }
}
check _ForceCodepage $'932\t_ForceCodepage'
check Property $'ProductName\tポルネア'
check Property $'ProductVersion\t'"$version"
check Shortcut $'StartMenuEntry\tProgramMenuFolder\tROVEDAVU|ポルネア\tProgram\t[#rovedavu.exe]'
check Component $'Settings\t{8D0F2C36-5B7E-4A1F-9C43-6E2A71B0D5F5}\tSETTINGSDIR\t272\tDATAFOLDER'
check IniFile $'SETTINGSDIR\tGeneral\tDataFolder\t[DATAFOLDER]\t0\tSettings'
check InstallExecuteSequence $'WriteIniValues\t\t5100'
check Upgrade $'\t'"$version"$'\t\t513\t\tWIX_UPGRADE_DETECTED'
check LaunchCondition $'NOT WIX_DOWNGRADE_DETECTED\tこれより新しいポルネア'
msiinfo suminfo "$work/rovedavu.msi" | grep '^Template: x64;1041$' >/dev/null ||
    { echo "$msi: not marked for x64 and Japanese" >&2; exit 1; }
mv "$work/rovedavu.msi" "$msi"
echo "$msi"
