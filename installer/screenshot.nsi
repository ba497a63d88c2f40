; The per-user installer: no elevation, the program in the user's local programs folder, a
; Start-menu shortcut, the user's Uninstall entry and, when chosen, the user's Run value.
; Built by scripts/package.sh, which passes:
;   VERSION   the program's version, read from its version resource
;   APP_EXE   the Screenshot.exe to install
;   APP_ICON  the program's icon
;   OUT_FILE  where the installer is written
;   SIDE_BITMAP  the 164 x 314 picture beside the finish page
;   SIGN_COMMAND optional: signs the file it is given in place (scripts/sign_file.sh); the
;                setup and its uninstaller are then Authenticode-signed as they are made
;
; Run by the program as update.exe (it downloads the setup under that name and starts it with
; /PROOF=<token>, where the token names a mutex the program holds while it runs), the setup
; updates the copy in its own folder: it starts a copy of itself from a private folder at once and
; ends; that copy, given the token again, waits until the running program can end without losing
; anything, ends it, installs over it and starts the new version. Without that proof (a copy of
; the setup renamed update.exe, say) it is an ordinary setup.
;
; It never replaces a newer version of the program in the folder it installs into (an update
; neither) unless /DOWNGRADE is given.
;
; The program gets a folder of its own: a chosen folder of another name (the directory page or
; /D=) gets "\Screenshot" added, as Browse does. Only the updating copy (/UPDATE=, whose /D= is the
; running program's folder, a portable copy's too) and an upgrade of the folder recorded in the
; Uninstall entry install exactly where they are told. Where the setup made the folder, or it bears
; the program's name and already holds the program, it writes install.marker beside the program:
; the uninstaller deletes what the program leaves beside itself (update files, crash dumps,
; settings) only where that marker is, as in any other folder such files may be another program's.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "WordFunc.nsh"

!define PRODUCT "Screenshot"
!define PUBLISHER "Screenshot"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Screenshot"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The running program: its main window and the mutex it holds while it runs.
!define MAIN_CLASS "UIMainWnd"
!define MAIN_TITLE "Screenshot   "
!define INSTANCE_MUTEX "Screenshot_87E5B883-BE25-4248-8B72-AC1981F0FFEE"
; The running program's answer to this registered message: 0 busy, 1 ending with its window
; shown, 2 ending while hidden in the tray.
!define CLOSE_FOR_UPDATE "Screenshot.CloseForUpdate"
; Where the updating copy runs from: a folder of a random name in the user's temporary folder.
!define UPDATE_COPY_PREFIX "ScreenshotUpdate-"
; The mutex the running program holds while it runs: this prefix and the token it gives the setup
; (update/updater_proof.h).
!define UPDATE_PROOF_PREFIX "Screenshot.UpdateProof."
; Beside the program in a folder of its own (see above).
!define INSTALL_MARKER "install.marker"

!ifdef SIGN_COMMAND
!finalize '"${SIGN_COMMAND}" "%1"' = 0
!uninstfinalize '"${SIGN_COMMAND}" "%1"' = 0
!endif

Var UpdateMode    ; 1 in the copy that updates the program
Var UpdateRestart ; how that copy starts the new version: "shown", "tray", or "" when the
                  ; program had ended by itself (the user's exit is kept)
Var OwnFolder     ; 1 in the uninstaller when the folder holds the setup's marker

; Removes the folders earlier updates ran from (one still running keeps its files).
!macro REMOVE_UPDATE_COPIES
    FindFirst $0 $1 "$TEMP\${UPDATE_COPY_PREFIX}*"
    ${DoWhile} $1 != ""
        RMDir /r "$TEMP\$1"
        FindNext $0 $1
    ${Loop}
    FindClose $0
!macroend

Name "截图工具 ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Screenshot"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${APP_ICON}"
!define MUI_UNICON "${APP_ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_BITMAP}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Screenshot.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "firstrun_after_setup"
!define MUI_FINISHPAGE_RUN_TEXT "启动截图工具"

!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Ends a running copy the way the user would (its main window is closed, so it saves and
; reports what it must), then waits until its process is gone, not just its mutex: its file can
; be replaced or removed only then. Gives up after about ten seconds, for instance while a
; capture is open.
!macro DEFINE_CLOSE_RUNNING prefix
; Sets $4 to a handle to wait on of a running process started from $INSTDIR\Screenshot.exe, or to
; 0. Found by its image, not its window: a copy ending has let go of its window and mutex while
; its process still holds the file.
Function ${prefix}OpenProcessInFolder
    StrCpy $4 0
    System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p.r6'
    ${If} $6 = -1
        Return
    ${EndIf}
    ; PROCESSENTRY32W: its size, the process id third, the file name last.
    System::Call '*(&l4, i, i, p, i, i, i, i, i, &w260) p.r7'
    System::Call 'kernel32::Process32FirstW(p r6, p r7) i.r8'
    ${DoWhile} $8 <> 0
        System::Call '*$7(i, i, i .r9, p, i, i, i, i, i, &w260 .r5)'
        ${If} $5 == "Screenshot.exe"
            ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
            System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i r9) p.r3'
            ${If} $3 <> 0
                System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r5, *i ${NSIS_MAX_STRLEN}) i.r8'
                ${If} $8 <> 0
                ${AndIf} $5 == "$INSTDIR\Screenshot.exe"
                    StrCpy $4 $3
                    ${Break}
                ${EndIf}
                System::Call 'kernel32::CloseHandle(p r3)'
            ${EndIf}
        ${EndIf}
        System::Call 'kernel32::Process32NextW(p r6, p r7) i.r8'
    ${Loop}
    System::Free $7
    System::Call 'kernel32::CloseHandle(p r6)'
