; The per-user installer: no elevation, the program in the user's local programs folder, a
; Start-menu shortcut, the user's Uninstall entry and, when chosen, the user's Run value.
; Built by scripts/package.sh, which passes:
;   VERSION   the program's version, read from its version resource
;   APP_EXE   the Screenshot.exe to install
;   APP_ICON  the program's icon
;   OUT_FILE  where the installer is written
;   SIDE_BITMAP  the 164 x 314 picture beside the finish page
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Screenshot"
!define PUBLISHER "Screenshot"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Screenshot"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The running program: its main window and the mutex it holds while it runs.
!define MAIN_CLASS "UIMainWnd"
!define MAIN_TITLE "Screenshot   "
!define INSTANCE_MUTEX "Screenshot_87E5B883-BE25-4248-8B72-AC1981F0FFEE"

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
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Ends a running copy the way the user would (its main window is closed, so it saves and
; reports what it must), then waits until the process is gone: its file can be replaced or
; removed only then. Gives up after about ten seconds, for instance while a capture is open.
!macro DEFINE_CLOSE_RUNNING prefix
Function ${prefix}CloseRunningCopy
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
    ${If} $0 <> 0
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ${EndIf}
    StrCpy $1 0
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p.r2'
        ${If} $2 = 0
            Return
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r2)'
        IntOp $1 $1 + 1
        ${If} $1 > 50
            MessageBox MB_ICONSTOP "截图工具仍在运行，请先退出它，然后重试。" /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
        Sleep 200
    ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING ""
!insertmacro DEFINE_CLOSE_RUNNING "un."

Section "截图工具" SecProgram
    SectionIn RO
    Call CloseRunningCopy
    SetOutPath "$INSTDIR"
    ; config.json and the pictures are the user's: an upgrade never touches them.
    File "/oname=Screenshot.exe" "${APP_EXE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
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

Function .onInit
    ; "Start with Windows" stays as an earlier install left it; "/AUTOSTART" ticks it for a
    ; silent install.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/AUTOSTART" $2
    ${If} $0 != ""
    ${OrIfNot} ${Errors}
        SectionSetFlags ${SecStartWithWindows} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function .onInstSuccess
    ; The finish page offers the start; a silent install starts the program itself.
    ${If} ${Silent}
        Exec '"$INSTDIR\Screenshot.exe" firstrun_after_setup'
    ${EndIf}
FunctionEnd

Section "un.截图工具" UnSecProgram
    SectionIn RO
    Call un.CloseRunningCopy
    Delete "$INSTDIR\Screenshot.exe"
    ; What the program itself leaves beside it: a pending update and crash dumps.
    Delete "$INSTDIR\update.json"
    Delete "$INSTDIR\update.exe"
    Delete "$INSTDIR\crash_dump*.dmp"
    Delete "$INSTDIR\config.json.tmp"
    Delete "$INSTDIR\Uninstall.exe"
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

; Off by default: the settings and the pictures are kept. Only the pictures in the default
; folder are removed; a folder the user chose may hold other files of theirs.
Section /o "un.同时删除设置和默认文件夹中的截图" UnSecUserData
    Delete "$INSTDIR\config.json"
    Delete "$INSTDIR\config.json.bak"
    ; The default folder is under Pictures; older versions kept it in the temporary folder.
    SetShellVarContext current
    !insertmacro DeleteOwnPictures "$PICTURES\screenshot_pic"
    !insertmacro DeleteOwnPictures "$TEMP\screenshot_pic"
    ; The random machine code that usage events carry.
    Delete "$APPDATA\screenshot\app.id"
    RMDir "$APPDATA\screenshot"
SectionEnd

Section "-un.Folder"
    ; Removed only when nothing of the user's is left in it.
    RMDir "$INSTDIR"
SectionEnd
