#!/usr/bin/env bash
# Draws the preview pictures with ImageMagick into resources/previews: one 600 x 400 PNG per
# preview button, named after the button's page and item ("312" for btnPreview3_12). Each
# shows the tweak's label, a before and after sketch, what the tweak does and where Windows
# keeps it. The PNGs are committed, so building needs no image tool; run this only to change
# them. Text needs a font package (fonts-dejavu-core).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/resources/previews"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

NS='...\Explorer\MyComputer\NameSpace'
ADV='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced'
UPOL='Software\Policies\Microsoft\Windows\Explorer'
NT='HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion'

# The "What it does" line is the catalogue's explanation column, as `vlk show --explain --json`
# of the build machine's vlk (vlk_host, native build) prints it: the tooltips show the same text.
(cd "$root" && cmake --preset native >/dev/null && cmake --build --preset native --target vlk_host >/dev/null)
declare -A whatItDoes
while IFS='|' read -r key text; do
    whatItDoes[$key]=$text
done < <("$root/build/native/app/vlk/vlk_host" show --explain --json | python3 -c '
import json, re, sys
for t in json.load(sys.stdin)["tweaks"]:
    number = re.sub("^[a-z]+", "", t["control"])  # "1_4" for chb1_4; drive boxes have two "_"
    if number.count("_") == 1:
        print(number.replace("_", "") + "|" + t["what"])
')

# name | page | label | before | after | where Windows keeps it
rows=$(cat <<ROWS
00|This PC|Recycle Bin|This PC: drives and folders|This PC: ... + Recycle Bin|HKCU and HKLM $NS\{645FF040-5081-101B-9F08-00AA002F954E}
01|This PC|All Control Panel Items|This PC: drives and folders|This PC: ... + All Control Panel Items|HKCU and HKLM $NS\{21EC2020-3AEA-1069-A2DD-08002B30309D}
02|This PC|Run|This PC: drives and folders|This PC: ... + Run|HKCU and HKLM $NS\{2559A1F3-21D7-11D4-BDAF-00C04F60B9F0}
03|This PC|Switch between windows|This PC: drives and folders|This PC: ... + Switch between windows|HKCU and HKLM $NS\{3080F90E-D7AD-11D9-BD98-0000947B0257}
04|This PC|Administrative Tools|This PC: drives and folders|This PC: ... + Administrative Tools|HKCU and HKLM $NS\{D20EA4E1-3957-11D2-A40B-0C5020524153}
05|This PC|Network Connections|This PC: drives and folders|This PC: ... + Network Connections|HKCU and HKLM $NS\{7007ACC7-3202-11D1-AAD2-00805FC1270E}
06|This PC|Printers|This PC: drives and folders|This PC: ... + Printers|HKCU and HKLM $NS\{2227A280-3AEA-1069-A2DE-08002B30309D}
07|This PC|Hide 3D Objects folder|This PC: 3D Objects, Desktop, ...|This PC: Desktop, ...|HKLM $NS\{0DB7E03F-FC29-4DC6-9020-FF41B59E513A} (deleted)
08|This PC|Hide Desktop folder|This PC: Desktop, Documents, ...|This PC: Documents, ...|HKLM $NS\{B4BFCC3A-DB2C-424C-B029-7FE99A87C641} (deleted)
09|This PC|Hide Documents folder|This PC: Documents, Downloads, ...|This PC: Downloads, ...|HKLM $NS\{d3162b92-9365-467a-956b-92703aca08af} (deleted)
010|This PC|Hide Downloads folder|This PC: Downloads, Music, ...|This PC: Music, ...|HKLM $NS\{088e3905-0323-4b02-9826-5d99428e115f} (deleted)
011|This PC|Hide Music folder|This PC: Music, Pictures, ...|This PC: Pictures, ...|HKLM $NS\{3dfdf296-dbec-4fb4-81d1-6a3438bcf4de} (deleted)
012|This PC|Hide Pictures folder|This PC: Pictures, Videos, ...|This PC: Videos, ...|HKLM $NS\{24ad3ad4-a569-4530-98e1-ab02f9417aa8} (deleted)
013|This PC|Hide Videos folder|This PC: Videos, Local Disk (C:)|This PC: Local Disk (C:)|HKLM $NS\{f86fa3ab-70d2-4fc7-9c99-fcbf05467f3a} (deleted)
10|Taskbar|Turn off thumbnail live preview|Pointing at a thumbnail shows that window full size|The thumbnail alone; other windows stay put|$ADV, DisablePreviewWindow = 1
11|Taskbar|Disable the system tray|Taskbar: icons next to the clock|Taskbar: clock only, no tray icons|HKCU (HKLM) ...\Policies\Explorer, NoTrayItemsDisplay = 1
12|Taskbar|Taskbar thumbnail delay time|Thumbnail appears after 400 ms|Thumbnail appears after the time you set|$ADV, ExtendedUIHoverTime (milliseconds)
13|Taskbar|Taskbar thumbnail live preview delay time|Live preview after 1000 ms|Live preview after the time you set|$ADV, ThumbnailLivePreviewHoverTime (ms)
14|Taskbar|Show seconds on taskbar clock|Clock: 10:42|Clock: 10:42:07|$ADV, ShowSecondsInSystemClock = 1
20|Context menu|Copy To|Right-click menu: Cut, Copy, Delete|Right-click menu: ... Copy To folder...|HKCR\AllFilesystemObjects\shellex\ContextMenuHandlers\{C2FBB630-...}
21|Context menu|Move To|Right-click menu: Cut, Copy, Delete|Right-click menu: ... Move To folder...|HKCR\AllFilesystemObjects\shellex\ContextMenuHandlers\{C2FBB631-...}
22|Context menu|Open with Notepad for all files|Right-click menu: Open, Open with|Right-click menu: ... Open with Notepad|HKCR\*\shell\Open with Notepad\command = notepad.exe %1
23|Context menu|Take Ownership|Right-click menu: Open, Properties|Right-click menu: ... Take Ownership|HKCR\*\shell\runas\command
30|System|Disable aero shake|Shaking a window minimises all others|Shaking a window does nothing|HKCU\\$UPOL, NoWindowMinimizingShortcuts = 1
31|System|Add GodMode folder to the desktop|Desktop|Desktop + GodMode folder|Desktop folder GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}
32|System|Stop Windows from adding "- Shortcut" to shortcut file names|New shortcut: Notes.txt - Shortcut|New shortcut: Notes.txt|HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer, link = 00 00 00 00
33|System|Use verbose boot messages|Start-up: Please wait|Start-up: Applying computer settings...|HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Policies\System, VerboseStatus = 1
34|System|Restore previous volume control|Volume: the Windows 10 slider|Volume: the classic vertical slider|$NT\MTCUVC, EnableMtcUvc = 0
35|System|Hide Action Center|Taskbar: clock and Action Center button|Taskbar: clock only|HKLM\SOFTWARE\Policies\Microsoft\Windows\Explorer, DisableNotificationCenter = 1
36|System|Remove OneDrive from File Explorer|Navigation pane: OneDrive, This PC|Navigation pane: This PC|HKCR\CLSID\{018D5C66-4533-4307-9B53-224DE2ED1FE6}, System.IsPinnedToNameSpaceTree = 0
37|System|Disable Cortana|Search box: Cortana|Search box: search only|HKCU (HKLM) Software\Policies\Microsoft\Windows\Windows Search, AllowCortana = 0
38|System|Disable Lock Screen|Start: lock screen, then sign-in|Start: sign-in at once|HKLM\SOFTWARE\Policies\Microsoft\Windows\Personalization, NoLockScreen = 1
39|System|Paint Windows version onto the desktop|Desktop: wallpaper only|Desktop: Windows 10 Pro, Build 19045|HKCU\Control Panel\Desktop, PaintDesktopVersion = 1
310|System|Add previous calculator|Calculator: the Store app|Calculator: the classic calc1.exe|System32\calc1.exe; HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\calc.exe
311|System|Disable "Look for an app in the Microsoft Store" item|Open with: Look for an app in the Store|Open with: installed apps only|HKCU (HKLM) \\$UPOL, NoUseStoreOpenWith = 1
312|System|Registered owner|winver: This product is licensed to: User|winver: ...licensed to: the name you enter|$NT, RegisteredOwner
313|System|Registered organization|winver: organization empty|winver: the organization you enter|$NT, RegisteredOrganization
41|Security|Enable secure log on CTRL+ALT+DELETE|Sign-in screen at once|Press Ctrl+Alt+Delete to sign in|$NT\Winlogon, DisableCAD = 0
42|Security|Disable Windows Script Host|Double-click a .vbs or .js file: it runs|Double-click: Windows Script Host is disabled|HKCU\Software\Microsoft\Windows Script Host\Settings, Enabled = 0
50|Privacy|Disable Compatibility telemetry|Task: Microsoft Compatibility Appraiser runs|Task: disabled|Task Scheduler: \Microsoft\Windows\Application Experience\Microsoft Compatibility Appraiser
51|Privacy|Disable Bing search in start menu|Start search: apps, files and Bing results|Start search: apps and files only|HKCU\\$UPOL, DisableSearchBoxSuggestions = 1
ROWS
)