FunctionEnd

; Waits, ten seconds at most, until no process started from the folder's program runs.
Function ${prefix}WaitForProcessInFolder
    Call ${prefix}OpenProcessInFolder
    ${If} $4 <> 0
        System::Call 'kernel32::WaitForSingleObject(p r4, i 10000) i.r5'
        System::Call 'kernel32::CloseHandle(p r4)'
        ${If} $5 <> 0
            Call ${prefix}StillRunning
        ${EndIf}
    ${EndIf}
FunctionEnd

Function ${prefix}CloseRunningCopy
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
    ${If} $0 <> 0
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r3)'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r3) p.r4'
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
        ${If} $4 <> 0
            System::Call 'kernel32::WaitForSingleObject(p r4, i 10000) i.r5'
            System::Call 'kernel32::CloseHandle(p r4)'
            ${If} $5 <> 0
                Call ${prefix}StillRunning
            ${EndIf}
        ${EndIf}
    ${EndIf}
    ; A copy without a window (starting or ending) still holds its mutex, and one that let go
    ; of both is still a process.
    StrCpy $1 0
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p.r2'
        ${If} $2 = 0
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r2)'
        IntOp $1 $1 + 1
        ${If} $1 > 50
            Call ${prefix}StillRunning
        ${EndIf}
        Sleep 200
    ${Loop}
    Call ${prefix}WaitForProcessInFolder
FunctionEnd

Function ${prefix}StillRunning
    MessageBox MB_ICONSTOP "截图工具仍在运行，请先退出它，然后重试。" /SD IDOK
    SetErrorLevel 2
    Quit
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING ""
!insertmacro DEFINE_CLOSE_RUNNING "un."

; Adds "\Screenshot" to $INSTDIR unless its last part already is that name (in any case), so
; that the program and what it leaves beside itself never mix with a chosen folder's other files.
; The folder recorded by an earlier install is kept: an upgrade goes where the program is.
Function OwnInstallFolder
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} $0 == $INSTDIR
        Return
    ${EndIf}
    ; "D:\" and "D:\Tools\" end without a name.
    ${Do}
        StrCpy $0 $INSTDIR 1 -1
        ${If} $0 != "\"
            ${Break}
        ${EndIf}
        StrCpy $INSTDIR $INSTDIR -1
    ${Loop}
    ${GetFileName} $INSTDIR $0
    ${If} $0 != "${PRODUCT}"
        StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
    ${EndIf}
FunctionEnd

; Sets $0 to the version of the program in $INSTDIR when it is newer than this setup's and
; /DOWNGRADE was not given, else to "".
Function NewerInstalled
    StrCpy $0 ""
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/DOWNGRADE" $2
    ${IfNot} ${Errors}
    ${OrIfNot} ${FileExists} "$INSTDIR\Screenshot.exe"
        Return
    ${EndIf}
    ClearErrors
    ${GetFileVersion} "$INSTDIR\Screenshot.exe" $1
    ${If} ${Errors}
        Return
    ${EndIf}
    ${VersionCompare} "${VERSION}" $1 $2
    ${If} $2 == 2
        StrCpy $0 $1
    ${EndIf}
FunctionEnd

!define DOWNGRADE_TEXT "此文件夹中已安装较新的版本 $0，本安装程序的版本为 ${VERSION}。$\r$\n如确需换成旧版本，请以 /DOWNGRADE 参数运行安装程序。"

; Ends the setup, changing nothing, when it would replace a newer version.
Function RefuseDowngrade
    Call NewerInstalled
    ${If} $0 != ""
        MessageBox MB_ICONSTOP "${DOWNGRADE_TEXT}" /SD IDOK
        SetErrorLevel 4
        Quit
    ${EndIf}
FunctionEnd

; The directory page sets $INSTDIR from its field after this function, so the folder goes into
; the field (1019), where the user also sees it. A folder holding a newer version keeps the page.
Function DirectoryPageLeave
    Call OwnInstallFolder
    FindWindow $0 "#32770" "" $HWNDPARENT
    GetDlgItem $0 $0 1019
    SendMessage $0 ${WM_SETTEXT} 0 "STR:$INSTDIR"
    Call NewerInstalled
    ${If} $0 != ""
        MessageBox MB_ICONEXCLAMATION "${DOWNGRADE_TEXT}"
        Abort
    ${EndIf}
FunctionEnd

Section "截图工具" SecProgram
    SectionIn RO
    Call RefuseDowngrade
    Call CloseRunningCopy
    ; The folder is the program's own when this setup makes it, or when it bears the program's
    ; name and already holds the program (the default, or an earlier version's folder). An
    ; existing folder named so that holds other files only, or one of another name (a portable
    ; copy updated in place, an earlier install's choice), gets no marker.
    StrCpy $1 0
    ${GetFileName} $INSTDIR $0
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $1 1
    ${ElseIf} $0 == "${PRODUCT}"
    ${AndIf} ${FileExists} "$INSTDIR\Screenshot.exe"
        StrCpy $1 1
    ${EndIf}
    SetOutPath "$INSTDIR"
    ; config.json and the pictures are the user's: an upgrade never touches them.
    File "/oname=Screenshot.exe" "${APP_EXE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    ${If} $1 == 1
        FileOpen $0 "$INSTDIR\${INSTALL_MARKER}" w
        FileWrite $0 "Screenshot ${VERSION}: this folder is the program's own. Its uninstaller deletes$\r$\n"
        FileWrite $0 "the files the program writes here (update.json, update.exe, crash dumps and,$\r$\n"
        FileWrite $0 "when asked, config.json) only while this file is here.$\r$\n"
        FileClose $0
    ${EndIf}
    SetShellVarContext current
    CreateShortcut "$SMPROGRAMS\截图工具.lnk" "$INSTDIR\Screenshot.exe" "" "$INSTDIR\Screenshot.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "截图工具"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Screenshot.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecProgram} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    ; Off unless chosen: the program opens its main window at every start.
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
SectionEnd

Section /o "开机时启动" SecStartWithWindows
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\Screenshot.exe"'
SectionEnd

; $2: a token given on the command line. Sets $2 to 1 when the running program holds the mutex
; it names (update/updater_proof.h), else to 0.
Function CheckProof
    ${If} $2 == ""
        StrCpy $2 0
        Return
    ${EndIf}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${UPDATE_PROOF_PREFIX}$2") p.r3'
    StrCpy $2 0
    ${If} $3 <> 0
        System::Call 'kernel32::CloseHandle(p r3)'
        StrCpy $2 1
    ${EndIf}
FunctionEnd

; Started by the program as update.exe with its proof, $8: a copy of the setup in a private
; folder does the work, so that this one ends within the program's wait and its file can be
; deleted. The copy is given the proof too, and checks it again.
Function DetachUpdate
    !insertmacro REMOVE_UPDATE_COPIES
    System::Call 'ole32::CoCreateGuid(g .r2)'
    StrCpy $2 "$TEMP\${UPDATE_COPY_PREFIX}$2"
    ClearErrors
    CreateDirectory "$2"
    CopyFiles /SILENT "$EXEPATH" "$2\setup.exe"
    ${IfNot} ${Errors}
        Exec '"$2\setup.exe" /S /UPDATE=$8 /D=$EXEDIR'
    ${EndIf}
    Quit
FunctionEnd

; The updating copy: waits, ten minutes at most, until the running program can end without
; losing anything (no capture, dialog, pin or unwritten picture), and lets it end as its tray
; menu's exit does. Giving up changes nothing: the program's next start tries again.
Function CloseForUpdate
    System::Call 'user32::RegisterWindowMessageW(w "${CLOSE_FOR_UPDATE}") i.r3'
    StrCpy $1 0
    ${Do}
        FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
        ${If} $0 = 0
            ; Not running (a copy without its window yet holds the mutex: wait for it; one that
            ; let go of both may still be ending).
            System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p.r2'
            ${If} $2 = 0
                Call WaitForProcessInFolder
                Return
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r2)'
        ${Else}
            System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r4)'
            System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r4) p.r5'
            ; A capture keeps the window from answering: that is busy too (SMTO_ABORTIFHUNG).
            ; The time of asking: a request answered later than the wait is ignored.
            StrCpy $6 0
            System::Call 'kernel32::GetTickCount() i.r8'
            System::Call 'user32::SendMessageTimeoutW(p r0, i r3, p r8, p 0, i 2, i 2000, *p .r6) p.r7'
            ${If} $7 <> 0
            ${AndIf} $6 <> 0
                StrCpy $UpdateRestart "shown"
                ${If} $6 = 2
                    StrCpy $UpdateRestart "tray"
                ${EndIf}
                System::Call 'kernel32::WaitForSingleObject(p r5, i 30000) i.r8'
                System::Call 'kernel32::CloseHandle(p r5)'
                ${If} $8 = 0
                    Return
                ${EndIf}
                SetErrorLevel 3
                Quit
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r5)'
        ${EndIf}
        IntOp $1 $1 + 1
        ${If} $1 > 300
            SetErrorLevel 3
            Quit
        ${EndIf}
        Sleep 2000
    ${Loop}