# text SIZE FONT POINTS COLOUR TEXT NAME: a block of wrapped text ("%" and "\" doubled, as
# caption: reads them as the start of an escape).
text() {
    local escaped=${5//\\/\\\\}
    convert -background none -size "$1" -font "$2" -pointsize "$3" -fill "$4" \
        caption:"${escaped//%/%%}" \
        "$work/text.png"
    cp "$work/text.png" "$work/$6.png"
}

count=0
while IFS='|' read -r name page label before after where; do
    [[ -z "$name" ]] && continue
    what=${whatItDoes[$name]:?"no explanation in the catalogue for preview $name"}
    text 560x56 DejaVu-Sans-Bold 24 white "$label" title
    text 230x90 DejaVu-Sans 15 '#202020' "$before" before
    text 230x90 DejaVu-Sans 15 '#202020' "$after" after
    text 560x44 DejaVu-Sans 16 '#202020' "$what" what
    text 560x44 DejaVu-Sans-Mono 13 '#1f3f7f' "$where" where
    convert -size 600x400 xc:white \
        -fill '#1f5fbf' -draw 'rectangle 0,0 599,79' \
        -fill '#cfe0f8' -font DejaVu-Sans -pointsize 13 -annotate +20+16 "$page page" \
        "$work/title.png" -geometry +20+20 -composite \
        -fill '#f0f0f0' -stroke '#9a9a9a' -draw 'roundrectangle 20,100 270,230 8,8' \
        -fill '#e6f4ea' -stroke '#2e8b57' -draw 'roundrectangle 330,100 580,230 8,8' \
        -stroke none -fill '#606060' -pointsize 14 -annotate +30+120 'Before' \
        -fill '#2e8b57' -annotate +340+120 'After' \
        -fill '#1f5fbf' -draw 'polygon 280,155 310,155 310,145 325,165 310,185 310,175 280,175' \
        "$work/before.png" -geometry +30+130 -composite \
        "$work/after.png" -geometry +340+130 -composite \
        -fill '#606060' -pointsize 13 -annotate +20+262 'What it does' \
        "$work/what.png" -geometry +20+270 -composite \
        -fill '#606060' -annotate +20+334 'Where Windows keeps it' \
        "$work/where.png" -geometry +20+342 -composite \
        +dither -colors 16 "PNG8:$out/$name.png"
    count=$((count + 1))
done <<<"$rows"
echo "$count previews written to $out"