FunctionEnd

Function .onInit
    ${GetParameters} $9
    ClearErrors
    ${GetOptions} $9 "/UPDATE=" $2
    ${IfNot} ${Errors}
        ; The updating copy, only while the program that started the setup runs.
        Call CheckProof
        ${If} $2 <> 1
            SetErrorLevel 5
            Quit
        ${EndIf}
        StrCpy $UpdateMode 1
        Call RefuseDowngrade
        Call CloseForUpdate
    ${Else}
        ; Update mode on the running program's proof only, never on the file's name.
        ${GetOptions} $9 "/PROOF=" $8
        StrCpy $2 $8
        Call CheckProof
        ${If} $2 = 1
            Call DetachUpdate
        ${EndIf}
        ; /D= or the default; the updating copy keeps its folder whatever its name.
        Call OwnInstallFolder
    ${EndIf}
    ; "Start with Windows" stays as an earlier install left it; "/AUTOSTART" ticks it for a
    ; silent install.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
    ClearErrors
    ${GetOptions} $9 "/AUTOSTART" $2
    ${If} $0 != ""
    ${OrIfNot} ${Errors}
        SectionSetFlags ${SecStartWithWindows} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function .onInstSuccess
    ; The finish page offers the start; a silent install starts the program itself, and an
    ; update starts it as it was: its window shown, or hidden in the tray.
    ${If} $UpdateMode == 1
        ${If} $UpdateRestart == "tray"
            Exec '"$INSTDIR\Screenshot.exe" firstrun_after_update start_in_tray'
        ${ElseIf} $UpdateRestart == "shown"
            Exec '"$INSTDIR\Screenshot.exe" firstrun_after_update'
        ${EndIf}
    ${ElseIf} ${Silent}
        Exec '"$INSTDIR\Screenshot.exe" firstrun_after_setup'
    ${EndIf}
FunctionEnd

Section "un.截图工具" UnSecProgram
    SectionIn RO
    Call un.CloseRunningCopy
    StrCpy $OwnFolder 0
    ${If} ${FileExists} "$INSTDIR\${INSTALL_MARKER}"
        StrCpy $OwnFolder 1
    ${EndIf}
    Delete "$INSTDIR\Screenshot.exe"
    Delete "$INSTDIR\Uninstall.exe"
    ; What the program itself leaves beside it (a pending update, crash dumps, a settings file
    ; being written), only from its own folder: elsewhere these names may be another program's.
    ${If} $OwnFolder == 1
        Delete "$INSTDIR\update.json"
        Delete "$INSTDIR\update.exe"
        Delete "$INSTDIR\crash_dump*.dmp"
        Delete "$INSTDIR\config.json.tmp"
    ${EndIf}
    !insertmacro REMOVE_UPDATE_COPIES
    SetShellVarContext current
    Delete "$SMPROGRAMS\截图工具.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Deletes only the program's own numbered pictures in folder, and the folder when nothing else
; is left in it.
!macro DeleteOwnPictures folder
    Delete "${folder}\????_????????_??????.png"
    Delete "${folder}\????_????????_??????.bmp"
    RMDir "${folder}"
!macroend

; Off by default: the settings and the pictures are kept ("/REMOVEDATA" chooses it for a silent
; uninstall). Only the pictures in the default folder are removed; a folder the user chose may
; hold other files of theirs.
Section /o "un.同时删除设置和默认文件夹中的截图" UnSecUserData
    ${If} $OwnFolder == 1
        Delete "$INSTDIR\config.json"
        Delete "$INSTDIR\config.json.bak"
    ${EndIf}
    ; The default folder is under Pictures; older versions kept it in the temporary folder.
    SetShellVarContext current
    !insertmacro DeleteOwnPictures "$PICTURES\screenshot_pic"
    !insertmacro DeleteOwnPictures "$TEMP\screenshot_pic"
    ; The random machine code that usage events carry.
    Delete "$APPDATA\screenshot\app.id"
    RMDir "$APPDATA\screenshot"
SectionEnd

Section "-un.Folder"
    Delete "$INSTDIR\${INSTALL_MARKER}"
    ; Removed only when nothing of the user's is left in it.
    RMDir "$INSTDIR"
SectionEnd

Function un.onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEDATA" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${UnSecUserData} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
